#include "employeeFields.h"

#include "Fields.h"
#include "utf8Scope.h"

#include <cstring>
#include <cwchar>
#include <cwctype>

namespace {

enum class Kind { none, letter, blank, joiner };

// What one character of a name is; none for anything a name cannot hold.
Kind kindOf(wchar_t character) {
    if (character == L' ') {
        return Kind::blank;
    }
    if (character == L'-' || character == L'\'') {
        return Kind::joiner;
    }
    return std::iswalpha(static_cast<wint_t>(character)) != 0 ? Kind::letter : Kind::none;
}

bool isAsciiDigits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// How many bytes of a valid name to keep: all of it when it fits, else up to the last character
// boundary within NAME_LENGTH, less the blanks and joiners the cut leaves at its end (ASCII bytes,
// which are never part of a longer character).
size_t keptLength(std::string_view name, size_t lastBoundary) {
    if (name.size() <= static_cast<size_t>(NAME_LENGTH)) {
        return name.size();
    }
    size_t kept = lastBoundary;
    while (kept > 0 && (name[kept - 1] == ' ' || name[kept - 1] == '-' || name[kept - 1] == '\'')) {
        --kept;
    }
    return kept;
}

} // namespace

std::string_view trimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

NameCheck readName(std::string_view text, char (&name)[NAME_LENGTH + 1]) {
    const std::string_view trimmed = trimBlanks(text);
    const Utf8Scope utf8;
    std::mbstate_t state{};
    Kind previous = Kind::none;
    bool hasLetter = false;
    size_t lastBoundary = 0;
    for (size_t at = 0; at < trimmed.size();) {
        wchar_t character = 0;
        const size_t length =
            std::mbrtowc(&character, trimmed.data() + at, trimmed.size() - at, &state);
        // 0 is a NUL byte; (size_t)-1 and -2 an invalid or unfinished sequence.
        if (length == 0 || length > trimmed.size() - at) {
            return NameCheck::notAName;
        }
        const Kind kind = kindOf(character);
        if (kind == Kind::none || (kind == Kind::joiner && previous != Kind::letter) ||
            (previous == Kind::joiner && kind != Kind::letter)) {
            return NameCheck::notAName;
        }
        hasLetter = hasLetter || kind == Kind::letter;
        previous = kind;
        at += length;
        if (at <= static_cast<size_t>(NAME_LENGTH)) {
            lastBoundary = at;
        }
    }
    if (!hasLetter || previous == Kind::joiner) {
        return NameCheck::notAName;
    }
    const size_t kept = keptLength(trimmed, lastBoundary);
    std::memcpy(name, trimmed.data(), kept);
    name[kept] = '\0';
    return kept < trimmed.size() ? NameCheck::cut : NameCheck::ok;
}

bool readWholeNumber(std::string_view text, int& value) {
    int parsed = 0;
    // parseInt32 also takes a leading '-', but whatever it reads with one is below 1.
    if (parseInt32(text, parsed) != IntegerText::ok || parsed < 1) {
        return false;
    }
    value = parsed;
    return true;
}

bool readSalary(std::string_view text, float& salary) {
    const size_t point = text.find_first_of(".,");
    const std::string_view whole = text.substr(0, point);
    const std::string_view cents = point == std::string_view::npos ? "" : text.substr(point + 1);
    if ((whole.empty() && cents.empty()) || cents.size() > 2 || !isAsciiDigits(whole) ||
        !isAsciiDigits(cents)) {
        return false;
    }
    // A whole part too large for an int is far above the maximum, and refused as such.
    int units = 0;
    if (!whole.empty() && parseInt32(whole, units) != IntegerText::ok) {
        return false;
    }
    long long amount = units;
    for (size_t place = 0; place < 2; ++place) {
        amount = amount * 10 + (place < cents.size() ? cents[place] - '0' : 0);
    }
    if (amount > HIGHEST_SALARY_CENTS) {
        return false;
    }
    salary = static_cast<float>(static_cast<double>(amount) / 100.0);
    return true;
}
