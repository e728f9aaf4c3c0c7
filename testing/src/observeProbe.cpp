// The whole state of several lists, observed after every operation of sequences drawn from the
// run's seed (testing/src/stateObserver.h): a fault shows at the call that made it, also where no
// later result would depend on it.
#include "stateObserver.h"

namespace {

// 150 sequences of 40 steps take a few milliseconds on any list that walks from the head.
constexpr int SEQUENCES = 150;
constexpr int STEPS = 40;

const char STATE_MSG[] = "\nError: la lista no queda como deberia luego de la llamada de arriba\n";

} // namespace

void observeProbeSetup() {
    utest_print("Setup...\r\n");
}

// Three lists at once; after each call the calling list's chain, elements, size and last link
// agree with the model, and a read changed none of its nodes.
void observeProbeCase01() {
    const farElements::Elements pool;
    const std::string report = stateObserver::Walk(pool, false).run(SEQUENCES, STEPS);
    if (!report.empty()) {
        stateObserver::printReport("Observacion del estado entero", "observeProbeCase01", report);
    }
    utest_assertEqualsIntMsg(report.empty() ? 1 : 0, 1, STATE_MSG);
}
