#ifndef JUNIT_REPORT_H
#define JUNIT_REPORT_H

// The results as JUnit XML: one test suite per group, each failure's report block as the body of
// its <failure>, what the list printed as the test case's <system-out> and <system-err>.

#include "caseOutcome.h"
#include "probeRegistry.h"

#include <string>
#include <string_view>
#include <vector>

struct Result {
    const ProbeCase* probe;
    Outcome outcome;
};

// The text with the characters XML reserves escaped; a carriage return is kept as a reference,
// and other control characters and bytes that are not UTF-8, which the file cannot hold, become
// '?'.
std::string escapeXml(std::string_view text);

// Replaces the file at path with the results in one step; false, the old file kept, when it
// cannot.
bool writeJunit(const std::string& path, const std::vector<Result>& results, double timeout);

#endif
