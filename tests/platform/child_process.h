// Test code run in a child process: a hang ends in a time-out instead of a
// test program that never returns, a crash is reported as one, and what the
// code changes in its process (mounts, limits, signals, permissions it drops)
// ends with the child.
#pragma once

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <ostream>
#include <thread>

enum class ChildEnd { Passed, Failed, Crashed, TimedOut };

inline std::ostream& operator<<(std::ostream& out, ChildEnd end) {
    const char* names[] = {"passed", "failed", "crashed", "timed out"};
    return out << names[int(end)];
}

// Runs body in a child process and waits at most limit for it. The child
// says what went wrong on stderr; body's result is its exit status.
inline ChildEnd runInChild(std::chrono::milliseconds limit, const std::function<bool()>& body) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return ChildEnd::Crashed;
    if (child == 0) {
        const bool passed = body();
        std::fflush(nullptr);
        _exit(passed ? 0 : 1);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) != child) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return ChildEnd::TimedOut;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!WIFEXITED(status)) return ChildEnd::Crashed;
    return WEXITSTATUS(status) == 0 ? ChildEnd::Passed : ChildEnd::Failed;
}

// For a child process only: makes folder read-only to it, all but the one
// file writableFile (inside folder, optional). Permissions do not stop root,
// so as root the folder is remounted read-only in a mount namespace of the
// child's own (the file first bound onto itself so that it keeps a writable
// mount), and the current folder is entered again on the new mount. Otherwise the folder's
// permissions do it, and the parent gives them back with restoreFolder. False when neither works.
inline bool makeFolderReadOnly(const std::filesystem::path& folder,
                               const std::filesystem::path& writableFile = {}) {
    if (geteuid() != 0) return chmod(folder.c_str(), 0555) == 0;
    if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return false;
    if (!writableFile.empty() &&
        mount(writableFile.c_str(), writableFile.c_str(), nullptr, MS_BIND, nullptr) != 0)
        return false;
    if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND | MS_REC, nullptr) != 0 ||
        mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
        return false;
    // A current folder inside stays on the mount below until it is entered anew.
    char here[4096];
    return getcwd(here, sizeof here) != nullptr && chdir(here) == 0;
}

inline void restoreFolder(const std::filesystem::path& folder) {
    if (geteuid() != 0) chmod(folder.c_str(), 0755);
}

// Whether makeFolderReadOnly works here (as root it needs the right to mount):
// tried on folder in a child, which must then fail to create a file in it.
inline bool folderCanBeMadeReadOnly(const std::filesystem::path& folder) {
    const ChildEnd end = runInChild(std::chrono::seconds(10), [&] {
        if (!makeFolderReadOnly(folder)) return false;
        const int fd = open((folder / "probe").c_str(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0) close(fd);
        return fd < 0;
    });
    restoreFolder(folder);
    return end == ChildEnd::Passed;
}
