#ifndef COMMON_FIELDS_H
#define COMMON_FIELDS_H

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>

// Small readers for the fields of a line of a comma-separated file, shared by every program that
// reads one, so that a line means the same to all of them. Inline: the payroll parser calls them
// once a field on a million lines.

// Whether line holds nothing but blanks and tabs (or nothing at all).
inline bool isBlankLine(std::string_view line) {
    // Most lines start with something else: they are told apart without a search.
    if (!line.empty() && line.front() != ' ' && line.front() != '\t') {
        return false;
    }
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Whether line is header, allowing the UTF-8 byte order mark some editors put before it.
inline bool isHeaderLine(std::string_view line, std::string_view header) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (line.starts_with(kByteOrderMark)) {
        line.remove_prefix(kByteOrderMark.size());
    }
    return line == header;
}

// What parseInt32 found in a text.
enum class IntegerText {
    ok,
    notInteger, // not an optional '-' followed by digits
    outOfRange, // digits, but beyond -2147483648 .. 2147483647
};

// Reads a decimal 32-bit integer: an optional '-', then digits and nothing else (no '+', no
// blanks). value changes only when the answer is IntegerText::ok.
inline IntegerText parseInt32(std::string_view text, int& value) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return IntegerText::notInteger;
    }
    // Held at a bound far beyond any 32-bit magnitude, so that no number of digits wraps it.
    constexpr uint64_t kHeld = uint64_t{1} << 40;
    uint64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return IntegerText::notInteger;
        }
        magnitude = std::min(magnitude * 10 + static_cast<uint64_t>(c - '0'), kHeld);
    }
    const uint64_t limit = negative ? uint64_t{1} << 31 : uint64_t{INT_MAX};
    if (magnitude > limit) {
        return IntegerText::outOfRange;
    }
    value = static_cast<int>(negative ? -static_cast<int64_t>(magnitude)
                                      : static_cast<int64_t>(magnitude));
    return IntegerText::ok;
}

#endif
