#include "HiddenName.h"

#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace {

// The 64-bit FNV-1a hash: simple enough to be had the same from any tool that needs the name.
uint64_t fnv1a64(std::string_view text) {
    uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    return hash;
}

} // namespace

std::string hiddenNameBeside(std::string_view name, std::string_view suffix, size_t longest) {
    if (1 + name.size() + suffix.size() <= longest) {
        std::string hidden = ".";
        return hidden.append(name).append(suffix);
    }
    char hash[1 + 16 + 1];
    std::snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(fnv1a64(name)));
    const size_t fixed = 1 + (sizeof hash - 1) + suffix.size();
    size_t cut = fixed < longest ? longest - fixed : 0; // less than name.size(): it is too long
    // A continuation byte (10xxxxxx) at the cut belongs to a character begun before it.
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    std::string hidden = ".";
    return hidden.append(name.substr(0, cut)).append(hash).append(suffix);
}

size_t longestNameIn(const std::string& folder) {
    const long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<size_t>(longest) : size_t{NAME_MAX};
}
