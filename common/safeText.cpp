// Safe text for the results.
#include "safeText.h"

#include <algorithm>

size_t utf8Length(std::string_view text) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned low = 0x80; // the bounds of the second byte, which rule out the bad forms
    unsigned high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (size_t i = 2; i < length; i++) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

std::string printable(std::string_view line) {
    std::string shown;
    while (!line.empty()) {
        const size_t length = utf8Length(line);
        const auto c = static_cast<unsigned char>(line.front());
        if (length > 1) {
            shown.append(line.substr(0, length));
        } else {
            shown += length == 0 || (c < 0x20 && c != '\t') || c == 0x7f ? '?' : line.front();
        }
        line.remove_prefix(length > 1 ? length : 1);
    }
    return shown;
}

std::string shown(std::string_view text) {
    std::string lines;
    for (;;) {
        const size_t end = text.find('\n');
        std::string line = printable(text.substr(0, end));
        std::replace(line.begin(), line.end(), '\t', '?');
        lines += line;
        if (end == std::string_view::npos) {
            return lines;
        }
        lines += '\n';
        text.remove_prefix(end + 1);
    }
}
