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

// The lock file of the register file at path: ".NAME.lock" beside it.
std::string lockFileOf(const std::string& path) {
    const size_t name = nameAt(path);
    return path.substr(0, name) + "." + path.substr(name) + ".lock";
}

} // namespace

SessionLock::~SessionLock() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

SessionLock::Result SessionLock::take(const char* path) {
    std::string target;
    if (!resolveLinks(path, target)) {
        const int failure = errno;
        path_ = lockFileOf(path); // named for the message, beside the link that leads nowhere
        errno = failure;
        return Result::failed;
    }
    path_ = lockFileOf(target);
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
