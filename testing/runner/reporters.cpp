// The plain and TAP reporters.
#include "reporters.h"

#include "safeText.h"
#include "utest.h"

#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

// Appends each line of text (cut at '\n', a '\r' before it dropped) to lines, indented.
void addLines(std::vector<std::string>& lines, std::string_view text, const char* indent) {
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(indent + printable(line));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

// Appends what a stream carried under its heading, with the count of bytes not kept.
void addStream(std::vector<std::string>& lines, const char* heading, const Captured& stream) {
    if (stream.kept.empty()) {
        return;
    }
    lines.emplace_back(heading);
    addLines(lines, stream.kept, "  ");
    if (stream.dropped > 0) {
        lines.push_back("  ... and " + std::to_string(stream.dropped) + " more bytes");
    }
}

// Prints each line behind prefix, the prefix alone (without its trailing blank) for an empty one.
void printLines(const std::vector<std::string>& lines, std::string_view prefix) {
    const std::string_view bare = prefix.substr(0, prefix.find_last_not_of(' ') + 1);
    for (const std::string& line : lines) {
        if (line.empty()) {
            printf("%.*s\n", static_cast<int>(bare.size()), bare.data());
        } else {
            printf("%.*s%s\n", static_cast<int>(prefix.size()), prefix.data(), line.c_str());
        }
    }
}

} // namespace

std::vector<std::string> reportBlock(const Outcome& outcome) {
    std::vector<std::string> lines;
    addLines(lines, outcome.report, "");
    addStream(lines, "the list printed:", outcome.out);
    addStream(lines, "the list printed on standard error:", outcome.err);
    addStream(lines, "the sanitizer reported:", outcome.sanitizer);
    return lines;
}

void printTapHeader(size_t cases) {
    printf("TAP version 13\n1..%zu\n", cases);
}

void printCaseResult(const ProbeCase& probe, const Outcome& outcome, const std::string& why,
                     int number, bool tap) {
    const bool passed = outcome.ending == Ending::passed;
    if (tap) {
        printf("%s %d - %s %s\n", passed ? "ok" : "not ok", number, probe.group, probe.name);
        if (!passed) {
            printf("# %s\n", printable(why).c_str());
            printLines(reportBlock(outcome), "# ");
        }
        return;
    }
    printf("%s %s %s%s%s\n", passed ? "PASS" : "FAIL", probe.group, probe.name, passed ? "" : " ",
           printable(why).c_str());
    if (!passed) {
        printLines(reportBlock(outcome), "  [" + std::string(probe.name) + "] ");
    }
}

void printWholeReport(bool tap) {
    if (tap) {
        std::vector<std::string> lines;
        addLines(lines, utest_printErrorBuffer, "");
        printLines(lines, "# ");
        return;
    }
    const size_t length = strlen(utest_printErrorBuffer);
    fputs(utest_printErrorBuffer, stdout);
    if (length > 0 && utest_printErrorBuffer[length - 1] != '\n') {
        putchar('\n');
    }
}

void printSummary(int passed, int failed, bool tap) {
    printf(tap ? "# %d passed, %d failed\n" : "%d passed, %d failed\n", passed, failed);
}
