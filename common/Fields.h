#ifndef COMMON_FIELDS_H
#define COMMON_FIELDS_H

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <initializer_list>
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
    constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
    if (line.starts_with(BYTE_ORDER_MARK)) {
        line.remove_prefix(BYTE_ORDER_MARK.size());
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
    constexpr uint64_t HELD = uint64_t{1} << 40;
    uint64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return IntegerText::notInteger;
        }
        magnitude = std::min(magnitude * 10 + static_cast<uint64_t>(c - '0'), HELD);
    }
    const uint64_t limit = negative ? uint64_t{1} << 31 : uint64_t{INT_MAX};
    if (magnitude > limit) {
        return IntegerText::outOfRange;
    }
    value = static_cast<int>(negative ? -static_cast<int64_t>(magnitude)
                                      : static_cast<int64_t>(magnitude));
    return IntegerText::ok;
}

// Cuts line at its first commas into fields, no quoting (a comma always separates): the last field
// holds the rest of the line, commas and all, so that the caller decides whether a comma there is
// too many. The number of fields filled, fewer than fields.size() when the line has fewer commas;
// the slots past them keep what they held.
template <size_t N>
inline size_t splitAtCommas(std::string_view line, std::array<std::string_view, N>& fields) {
    static_assert(N > 0);
    const char* at = line.data();
    const char* const end = at + line.size();
    for (size_t count = 1; count < N; ++count) {
        // memchr, not a byte loop: the payroll parser splits a million lines with this.
        const auto* comma =
            at == end ? nullptr : static_cast<const char*>(std::memchr(at, ',', end - at));
        if (comma == nullptr) {
            fields[count - 1] = std::string_view(at, end - at);
            return count;
        }
        fields[count - 1] = std::string_view(at, comma - at);
        at = comma + 1;
    }
    fields[N - 1] = std::string_view(at, end - at);
    return N;
}

// The two refusals of a field meant to hold a 32-bit integer, made as the program is compiled (see
// integerRefusals), so that reporting a bad field needs no memory.
struct IntegerRefusals {
    static constexpr size_t ROOM = 128;
    char notInteger[ROOM]{};
    char outOfRange[ROOM]{};
};

// The refusals of the field called name, with its article ("el id"); plural makes the verb agree
// ("las horas trabajadas no son"): "NAME no es un entero" and "NAME está fuera del rango de
// -2147483648 a 2147483647". A name too long for the room does not compile.
consteval IntegerRefusals integerRefusals(std::string_view name, bool plural = false) {
    const auto write = [](char(&to)[IntegerRefusals::ROOM],
                          std::initializer_list<std::string_view> parts) {
        size_t at = 0;
        for (const std::string_view part : parts) {
            for (const char c : part) {
                to[at++] = c;
            }
        }
        to[at] = '\0';
    };
    IntegerRefusals refusals;
    write(refusals.notInteger, {name, plural ? " no son un entero" : " no es un entero"});
    write(refusals.outOfRange,
          {name, plural ? " están" : " está", " fuera del rango de -2147483648 a 2147483647"});
    return refusals;
}

// Reads text into value as parseInt32 does; nullptr when it holds a 32-bit integer, else the
// refusal of refusals that says why.
inline const char* readInt32(std::string_view text, int& value, const IntegerRefusals& refusals) {
    switch (parseInt32(text, value)) {
    case IntegerText::ok:
        return nullptr;
    case IntegerText::notInteger:
        return refusals.notInteger;
    case IntegerText::outOfRange:
        break;
    }
    return refusals.outOfRange;
}

#endif
