// Reading how a case ended.
#include "caseEnding.h"

#include "caseMonitor.h"

#include <sys/wait.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

namespace {

// The sanitizer's first report line: from "ERROR: " on in an error report (when errors counts
// them), or the line of a "runtime error:"; empty when the text has neither.
std::string firstReportLine(std::string_view report, bool errors) {
    while (!report.empty()) {
        const size_t end = std::min(report.find('\n'), report.size());
        const std::string_view line = report.substr(0, end);
        if (const size_t error = line.find("ERROR: "); errors && error != std::string_view::npos) {
            return std::string(line.substr(error));
        }
        if (line.find("runtime error:") != std::string_view::npos) {
            return std::string(line);
        }
        report.remove_prefix(std::min(end + 1, report.size()));
    }
    return "";
}

} // namespace

Outcome finishedOutcome(const ProbeCase& probe) {
    const CaseMonitor& monitor = caseMonitor();
    Outcome outcome;
    outcome.report.assign(monitor.report, monitor.reportSize);
    outcome.checks = monitor.checks;
    outcome.digest = monitor.digest;
    outcome.foreignFrees = monitor.foreignFrees;
    outcome.foreignAfter.assign(monitor.foreignAfter,
                                strnlen(monitor.foreignAfter, sizeof monitor.foreignAfter));
    if (monitor.assertionFailed != 0) {
        outcome.ending = Ending::assertion;
        outcome.file = monitor.file;
        outcome.line = monitor.line;
    } else if (monitor.foreignFrees > 0) {
        outcome.ending = Ending::foreignBlock;
    } else if (probe.extended && monitor.heapCounted && monitor.liveBlocks > 0) {
        outcome.ending = Ending::leak;
        outcome.detail = static_cast<int>(std::min<long>(monitor.liveBlocks, INT_MAX));
        outcome.leakedBytes = monitor.liveBytes;
        outcome.leftBehindGroups = monitor.leftBehindGroups;
        for (unsigned i = 0; i < std::min(monitor.leftBehindGroups, kLeftBehindGroups); i++) {
            const LeftBehind& group = monitor.leftBehind[i];
            outcome.leftBehind.push_back({group.call, group.blocks, group.bytes});
        }
    }
    return outcome;
}

void readTrail(Outcome& outcome) {
    const CaseMonitor& monitor = caseMonitor();
    const unsigned kept = std::min(monitor.calls, kTrailLength);
    for (unsigned n = monitor.calls - kept; n < monitor.calls; n++) {
        const CallRecord& record = monitor.trail[n % kTrailLength];
        // The monitor is written by the case's processes: its texts are cut to their fields.
        outcome.trail.push_back(
            {std::string(record.call, strnlen(record.call, sizeof record.call)),
             record.returned
                 ? std::string(record.result, strnlen(record.result, sizeof record.result))
                 : ""});
    }
    outcome.lastCall = outcome.trail.empty() ? "" : outcome.trail.back().call;
    outcome.inCall = monitor.callDepth > 0;
}

Outcome isolatedOutcome(const ProbeCase& probe, bool timedOut) {
    const CaseMonitor& monitor = caseMonitor();
    Outcome outcome;
    const int status = monitor.caseStatus;
    if (monitor.missing[0] != '\0') {
        outcome.ending = Ending::missing;
        outcome.missing = monitor.missing;
    } else if (timedOut) {
        outcome.ending = Ending::timeout;
    } else if (monitor.caseEnded && monitor.finished != 0 && WIFEXITED(status) &&
               WEXITSTATUS(status) == 0) {
        outcome = finishedOutcome(probe);
    } else if (monitor.caseEnded && WIFSIGNALED(status)) {
        outcome.ending = Ending::signal;
        outcome.detail = WTERMSIG(status);
    } else {
        outcome.ending = Ending::exited;
        outcome.detail = monitor.caseEnded && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    readTrail(outcome);
    return outcome;
}

void addStreams(Outcome& outcome, Captured out, Captured err, Captured sanitizer) {
    if (outcome.ending == Ending::signal || outcome.ending == Ending::exited) {
        outcome.sanitizerLine = firstReportLine(sanitizer.kept, true);
        if (outcome.sanitizerLine.empty()) {
            outcome.sanitizerLine = firstReportLine(err.kept, false);
        }
        if (!outcome.sanitizerLine.empty()) {
            outcome.ending = Ending::sanitizer;
        }
    }
    outcome.out = std::move(out);
    outcome.err = std::move(err);
    outcome.sanitizer = std::move(sanitizer);
}
