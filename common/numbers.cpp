// The checkers' numbers.
#include "numbers.h"

#include <algorithm>
#include <cctype>

namespace {

bool digits(std::string_view part) {
    return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) {
        return isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

} // namespace

bool isDecimal(std::string_view text) {
    const size_t point = text.find('.');
    return point == std::string_view::npos
               ? digits(text)
               : digits(text.substr(0, point)) && digits(text.substr(point + 1));
}

size_t wholeNumber(std::string_view text, size_t most) {
    if (!digits(text)) {
        return 0;
    }
    size_t value = 0;
    for (const char c : text) {
        value = value * 10 + static_cast<size_t>(c - '0');
        if (value > most) {
            return 0;
        }
    }
    return value;
}
