#include "sameLines.h"

#include <cstdio>
#include <string_view>
#include <vector>

namespace console {

namespace {

// The lines of text, each without its '\n'; a text ending in '\n' has an empty last line, so that
// a missing or extra line end is a difference too.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (size_t start = 0;;) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            return lines;
        }
        start = end + 1;
    }
}

// line in quotes with its unprintable bytes escaped; "(none)" past the last line.
std::string shown(const std::vector<std::string_view>& lines, size_t at) {
    if (at >= lines.size()) {
        return "(none)";
    }
    std::string out = "\"";
    for (const char c : lines[at]) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

::testing::AssertionResult sameLines(const char* actualText, const char* expectedText,
                                     const std::string& actual, const std::string& expected) {
    if (actual == expected) {
        return ::testing::AssertionSuccess();
    }
    const auto got = linesOf(actual);
    const auto wanted = linesOf(expected);
    size_t at = 0;
    while (at < got.size() && at < wanted.size() && got[at] == wanted[at]) {
        ++at;
    }
    auto failure = ::testing::AssertionFailure();
    failure << actualText << " differs from " << expectedText << " at line " << at + 1 << " of "
            << got.size() << " (expected " << wanted.size() << " lines)\n";
    if (at > 0) {
        failure << "  after:    " << shown(got, at - 1) << "\n";
    }
    return failure << "  actual:   " << shown(got, at) << "\n"
                   << "  expected: " << shown(wanted, at);
}

} // namespace console
