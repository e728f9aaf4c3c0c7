// The words for how a case ended.
#include "caseOutcome.h"

#include <cstdio>
#include <cstring>

namespace {

// " in CALL" while the list was running, " after CALL" once it had returned, "" without a call.
std::string wherein(const Outcome& outcome) {
    if (outcome.lastCall.empty()) {
        return "";
    }
    return (outcome.inCall ? " in " : " after ") + outcome.lastCall;
}

} // namespace

std::string describeFailure(const Outcome& outcome, double timeout) {
    timeout = outcome.limit > 0 ? outcome.limit : timeout;
    char text[160];
    switch (outcome.ending) {
    case Ending::passed:
        return "";
    case Ending::assertion:
        snprintf(text, sizeof text, "%s:%d", outcome.file.c_str(), outcome.line);
        return text;
    case Ending::signal: {
        const char* abbreviation = sigabbrev_np(outcome.detail);
        if (abbreviation != nullptr) {
            snprintf(text, sizeof text, "crashed (SIG%s)", abbreviation);
        } else {
            snprintf(text, sizeof text, "crashed (signal %d)", outcome.detail);
        }
        return text + wherein(outcome);
    }
    case Ending::timeout:
        snprintf(text, sizeof text, "timed out after %g s", timeout);
        return text + wherein(outcome);
    case Ending::exited:
        snprintf(text, sizeof text, "exited with status %d before the case finished",
                 outcome.detail);
        return text + wherein(outcome);
    case Ending::sanitizer:
        return outcome.sanitizerLine + wherein(outcome);
    case Ending::missing:
        return "`" + outcome.missing + "` is not implemented";
    case Ending::foreignBlock:
        return "a node the case freed was not a block of its own from malloc" +
               (outcome.foreignAfter.empty() ? "" : " after " + outcome.foreignAfter);
    case Ending::signalledRunner: {
        const char* abbreviation = sigabbrev_np(outcome.runnerSignal);
        snprintf(text, sizeof text, "sent the runner SIG%s",
                 abbreviation != nullptr ? abbreviation : "?");
        return text + wherein(outcome);
    }
    case Ending::leak:
        snprintf(text, sizeof text, "the list leaked %d block%s (%ld byte%s)", outcome.detail,
                 outcome.detail == 1 ? "" : "s", outcome.leakedBytes,
                 outcome.leakedBytes == 1 ? "" : "s");
        return text;
    }
    return "";
}

const char* failureType(Ending ending) {
    static constexpr const char* TYPES[] = {
        "",          "assertion", "crash", "timeout",       "exit",
        "sanitizer", "missing",   "leak",  "foreign-block", "signalled-runner"};
    return TYPES[static_cast<int>(ending)];
}
