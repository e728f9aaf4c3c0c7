#include "Temporaries.h"

#include "HiddenName.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

// A temporary's name: the target's hidden name with this suffix, its X's a tag of
// TAG_LETTERS.
constexpr std::string_view TEMPORARY_SUFFIX = ".XXXXXX.tmp";
constexpr std::string_view TAG_LETTERS = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr size_t TAG_LENGTH = 6;
// Where the tag starts, counted back from the end of a temporary's name.
constexpr size_t TAG_FROM_END = TEMPORARY_SUFFIX.size() - 1;

// Whether entry is the name of a temporary whose pattern's name is patternName.
bool isTemporary(std::string_view entry, std::string_view patternName) {
    if (entry.size() != patternName.size()) {
        return false;
    }
    const size_t at = entry.size() - TAG_FROM_END;
    for (size_t i = 0; i < entry.size(); ++i) {
        const bool tag = i >= at && i < at + TAG_LENGTH;
        if (tag ? TAG_LETTERS.find(entry[i]) == std::string_view::npos
                : entry[i] != patternName[i]) {
            return false;
        }
    }
    return true;
}

// Removes the temporary called name in the folder open as folder if its writer is gone: a
// writer holds a lock on its temporary as long as it lives.
void removeIfLeftOver(int folder, const char* name) {
    const int fd = openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat opened {};
    struct stat named {};
    if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == opened.st_dev &&
        named.st_ino == opened.st_ino) {
        unlinkat(folder, name, 0);
    }
    close(fd);
}

} // namespace

std::string temporaryPattern(const std::string& folder, std::string_view name) {
    return folder + "/" + hiddenNameBeside(name, TEMPORARY_SUFFIX, longestNameIn(folder));
}

std::string withFreshTag(std::string pattern) {
    static std::atomic<unsigned> counter{0};
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    // splitmix64 over the time, the process and a count, so that near calls differ widely.
    uint64_t tag =
        (static_cast<uint64_t>(now.tv_nsec) ^ (static_cast<uint64_t>(getpid()) << 32) ^ counter++) +
        0x9e3779b97f4a7c15u;
    tag = (tag ^ (tag >> 30)) * 0xbf58476d1ce4e5b9u;
    tag = (tag ^ (tag >> 27)) * 0x94d049bb133111ebu;
    tag ^= tag >> 31;
    const size_t at = pattern.size() - TAG_FROM_END;
    for (size_t i = 0; i < TAG_LENGTH; ++i, tag /= TAG_LETTERS.size()) {
        pattern[at + i] = TAG_LETTERS[tag % TAG_LETTERS.size()];
    }
    return pattern;
}

bool lockAsOwn(int fd, const std::string& path) {
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return errno != EWOULDBLOCK;
    }
    struct stat opened {};
    struct stat named {};
    return fstat(fd, &opened) == 0 && lstat(path.c_str(), &named) == 0 &&
           named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

void removeLeftOverTemporaries(const std::string& folder, std::string_view name) {
    const std::string patternName = hiddenNameBeside(name, TEMPORARY_SUFFIX, longestNameIn(folder));
    DIR* entries = opendir(folder.c_str());
    if (entries == nullptr) {
        return;
    }
    // readdir_r is deprecated, and this stream is read by this call alone.
    // cppcheck-suppress readdirCalled
    while (const dirent* entry = readdir(entries)) {
        if (isTemporary(entry->d_name, patternName)) {
            removeIfLeftOver(dirfd(entries), entry->d_name);
        }
    }
    closedir(entries);
}
