#include "AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

// More links than this in a row are taken for a loop, as the kernel does.
constexpr int kMostLinks = 40;

// The folder part of path: "." for a bare name.
std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The name part of path.
std::string nameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows path while it is a symbolic link; exists tells whether the file it ends at is there,
// and info describes it. False, with errno set, when a link cannot be read or they loop.
bool followLinks(std::string& path, struct stat& info, bool& exists) {
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        if (lstat(path.c_str(), &info) != 0) {
            exists = false;
            return errno == ENOENT;
        }
        if (!S_ISLNK(info.st_mode)) {
            exists = true;
            return true;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t length = readlink(path.c_str(), link.data(), link.size());
        if (length < 0) {
            return false;
        }
        link.resize(static_cast<size_t>(length));
        if (link.front() != '/') {
            link.insert(0, folderOf(path) + "/");
        }
        path = link;
    }
    errno = ELOOP;
    return false;
}

// The permission bits fopen gives a new file: 0666 less the umask.
mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A name for a hidden temporary file beside target, different on every call.
std::string temporaryName(const std::string& folder, const std::string& name) {
    static std::atomic<unsigned> counter{0};
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const unsigned long tag = static_cast<unsigned long>(now.tv_nsec) ^
                              (static_cast<unsigned long>(getpid()) << 20) ^ counter++;
    return folder + "/." + name + "." + std::to_string(tag % 0xFFFFFFu);
}

// Whether an unnamed file can be given a name later: linkat() reaches it through /proc.
bool canNameUnnamedFiles() {
    return access("/proc/self/fd", X_OK) == 0;
}

// Makes the folder's entries durable: the rename is on the disk once this returns true.
bool syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // Some file systems cannot sync a folder and say EINVAL: there is nothing more to do there.
    const bool synced = fsync(fd) == 0 || errno == EINVAL;
    const int saved = errno;
    close(fd);
    errno = saved;
    return synced;
}

} // namespace

bool resolveLinks(const char* path, std::string& target) {
    target = path;
    struct stat info {};
    bool exists = false;
    return followLinks(target, info, exists);
}

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open(const char* path) {
    discard();
    if (path == nullptr || *path == '\0') {
        errno = ENOENT;
        return false;
    }
    target_ = path;
    struct stat info {};
    bool exists = false;
    if (!followLinks(target_, info, exists)) {
        return false;
    }
    folder_ = folderOf(target_);
    if (exists && !S_ISREG(info.st_mode)) {
        return openInPlace();
    }
    return openTemporary(exists ? (info.st_mode & 07777) : newFileMode());
}

// A device or FIFO cannot be replaced: it is written as fopen(path, "w") would.
bool AtomicFile::openInPlace() {
    stream_ = std::fopen(target_.c_str(), "w");
    inPlace_ = stream_ != nullptr;
    return inPlace_;
}

// Creates the file the new content goes to, in the target's folder, with the given mode.
bool AtomicFile::openTemporary(mode_t mode) {
    int fd = -1;
#ifdef O_TMPFILE
    if (canNameUnnamedFiles()) {
        fd = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        // Only a file system without unnamed files sends us to a named one.
        if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR) {
            return false;
        }
    }
#endif
    unnamed_ = fd >= 0;
    if (!unnamed_) {
        temporary_ = folder_ + "/." + nameOf(target_) + ".XXXXXX";
        fd = mkostemp(temporary_.data(), O_CLOEXEC);
        if (fd < 0) {
            temporary_.clear();
            return false;
        }
    }
    // The umask must not narrow an existing file's bits; mkostemp's 0600 must not either.
    if (fchmod(fd, mode) != 0 || (stream_ = fdopen(fd, "w")) == nullptr) {
        const int saved = errno;
        close(fd);
        discard();
        errno = saved;
        return false;
    }
    return true;
}

bool AtomicFile::commit() {
    if (stream_ == nullptr) {
        errno = EBADF;
        return false;
    }
    const int fd = fileno(stream_);
    bool written = std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
    // A device or FIFO may not sync (EINVAL); its bytes were handed over all the same.
    written = written && (fsync(fd) == 0 || (inPlace_ && errno == EINVAL));
    if (written && unnamed_) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        do {
            temporary_ = temporaryName(folder_, nameOf(target_));
            written = linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary_.c_str(),
                             AT_SYMLINK_FOLLOW) == 0;
        } while (!written && errno == EEXIST);
        if (!written) {
            temporary_.clear();
        }
    }
    int failure = written ? 0 : errno;
    if (std::fclose(stream_) != 0 && failure == 0) {
        failure = errno;
    }
    stream_ = nullptr;
    if (failure == 0 && !inPlace_) {
        if (rename(temporary_.c_str(), target_.c_str()) != 0) {
            failure = errno;
        } else {
            temporary_.clear();
            if (!syncFolder(folder_)) {
                failure = errno;
            }
        }
    }
    discard();
    errno = failure;
    return failure == 0;
}

// Closes and removes whatever was started and not put in place.
void AtomicFile::discard() {
    if (stream_ != nullptr) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
        temporary_.clear();
    }
    inPlace_ = false;
    unnamed_ = false;
}
