// probeRunner: runs the linked-list conformance cases against the list it was built with, each
// case in processes of its own, and reports every case with its report block, then a summary.
#include "caseIsolation.h"
#include "jsonReport.h"
#include "junitReport.h"
#include "probeRegistry.h"
#include "probeSeed.h"
#include "processTree.h"
#include "reporters.h"
#include "reproFile.h"
#include "runnerOptions.h"
#include "status.h"
#include "translate.h"
#include "utest.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// Appends text to the report as far as it fits, keeping it NUL-terminated.
void appendToReport(std::string_view text) {
    const size_t used = strlen(utest_printErrorBuffer);
    const size_t room = sizeof utest_printErrorBuffer - 1 - used;
    const size_t count = text.size() < room ? text.size() : room;
    memcpy(utest_printErrorBuffer + used, text.data(), count);
    utest_printErrorBuffer[used + count] = '\0';
}

// The exit status once the results are out: EXIT_TROUBLE, with one line on stderr, when
// standard output failed.
int finish(int status) {
    if (!flushOutput()) {
        fprintf(stderr, tr("probeRunner: cannot write the results: %s\n"), strerror(errno));
        return EXIT_TROUBLE;
    }
    return status;
}

// Writes text whole to fd; false when the descriptor fails.
bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(fd, text.data(), text.size());
        if (written < 0 && errno != EINTR) {
            return false;
        }
        text.remove_prefix(written < 0 ? 0 : static_cast<size_t>(written));
    }
    return true;
}

// Runs the selected cases, each group's setup first, printing each case as it ends. Stops early
// when standard output fails or a signal asks the runner to stop.
std::vector<Result> runCases(const std::vector<const ProbeCase*>& selected,
                             const Options& options) {
    const bool pidNamespaces = getenv("PROBERUNNER_NO_PID_NAMESPACE") == nullptr;
    std::vector<Result> results;
    for (const ProbeCase* probe : selected) {
        // What is printed so far must reach a pipe even when this case takes the runner down,
        // as it can under --no-fork.
        if (!flushOutput() || interruption() != 0) {
            break;
        }
        if (results.empty() || strcmp(results.back().probe->group, probe->group) != 0) {
            probe->setup();
        }
        const auto start = std::chrono::steady_clock::now();
        const double limit = timeoutOf(*probe, options);
        Outcome outcome = options.fork ? runCaseIsolated(*probe, {limit, pidNamespaces})
                                       : runCaseInProcess(*probe);
        outcome.limit = limit;
        outcome.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (interruption() != 0) {
            break;
        }
        if (options.fork) {
            appendToReport(outcome.report);
        }
        utest_totalTestsCounter++;
        utest_okTestsCounter += outcome.ending == Ending::passed;
        printCaseResult(*probe, outcome, options.timeout, utest_totalTestsCounter, options.tap);
        results.push_back({probe, std::move(outcome)});
        if (options.transcript &&
            !writeAll(*options.transcript,
                      transcriptLine(results.back(), options.timeout, options.weights))) {
            break;
        }
    }
    return results;
}

// Ends the runner as the signal that stopped it would have.
[[noreturn]] void stopBySignal(int signal) {
    fflush(stdout);
    fprintf(stderr, tr("probeRunner: stopped by SIG%s\n"), sigabbrev_np(signal));
    endAsSignal(signal);
}

} // namespace

unsigned long long probeSeed = 0;

int main(int argc, char** argv) {
    startTranslations();
    // A closed pipe then shows as a failed write, which the runner reports, and not as a kill.
    (void)signal(SIGPIPE, SIG_IGN);
    probeSeed =
        (static_cast<unsigned long long>(std::random_device{}()) << 32) ^ std::random_device{}();
    Options options;
    if (const auto status = parseOptions(argc, argv, options)) {
        return finish(*status);
    }
    std::vector<const ProbeCase*> selected;
    for (const ProbeCase& probe : probeCases()) {
        if (isSelected(probe, options)) {
            selected.push_back(&probe);
        }
    }
    if (selected.empty()) {
        return usageError(tr("no case matches the --group and --case filters"));
    }
    if (options.list) {
        for (const ProbeCase* probe : selected) {
            printf("%s %s  %s\n", probe->group, probe->name, probe->description);
        }
        return finish(0);
    }
    setPlainStyle({options.failuresOnly, !options.tap && colourWanted(), options.verbose});
    if (options.fork && !prepareIsolation()) {
        return EXIT_TROUBLE;
    }
    if (options.tap) {
        printTapHeader(selected.size());
    }
    const std::vector<Result> results = runCases(selected, options);
    if (const int signal = interruption()) {
        stopBySignal(signal);
    }
    if (results.size() < selected.size()) {
        return finish(EXIT_TROUBLE);
    }
    if (options.report) {
        printWholeReport(options.tap);
    }
    const int failed = utest_totalTestsCounter - utest_okTestsCounter;
    if (!options.transcript) {
        printSummary(utest_okTestsCounter, failed, options.tap);
    }
    const int status = finish(failed == 0 ? EXIT_OK : EXIT_FAILED);
    if (status != EXIT_TROUBLE && options.junit &&
        !writeJunit(*options.junit, results, options.timeout)) {
        fprintf(stderr, tr("probeRunner: cannot write '%s'\n"), options.junit->c_str());
        return EXIT_TROUBLE;
    }
    if (status != EXIT_TROUBLE && options.json &&
        !writeJson(*options.json, results, options.timeout, options.weights)) {
        fprintf(stderr, tr("probeRunner: cannot write '%s': %s\n"), options.json->c_str(),
                strerror(errno));
        return EXIT_TROUBLE;
    }
    if (status != EXIT_TROUBLE && options.repro && !writeRepro(*options.repro, results)) {
        return EXIT_TROUBLE;
    }
    return status;
}
