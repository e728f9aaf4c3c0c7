// The plain and TAP reporters.
#include "reporters.h"

#include "failureNotes.h"
#include "safeText.h"
#include "sanitizerDigest.h"
#include "utest.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

PlainStyle plainStyle;

SanitizerDigest& sanitizerDigest() {
    static SanitizerDigest digest(probeListFolder);
    return digest;
}

// What a sanitizer reported: cut down to the list's frames, or whole when verbose.
void addSanitizerReport(std::vector<std::string>& lines, const ProbeCase& probe,
                        const Captured& report) {
    if (plainStyle.verbose || report.kept.empty()) {
        addStream(lines, "the sanitizer reported:", report);
        return;
    }
    lines.emplace_back("the sanitizer reported:");
    for (const std::string& line : sanitizerDigest().digest(probe.name, report.kept)) {
        lines.push_back("  " + printable(line));
    }
}

} // namespace

std::vector<std::string> reportBlock(const ProbeCase& probe, const Outcome& outcome) {
    std::vector<std::string> lines;
    addLines(lines, withNames(outcome.report, outcome), "");
    addStream(lines, "the list printed:", outcome.out);
    addStream(lines, "the list printed on standard error:", outcome.err);
    addSanitizerReport(lines, probe, outcome.sanitizer);
    return lines;
}

namespace {

// The runner's lines under a FAIL line: what the case checks, and the notes on its failure.
std::vector<std::string> runnerNotes(const ProbeCase& probe, const Outcome& outcome) {
    std::vector<std::string> lines = {std::string("checks: ") + probe.description};
    for (const std::string& note : failureNotes(outcome)) {
        lines.push_back(printable(note));
    }
    return lines;
}

std::string why(const Outcome& outcome, double timeout) {
    return printable(sanitizerDigest().relative(describeFailure(outcome, timeout)));
}

} // namespace

std::vector<std::string> failureLines(const ProbeCase& probe, const Outcome& outcome,
                                      double timeout) {
    std::vector<std::string> lines = {why(outcome, timeout)};
    for (const std::string& note : runnerNotes(probe, outcome)) {
        lines.push_back("  " + note);
    }
    const std::string label = "  [" + std::string(probe.name) + "] ";
    for (const std::string& line : reportBlock(probe, outcome)) {
        lines.push_back(line.empty() ? label.substr(0, label.size() - 1) : label + line);
    }
    return lines;
}

namespace {

const char* painted(const char* text, const char* colour) {
    static std::string buffer;
    buffer = plainStyle.colour ? std::string(colour) + text + "\033[0m" : text;
    return buffer.c_str();
}

constexpr char GREEN[] = "\033[32m";
constexpr char RED[] = "\033[1;31m";

} // namespace

void setPlainStyle(const PlainStyle& style) {
    plainStyle = style;
}

bool colourWanted() {
    const char* noColour = getenv("NO_COLOR");
    return isatty(STDOUT_FILENO) != 0 && (noColour == nullptr || noColour[0] == '\0');
}

void printTapHeader(size_t cases) {
    printf("TAP version 13\n1..%zu\n", cases);
}

void printCaseResult(const ProbeCase& probe, const Outcome& outcome, double timeout, int number,
                     bool tap) {
    const bool passed = outcome.ending == Ending::passed;
    if (tap) {
        printf("%s %d - %s %s\n", passed ? "ok" : "not ok", number, probe.group, probe.name);
        if (!passed) {
            printf("# %s\n", why(outcome, timeout).c_str());
            printLines(runnerNotes(probe, outcome), "# ");
            printLines(reportBlock(probe, outcome), "# ");
        }
        return;
    }
    if (passed) {
        if (!plainStyle.failuresOnly) {
            printf("%s %s %s\n", painted("PASS", GREEN), probe.group, probe.name);
        }
        return;
    }
    printf("%s %s %s ", painted("FAIL", RED), probe.group, probe.name);
    for (const std::string& line : failureLines(probe, outcome, timeout)) {
        printf("%s\n", line.c_str());
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
    if (tap || !plainStyle.colour) {
        printf(tap ? "# %d passed, %d failed\n" : "%d passed, %d failed\n", passed, failed);
        return;
    }
    const std::string count = std::to_string(failed) + " failed";
    printf("%d passed, %s\n", passed, painted(count.c_str(), failed > 0 ? RED : GREEN));
}
