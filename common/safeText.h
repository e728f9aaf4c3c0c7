#ifndef SAFE_TEXT_H
#define SAFE_TEXT_H

// Text from the list, made safe to show in the results.

#include <cstddef>
#include <string>
#include <string_view>

// The length of the UTF-8 sequence that starts text (not empty), or 0 when it does not start
// one: a stray continuation byte, an overlong form, a surrogate, a cut sequence, a code point
// past U+10FFFF.
size_t utf8Length(std::string_view text);

// The line as a terminal, a TAP parser or an XML file may hold it: control characters (but tab)
// and bytes that are not UTF-8 become '?'.
std::string printable(std::string_view line);

// Text as a terminal shows it, line by line: its line ends kept, a tab and every other control
// character, and bytes that are not UTF-8, as '?'.
std::string shown(std::string_view text);

#endif
