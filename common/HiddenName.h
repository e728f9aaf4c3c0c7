#ifndef COMMON_HIDDENNAME_H
#define COMMON_HIDDENNAME_H

#include <climits>
#include <cstddef>
#include <string>
#include <string_view>

// The name of a hidden file that a program keeps beside the file called name: "." + name +
// suffix (".empleados.csv.lock" for empleados.csv and ".lock").
//
// A folder takes names of up to longest bytes (NAME_MAX, 255, on most file systems), so that form
// does not fit beside every file it can hold. Where it would be longer, name is cut short (never
// inside a UTF-8 character) and '~' and the 16 hex digits of the FNV-1a hash of the whole name
// follow the cut, so that the hidden name still belongs to name alone: "." + cut name + "~" +
// hash + suffix, longest bytes.
std::string hiddenNameBeside(std::string_view name, std::string_view suffix,
                             size_t longest = NAME_MAX);

// The longest name the folder takes, as its file system says (NAME_MAX when it says nothing).
size_t longestNameIn(const std::string& folder);

#endif
