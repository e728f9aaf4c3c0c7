#ifndef COMMON_PATHPARTS_H
#define COMMON_PATHPARTS_H

#include <string>
#include <string_view>

// A path cut at its last '/': the folder it names and the name in that folder.

// Where the name in path begins: behind its last '/', or at 0 for a bare name.
inline size_t nameStart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// The name part of path: what follows its last '/'.
inline std::string_view nameOf(std::string_view path) {
    return path.substr(nameStart(path));
}

// The folder part of path, to open or ask about: "." for a bare name, "/" for a name at the root,
// else what comes before the last '/'.
inline std::string folderOf(std::string_view path) {
    const size_t name = nameStart(path);
    if (name == 0) {
        return ".";
    }
    return std::string(name == 1 ? path.substr(0, 1) : path.substr(0, name - 1));
}

#endif
