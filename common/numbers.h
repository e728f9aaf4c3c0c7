#ifndef COMMON_NUMBERS_H
#define COMMON_NUMBERS_H

// The one form of a number on every command line: decimal digits, no sign, blank, exponent,
// hexadecimal or octal form (a leading 0 is a decimal digit like any other), nothing after them.

#include <optional>
#include <string_view>

// The whole number text holds, from least to most; nothing when it holds none in that range.
std::optional<unsigned long long> readWhole(std::string_view text, unsigned long long least,
                                            unsigned long long most);

// The seconds text holds, digits with at most one '.' between digits, above 0 and at most most;
// nothing when it holds no such number.
std::optional<double> readSeconds(std::string_view text, double most);

#endif
