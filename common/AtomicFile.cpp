#include "AtomicFile.h"

#include "PathParts.h"
#include "Temporaries.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// More links than this in a row are taken for a loop, as the kernel does.
constexpr int MOST_LINKS = 40;
// Tags tried before giving up on a folder crowded with names.
constexpr int MOST_TAGS = 100;

// Follows path while it is a symbolic link; exists tells whether the file it ends at is there,
// and info describes it. False, with errno set, when a link cannot be read or they loop.
bool followLinks(std::string& path, struct stat& info, bool& exists) {
    for (int hops = 0; hops <= MOST_LINKS; ++hops) {
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
    targetExists_ = false;
    if (!followLinks(target_, info, exists)) {
        return false;
    }
    targetExists_ = exists;
    targetDevice_ = info.st_dev;
    targetInode_ = info.st_ino;
    folder_ = folderOf(target_);
    if (exists && !S_ISREG(info.st_mode)) {
        return openInPlace();
    }
    removeLeftOverTemporaries(folder_, nameOf(target_));
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
    if (unnamed_) {
        // Locked before it gets a name in commit(), so that it is never taken for a left-over.
        flock(fd, LOCK_EX | LOCK_NB);
    } else {
        holdSignals();
        fd = openNamedTemporary();
        if (fd < 0) {
            const int saved = errno;
            releaseSignals();
            errno = saved;
            return false;
        }
    }
    // The umask must not narrow an existing file's bits; a named temporary's 0600 must not either.
    if (fchmod(fd, mode) != 0 || (stream_ = fdopen(fd, "w")) == nullptr) {
        const int saved = errno;
        close(fd);
        discard();
        errno = saved;
        return false;
    }
    return true;
}

// Creates a hidden temporary with a fresh name beside the target, locked as its own; its
// descriptor, or -1 with errno set.
int AtomicFile::openNamedTemporary() {
    const std::string pattern = temporaryPattern(folder_, nameOf(target_));
    for (int tries = 0; tries < MOST_TAGS; ++tries) {
        temporary_ = withFreshTag(pattern);
        const int fd =
            ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
        if (fd >= 0 && lockAsOwn(fd, temporary_)) {
            return fd;
        }
        // Another writer took the file for a left-over one and removes it: try another name.
        if (fd >= 0) {
            close(fd);
            errno = EEXIST;
        }
    }
    temporary_.clear();
    return -1;
}

// Holds back every signal that would end the program while a temporary has a name, so that the
// end comes once the temporary is renamed or removed. (Only SIGKILL cannot be held back; what
// it leaves goes with the next replacement of the file.)
void AtomicFile::holdSignals() {
    if (holding_) {
        return;
    }
    sigset_t ending;
    sigfillset(&ending);
    // Signals of a fault in the program itself cannot wait.
    for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS}) {
        sigdelset(&ending, fault);
    }
    holding_ = sigprocmask(SIG_BLOCK, &ending, &heldFrom_) == 0;
}

// Lets the held signals through: one that arrived meanwhile takes effect now.
void AtomicFile::releaseSignals() {
    if (holding_) {
        holding_ = false;
        sigprocmask(SIG_SETMASK, &heldFrom_, nullptr);
    }
}

bool AtomicFile::sameFileAs(const char* path) const {
    struct stat info {};
    return targetExists_ && path != nullptr && stat(path, &info) == 0 &&
           info.st_dev == targetDevice_ && info.st_ino == targetInode_;
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
        written = nameUnnamedFile(fd);
    }
    int failure = written ? 0 : errno;
    // The temporary's lock lasts as long as a descriptor of it is open: one is kept past the
    // close until the rename, so that nobody takes the temporary for a left-over meanwhile.
    const int keeper = inPlace_ ? -1 : dup(fd);
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
    if (keeper >= 0) {
        close(keeper);
    }
    discard();
    errno = failure;
    return failure == 0;
}

// Gives the unnamed file open as fd a temporary name beside the target, to be renamed over it;
// false, with errno set, when it cannot. From here on the temporary has a name: signals are held.
bool AtomicFile::nameUnnamedFile(int fd) {
    holdSignals();
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const std::string pattern = temporaryPattern(folder_, nameOf(target_));
    for (int tries = 0; tries < MOST_TAGS; ++tries) {
        temporary_ = withFreshTag(pattern);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    temporary_.clear();
    return false;
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
    releaseSignals();
    inPlace_ = false;
    unnamed_ = false;
}
