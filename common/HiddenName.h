#ifndef COMMON_HIDDENNAME_H
#define COMMON_HIDDENNAME_H

#include <string>
#include <string_view>

// The name of a hidden file that a program keeps beside the file called name: "." + name +
// suffix (".empleados.csv.lock" for empleados.csv and ".lock").
//
// A folder takes names of up to NAME_MAX (255) bytes, so that form does not fit beside every file
// it can hold. Where it would be longer, name is cut short (never inside a UTF-8 character) and
// '~' and the 16 hex digits of the FNV-1a hash of the whole name follow the cut, so that the
// hidden name still belongs to name alone: "." + cut name + "~" + hash + suffix, NAME_MAX bytes.
std::string hiddenNameBeside(std::string_view name, std::string_view suffix);

#endif
