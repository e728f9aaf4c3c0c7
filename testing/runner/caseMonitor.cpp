// The case monitor and the memory it lives in.
#include "caseMonitor.h"

#include <sys/mman.h>
#include <sys/time.h>

namespace {

// Where the monitor lives until the runner shares it: under --no-fork it never moves.
CaseMonitor privateMonitor;
CaseMonitor* monitor = &privateMonitor;

} // namespace

CaseMonitor& caseMonitor() {
    return *monitor;
}

bool shareCaseMonitor() {
    void* shared = mmap(nullptr, sizeof(CaseMonitor), PROT_READ | PROT_WRITE,
                        MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) {
        return false;
    }
    monitor = static_cast<CaseMonitor*>(shared);
    return true;
}

void resetCaseMonitor() {
    CaseMonitor& m = *monitor;
    m.calls = 0;
    m.callDepth = 0;
    m.missing[0] = '\0';
    m.namedObjects = 0;
    m.blamed = -1;
    m.sanitizerReporting = false;
    m.finished = 0;
    m.assertionFailed = 0;
    m.line = 0;
    m.file[0] = '\0';
    m.heapCounted = false;
    m.liveBlocks = 0;
    m.liveBytes = 0;
    m.leftBehindGroups = 0;
    m.foreignFrees = 0;
    m.foreignAfter[0] = '\0';
    m.reportSize = 0;
    m.reaper = 0;
    m.caseEnded = false;
    m.caseStatus = 0;
    m.pidNamespace = false;
}

// AddressSanitizer calls this as its report begins, in whichever of the case's processes met the
// error. Writing the report (symbolising each frame) takes longer than a list's call may: the CPU
// limit a process of the case set (the model check's replays) is lifted, so that the report is
// read whole and the error reported as such, not as a list that never ends.
// NOLINTNEXTLINE(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
extern "C" void __asan_on_error() {
    const itimerval none = {};
    setitimer(ITIMER_PROF, &none, nullptr);
    monitor->sanitizerReporting = true;
}
