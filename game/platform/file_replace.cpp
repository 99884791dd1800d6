#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace {

enum class Outcome {
    Written,
    NotPossibleHere, // no temporary file beside it, or no rename over it
    Failed,          // anything else, a full disk among them
};

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A file without any write permission was made read-only on purpose; the
// mode bits are asked as well, since for root access() allows everything.
bool writableOrMissing(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return errno == ENOENT;
    return (info.st_mode & 0222) != 0 && access(path.c_str(), W_OK) == 0;
}

bool writeAll(int fd, const std::string& text) {
    size_t written = 0;
    while (written < text.size()) {
        ssize_t n = pwrite(fd, text.data() + written, text.size() - written, off_t(written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += size_t(n);
    }
    return true;
}

Outcome replaceThroughTemporary(const std::string& path, const std::string& text) {
    std::string pattern = folderOf(path) + "/." + baseNameOf(path) + ".XXXXXX";
    std::vector<char> tempName(pattern.begin(), pattern.end());
    tempName.push_back('\0');
    int fd = mkstemp(tempName.data());
    if (fd < 0)
        return (errno == ENOSPC || errno == EDQUOT) ? Outcome::Failed : Outcome::NotPossibleHere;

    struct stat existing;
    mode_t mode = (stat(path.c_str(), &existing) == 0) ? (existing.st_mode & 07777) : 0644;
    bool ok = fchmod(fd, mode) == 0 && writeAll(fd, text) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    if (!ok) {
        std::remove(tempName.data());
        return Outcome::Failed;
    }
    if (std::rename(tempName.data(), path.c_str()) != 0) {
        std::remove(tempName.data());
        return Outcome::NotPossibleHere;
    }
    return Outcome::Written;
}

bool rewriteInPlace(const std::string& path, const std::string& text) {
    int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC); // an existing file only
    if (fd < 0) return false;
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const off_t oldSize = ok ? info.st_size : 0;
    const off_t newSize = off_t(text.size());
    // A full disk must fail here, before the first byte of the file changes.
    if (ok && newSize > oldSize && posix_fallocate(fd, 0, newSize) != 0) {
        // A claim that failed part way may have grown the file; its bytes are untouched.
        [[maybe_unused]] const int restored = ftruncate(fd, oldSize);
        ok = false;
    }
    ok = ok && writeAll(fd, text) && ftruncate(fd, newSize) == 0 && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    return ok;
}

} // namespace

bool replaceFileAtomically(const std::string& path, const std::string& text) {
    return writableOrMissing(path) && replaceThroughTemporary(path, text) == Outcome::Written;
}

bool replaceFile(const std::string& path, const std::string& text) {
    if (!writableOrMissing(path)) return false;
    switch (replaceThroughTemporary(path, text)) {
    case Outcome::Written:
        return true;
    case Outcome::NotPossibleHere:
        return rewriteInPlace(path, text);
    case Outcome::Failed:
        return false;
    }
    return false;
}
