// The graders' JSON reporter.
#include "jsonReport.h"

#include "AtomicFile.h"
#include "reporters.h"
#include "safeText.h"

#include <algorithm>
#include <cstdio>

namespace {

// A case's "output": its failure's lines, as the terminal shows them.
std::string caseOutput(const Result& result, double timeout) {
    if (result.outcome.ending == Ending::passed) {
        return "";
    }
    std::string output;
    for (const std::string& line : failureLines(*result.probe, result.outcome, timeout)) {
        output += line + "\n";
    }
    return output;
}

// Points as JSON writes numbers: as few digits as tell them apart, never an exponent for whole
// numbers a weights file accepts.
std::string number(double value) {
    char text[32];
    snprintf(text, sizeof text, "%.15g", value);
    return text;
}

} // namespace

std::string escapeJson(std::string_view text) {
    std::string escaped;
    while (!text.empty()) {
        const size_t length = utf8Length(text);
        const auto c = static_cast<unsigned char>(text.front());
        if (length == 0) {
            escaped += "\\ufffd";
        } else if (length > 1) {
            escaped.append(text.substr(0, length));
        } else if (c == '"' || c == '\\') {
            escaped += '\\';
            escaped += static_cast<char>(c);
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c < 0x20 || c == 0x7f) {
            char code[8];
            snprintf(code, sizeof code, "\\u%04x", c);
            escaped += code;
        } else {
            escaped += static_cast<char>(c);
        }
        text.remove_prefix(std::max<size_t>(length, 1));
    }
    return escaped;
}

std::string transcriptLine(const Result& result, double timeout, const CaseWeights& weights) {
    const Outcome& outcome = result.outcome;
    char figures[128];
    snprintf(figures, sizeof figures, "\"checks\":%llu,\"digest\":\"%016llx\",\"seconds\":%.6f",
             outcome.checks, outcome.digest, outcome.seconds);
    return "{\"case\":\"" + escapeJson(result.probe->name) + "\",\"group\":\"" +
           escapeJson(result.probe->group) + "\",\"ending\":\"" +
           (outcome.ending == Ending::passed ? "passed" : failureType(outcome.ending)) + "\"," +
           figures + ",\"points\":" + number(weights.pointsFor(*result.probe)) + ",\"output\":\"" +
           escapeJson(caseOutput(result, timeout)) + "\"}\n";
}

bool writeJson(const std::string& path, const std::vector<Result>& results, double timeout,
               const CaseWeights& weights) {
    AtomicFile json;
    if (!json.open(path.c_str())) {
        return false;
    }
    FILE* file = json.stream();
    double score = 0;
    fprintf(file, "{\n  \"tests\": [");
    for (size_t i = 0; i < results.size(); i++) {
        const bool passed = results[i].outcome.ending == Ending::passed;
        const double points = weights.pointsFor(*results[i].probe);
        score += passed ? points : 0;
        fprintf(file,
                "%s\n    {\"name\": \"%s\", \"status\": \"%s\", \"score\": %s, \"max_score\": %s, "
                "\"output\": \"%s\"}",
                i == 0 ? "" : ",", escapeJson(results[i].probe->name).c_str(),
                passed ? "passed" : "failed", number(passed ? points : 0).c_str(),
                number(points).c_str(), escapeJson(caseOutput(results[i], timeout)).c_str());
    }
    fprintf(file, "\n  ],\n  \"score\": %s\n}\n", number(score).c_str());
    return json.commit();
}
