#ifndef COMMON_NUMBERS_H
#define COMMON_NUMBERS_H

// The numbers every checker reads from its command line, in the one form they all take.

#include <cstddef>
#include <string_view>

// True when text is decimal digits with at most one '.' between digits: the only form of a
// number on the command line (no sign, exponent, blank, hexadecimal or "inf").
bool isDecimal(std::string_view text);

// The whole number text holds, from 1 to most; 0 when it holds none in that range or is not
// digits alone.
size_t wholeNumber(std::string_view text, size_t most);

#endif
