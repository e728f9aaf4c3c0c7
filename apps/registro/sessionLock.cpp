#include "sessionLock.h"

#include "AtomicFile.h"
#include "HiddenName.h"
#include "PathParts.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* NOT_A_FILE = "no es un archivo común";

// Whether this process may make files in the folder of the file at path.
bool canWriteFolderOf(const std::string& path) {
    return access(folderOf(path).c_str(), W_OK) == 0;
}

// The lock file of the register file at path: ".NAME.lock" beside it, shortened where too long.
std::string lockFileOf(const std::string& path) {
    return path.substr(0, nameStart(path)) +
           hiddenNameBeside(nameOf(path), ".lock", longestNameIn(folderOf(path)));
}

} // namespace

SessionLock::~SessionLock() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

SessionLock::Result SessionLock::fail(const char* reason) {
    reason_ = reason;
    return Result::failed;
}

SessionLock::Result SessionLock::take(const char* path) {
    std::string target;
    if (!resolveLinks(path, target)) {
        const int failure = errno;
        path_ = lockFileOf(path); // named for the message, beside the link that leads nowhere
        return fail(std::strerror(failure));
    }
    path_ = lockFileOf(target);
    // Never waits: a FIFO opened without O_NONBLOCK would wait for a writer. A link is not
    // followed. Read access is enough for flock, and lets a lock file made by another user serve.
    fd_ = open(path_.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    struct stat info {};
    if (fd_ < 0) {
        const int failure = errno;
        if (lstat(path_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            return fail(NOT_A_FILE);
        }
        if ((failure == EROFS || failure == EACCES) && !canWriteFolderOf(path_)) {
            return Result::held;
        }
        return fail(std::strerror(failure));
    }
    if (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        return fail(NOT_A_FILE);
    }
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? Result::taken : fail(std::strerror(errno));
    }
    return Result::held;
}
