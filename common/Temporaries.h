#ifndef COMMON_TEMPORARIES_H
#define COMMON_TEMPORARIES_H

#include <string>
#include <string_view>

// The temporary files in which AtomicFile writes a file's new content: their names, the lock a
// writer holds on its temporary while it lives, and the removal of the temporaries of writers
// that were killed (with SIGKILL, which nothing can hold back) before they could remove them.
//
// A temporary of NAME is called ".NAME.XXXXXX.tmp" (shortened with a hash for a long NAME, see
// hiddenNameBeside), each X a digit or a lower-case letter, and lies beside NAME.

// The path of a temporary of the file called name in folder, its tag still "XXXXXX".
std::string temporaryPattern(const std::string& folder, std::string_view name);

// pattern (from temporaryPattern) with a tag different on every call.
std::string withFreshTag(std::string pattern);

// Takes the lock on the temporary open as fd, at path, that tells it from a left-over one, and
// checks that path still names it (another writer could have taken it for a left-over one before
// the lock was had). False when it does not: take another name. Where the file system has no
// locks the temporary goes unlocked, and nobody can take it for a left-over one either.
bool lockAsOwn(int fd, const std::string& path);

// Removes every temporary of the file called name in folder whose lock can be had: its writer
// is gone. Best effort: what cannot be looked at stays.
void removeLeftOverTemporaries(const std::string& folder, std::string_view name);

#endif
