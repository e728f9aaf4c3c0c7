// The JUnit reporter.
#include "junitReport.h"

#include "AtomicFile.h"
#include "safeText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Writes a stream a case carried as one element, when it carried anything.
void writeStream(FILE* file, const char* element, const Captured& stream) {
    if (stream.kept.empty()) {
        return;
    }
    std::string text = stream.kept;
    if (stream.dropped > 0) {
        text += "\n... and " + std::to_string(stream.dropped) + " more bytes\n";
    }
    fprintf(file, "      <%s>%s</%s>\n", element, escapeXml(text).c_str(), element);
}

struct Tally {
    int tests = 0;
    int failures = 0;
    double seconds = 0;
};

// The cases of a group, those that failed and the time they took; every case for an empty group.
Tally tally(const std::vector<Result>& results, std::string_view group) {
    Tally counted;
    for (const Result& result : results) {
        if (group.empty() || group == result.probe->group) {
            counted.tests++;
            counted.failures += result.outcome.ending != Ending::passed;
            counted.seconds += result.outcome.seconds;
        }
    }
    return counted;
}

} // namespace

std::string escapeXml(std::string_view text) {
    std::string escaped;
    while (!text.empty()) {
        const size_t length = std::max<size_t>(utf8Length(text), 1);
        const std::string_view character = text.substr(0, length);
        text.remove_prefix(length);
        switch (character.front()) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\r':
            escaped += "&#13;";
            break;
        case '\n':
            escaped += '\n';
            break;
        default:
            escaped += printable(character);
        }
    }
    return escaped;
}

bool writeJunit(const std::string& path, const std::vector<Result>& results, double timeout) {
    AtomicFile junit;
    if (!junit.open(path.c_str())) {
        return false;
    }
    FILE* file = junit.stream();
    const Tally all = tally(results, "");
    fprintf(file, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    fprintf(file, "<testsuites name=\"probeRunner\" tests=\"%d\" failures=\"%d\" time=\"%.3f\">\n",
            all.tests, all.failures, all.seconds);
    for (size_t i = 0; i < results.size(); i++) {
        const char* group = results[i].probe->group;
        if (i == 0 || strcmp(group, results[i - 1].probe->group) != 0) {
            const Tally suite = tally(results, group);
            fprintf(file,
                    "  <testsuite name=\"%s\" tests=\"%d\" failures=\"%d\" errors=\"0\" "
                    "time=\"%.3f\">\n",
                    group, suite.tests, suite.failures, suite.seconds);
        }
        const Outcome& outcome = results[i].outcome;
        fprintf(file, "    <testcase classname=\"%s\" name=\"%s\" time=\"%.3f\"", group,
                results[i].probe->name, outcome.seconds);
        const bool printed = !outcome.out.kept.empty() || !outcome.err.kept.empty() ||
                             !outcome.sanitizer.kept.empty();
        if (outcome.ending == Ending::passed && !printed) {
            fprintf(file, "/>\n");
        } else {
            fprintf(file, ">\n");
            if (outcome.ending != Ending::passed) {
                fprintf(file, "      <failure message=\"%s\" type=\"%s\">%s</failure>\n",
                        escapeXml(describeFailure(outcome, timeout)).c_str(),
                        failureType(outcome.ending), escapeXml(outcome.report).c_str());
            }
            writeStream(file, "system-out", outcome.out);
            Captured errors = outcome.err;
            errors.kept += outcome.sanitizer.kept;
            errors.dropped += outcome.sanitizer.dropped;
            writeStream(file, "system-err", errors);
            fprintf(file, "    </testcase>\n");
        }
        if (i + 1 == results.size() || strcmp(group, results[i + 1].probe->group) != 0) {
            fprintf(file, "  </testsuite>\n");
        }
    }
    fprintf(file, "</testsuites>\n");
    return junit.commit();
}
