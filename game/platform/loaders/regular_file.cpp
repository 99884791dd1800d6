#include "platform/loaders/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

std::optional<std::string> readRegularFile(const std::string& path, size_t maxBytes) {
    // Opening a FIFO for reading waits for a writer unless it is non-blocking.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info;
    std::optional<std::string> bytes;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && uintmax_t(info.st_size) <= maxBytes) {
        bytes.emplace();
        bytes->reserve(size_t(info.st_size));
        char chunk[16384];
        for (;;) {
            const ssize_t got = read(fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR) continue;
            // A file that grows while it is read is cut at the limit, not followed.
            if (got < 0 || bytes->size() + size_t(got) > maxBytes) {
                bytes.reset();
                break;
            }
            if (got == 0) break;
            bytes->append(chunk, size_t(got));
        }
    }
    close(fd);
    return bytes;
}
