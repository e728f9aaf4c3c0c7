#include "numbers.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

bool digits(std::string_view part) {
    return !part.empty() &&
           std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::optional<unsigned long long> readWhole(std::string_view text, unsigned long long least,
                                            unsigned long long most) {
    if (!digits(text)) {
        return std::nullopt;
    }
    unsigned long long value = 0;
    for (const char c : text) {
        const auto digit = static_cast<unsigned long long>(c - '0');
        if (digit > most || value > (most - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value >= least ? std::optional(value) : std::nullopt;
}

std::optional<double> readSeconds(std::string_view text, double most) {
    const size_t point = text.find('.');
    const bool decimal = point == std::string_view::npos
                             ? digits(text)
                             : digits(text.substr(0, point)) && digits(text.substr(point + 1));
    if (!decimal) {
        return std::nullopt;
    }
    const double seconds = std::strtod(std::string(text).c_str(), nullptr);
    return seconds > 0 && seconds <= most ? std::optional(seconds) : std::nullopt;
}
