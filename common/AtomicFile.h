#ifndef COMMON_ATOMICFILE_H
#define COMMON_ATOMICFILE_H

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/types.h>

// Replaces a file's content in one step: the new content is written to a file of its own in the
// same folder, flushed to the disk, and renamed over the old file, and the folder is synced.
// Killed at any instant, the file holds its old content or the whole new one; a failed write
// leaves the old file as it was and no temporary file behind.
//
// Where it can, the new content is written to an unnamed file (O_TMPFILE) that gets its name
// only once it is complete; elsewhere to a hidden file beside the file from the start. Either
// way the temporary's name is ".NAME.XXXXXX.tmp" (X a tag of digits and lower-case letters;
// shortened with a hash for a long NAME, see hiddenNameBeside), and while it has a name every
// signal that would end the program is held back, so that the program ends only once the
// temporary is renamed or removed. Only SIGKILL cannot be held back: a writer holds a lock on its
// temporary while it lives, and a temporary of NAME whose lock can be had is left over from a
// killed writer and is removed by the next replacement of NAME.
//
// What users of the file rely on is kept: the new file gets the old one's permission bits (a new
// file gets 0666 less the umask, as fopen gives); a path that is a symbolic link stays a link and
// the file it leads to is replaced; a path that names something other than a regular file (a
// device such as /dev/null, a FIFO) is written in place, since it cannot be replaced.
class AtomicFile {
  public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile(); // discards what was not committed

    // Starts the new content of the file at path; false, with errno set, when it cannot be
    // written there (no such folder, no permission, too many links).
    bool open(const char* path);

    // Where to write the new content, once open() succeeded.
    std::FILE* stream() const {
        return stream_;
    }

    // Whether path, its links followed, names the very file that will be replaced (the same
    // file under another name, or a link to it either way), so that a caller can refuse to
    // replace the file it reads from. False when the target does not exist yet or path cannot be
    // examined. Answers for the last successful open().
    bool sameFileAs(const char* path) const;

    // Puts the new content in place; false, with errno set, when any of it failed to reach the
    // disk or the rename failed: the old file is then as it was. (Should the folder alone fail to
    // sync after the rename, the new content is in place but false still says it may not
    // survive a power loss.) The content is discarded either way: a retry starts with open().
    bool commit();

  private:
    bool openInPlace();
    bool openTemporary(mode_t mode);
    int openNamedTemporary();
    bool nameUnnamedFile(int fd);
    void holdSignals();
    void releaseSignals();
    void discard();

    std::FILE* stream_ = nullptr;
    std::string target_;
    std::string folder_;
    std::string temporary_; // the hidden file's name; empty for an unnamed file
    bool inPlace_ = false;
    bool unnamed_ = false;
    bool holding_ = false; // signals are held back, and heldFrom_ is the mask to go back to
    sigset_t heldFrom_{};
    bool targetExists_ = false; // and then its identity:
    dev_t targetDevice_ = 0;
    ino_t targetInode_ = 0;
};

// The file that path leads to: path with its symbolic links followed, whether or not that file
// exists. False, with errno set, when a link cannot be read or the links loop. (It is the file
// AtomicFile::open would replace.)
bool resolveLinks(const char* path, std::string& target);

#endif
