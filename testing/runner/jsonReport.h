#ifndef JSON_REPORT_H
#define JSON_REPORT_H

// The results as graders' tools read them: a JSON object with the total "score" and a "tests"
// array, each case an object with its "name", "status" ("passed" or "failed"), "score",
// "max_score" and "output" (its failureLines, as the terminal shows them; empty for a passed case).

#include "caseWeights.h"
#include "junitReport.h"

#include <string>
#include <string_view>
#include <vector>

// The text as the contents of a JSON string: '"', '\' and control characters escaped, and each
// byte that is not part of a UTF-8 character replaced by U+FFFD, which any JSON reader takes.
std::string escapeJson(std::string_view text);

// A case's line for the judge: its name, group, how it ended, the values its assertions checked
// (count and hash), its time, its points, and its failureLines, as one JSON object and '\n'.
std::string transcriptLine(const Result& result, double timeout, const CaseWeights& weights);

// Writes the results to path, replacing the file in one step; false, with errno set, when the
// file fails.
bool writeJson(const std::string& path, const std::vector<Result>& results, double timeout,
               const CaseWeights& weights);

#endif
