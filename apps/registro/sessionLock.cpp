#include "sessionLock.h"

#include "AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Where the name of the file at path begins.
size_t nameAt(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// Whether this process may make files in the folder of the file at path.
bool canWriteFolderOf(const std::string& path) {
    const std::string folder = path.substr(0, nameAt(path));
    return access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

} // namespace

SessionLock::~SessionLock() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

SessionLock::Result SessionLock::take(const char* path) {
    std::string target;
    const bool resolved = resolveLinks(path, target);
    const int linkFailure = errno;
    if (!resolved) {
        target = path; // for the lock file's name in the message
    }
    path_ = target.substr(0, nameAt(target)) + "." + target.substr(nameAt(target)) + ".lock";
    if (!resolved) {
        errno = linkFailure;
        return Result::failed;
    }
    // Read access is enough for flock, and lets a lock file made by another user serve too.
    fd_ = open(path_.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        const int failure = errno;
        if ((failure == EROFS || failure == EACCES) && !canWriteFolderOf(path_)) {
            return Result::held;
        }
        errno = failure;
        return Result::failed;
    }
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? Result::taken : Result::failed;
    }
    return Result::held;
}
