#ifndef REGISTRO_SESSIONLOCK_H
#define REGISTRO_SESSIONLOCK_H

// One session per register file. The lock is an advisory flock on a lock file beside the register
// file (".empleados.csv.lock" for empleados.csv, beside the file its symbolic links lead to),
// made at the first session and left there. The register file itself cannot carry the lock: every
// save renames a new file over it, and a lock on the old one would not guard the new one. For a
// name too long to take ".NAME.lock" within a folder's limit, the lock file's name is cut and
// carries a hash of the whole name (see hiddenNameBeside).
//
// The lock file must be a regular file of its own: whatever else stands in its place (a folder,
// a FIFO, a socket, a device, a symbolic link) is refused at once, never waited on.

#include <string>

class SessionLock {
  public:
    enum class Result {
        held,   // this session holds the lock until it ends
        taken,  // another session holds it
        failed, // the lock file cannot be made or opened (reason() says why)
    };

    SessionLock() = default;
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;
    ~SessionLock(); // lets the lock go

    // Takes the lock for the register file at path. In a folder where the lock file cannot be
    // made (read-only), no session can save, so none needs the lock: held, with none taken.
    Result take(const char* path);

    // The lock file's name, once take() was called (beside path itself when its links could not
    // be followed).
    const std::string& path() const {
        return path_;
    }

    // Why take() failed, in words for the user.
    const std::string& reason() const {
        return reason_;
    }

  private:
    Result fail(const char* reason);

    int fd_ = -1;
    std::string path_;
    std::string reason_;
};

#endif
