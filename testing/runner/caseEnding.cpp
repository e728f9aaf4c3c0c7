// Reading how a case ended.
#include "caseEnding.h"

#include "caseMonitor.h"

#include <sys/wait.h>

#include <algorithm>
#include <climits>
#include <cstdint>
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

// A text field of the monitor, up to its end or its first NUL.
template <size_t N> std::string field(const char (&text)[N]) {
    return {text, strnlen(text, N)};
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
        for (unsigned i = 0; i < std::min(monitor.leftBehindGroups, LEFT_BEHIND_GROUPS); i++) {
            const LeftBehind& group = monitor.leftBehind[i];
            outcome.leftBehind.push_back({group.call, group.blocks, group.bytes});
        }
    }
    return outcome;
}

void readTrail(Outcome& outcome) {
    const CaseMonitor& monitor = caseMonitor();
    // The monitor is written by the case's processes: its texts are cut to their fields, its
    // counts and indices bounded.
    const unsigned namedObjects = std::min(monitor.namedObjects, NAMED_OBJECTS);
    for (unsigned i = 0; i < namedObjects; i++) {
        const NamedObject& named = monitor.names[i];
        outcome.names.push_back({reinterpret_cast<uintptr_t>(named.address), field(named.name)});
    }
    const unsigned kept = std::min(monitor.calls, TRAIL_LENGTH);
    for (unsigned n = monitor.calls - kept; n < monitor.calls; n++) {
        const CallRecord& record = monitor.trail[n % TRAIL_LENGTH];
        TrailCall call{field(record.call), record.returned ? field(record.result) : "",
                       record.value, "", ""};
        if (record.list >= 0 && static_cast<unsigned>(record.list) < namedObjects) {
            call.list = field(monitor.names[record.list].name);
            call.listMadeBy = field(monitor.names[record.list].madeBy);
        }
        if (monitor.blamed >= 0 && static_cast<unsigned>(monitor.blamed) == n) {
            outcome.blamed = static_cast<int>(outcome.trail.size());
        }
        outcome.trail.push_back(std::move(call));
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
    } else if (timedOut && !monitor.sanitizerReporting) {
        // A process of the case writing a sanitizer's report ends as that report says.
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
    // A memory error in a process the case forked (the model check's replays) fails the case
    // through an assertion or a timeout of its own: the error is still the cause.
    if (outcome.ending != Ending::passed && outcome.ending != Ending::missing) {
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
