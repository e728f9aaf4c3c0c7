// A model check: random sequences of list operations, drawn from the runner's seed, run against
// the list and against a plain model of it (a vector of the same elements). The first sequence on
// which the two disagree (a different result, a crash, a hang) is cut down to a shortest one that
// still fails, and reported as a small C program that replays it. Sequences run in child
// processes of the case, a batch of them each, with a CPU time limit of their own, so a crash or a
// hang is a disagreement like any other and can be cut down too. The operations are in
// modelOps.cpp, the cutting down in modelShrink.cpp and the program in modelProgram.cpp.
#include "ChildProcess.h"
#include "caseList.h"
#include "modelOps.h"
#include "probeSeed.h"

#include <limits.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#ifdef COVERAGE_BUILD
// Coverage builds write their counts from an exit handler, which _exit skips.
extern "C" void __gcov_dump(void);
#endif

// The messages the assertions report with.
static const char DISAGREES_MSG[] =
    "\nError: la lista no se comporta como el modelo (un vector con los mismos elementos);\n "
    "arriba, la secuencia mas corta que lo muestra, como un programa en C\n";
static const char NO_CHILD_MSG[] =
    "\nError: no se pudo crear el proceso que ejecuta cada secuencia "
    "(fork)\n";

namespace modelCheck {

namespace {

constexpr auto BUDGET = std::chrono::milliseconds(3000); // the whole case, cutting down included

// A random batch: SEQUENCES times a new list (the first is made anyway), STEPS operations and
// a full read.
std::vector<Op> randomBatch(std::mt19937_64& rng) {
    std::vector<Op> ops;
    for (int sequence = 0; sequence < SEQUENCES; sequence++) {
        if (sequence > 0) {
            ops.push_back({Kind::fresh});
        }
        std::vector<int> model;
        for (int i = 0; i < STEPS; i++) {
            ops.push_back(randomOp(rng, static_cast<int>(model.size())));
            operation(ops.back().kind).expect(ops.back(), model);
        }
        ops.push_back({Kind::readAll});
    }
    return ops;
}

#ifdef COVERAGE_BUILD
// How many more children write their coverage counts.
int coverageWriters = 8;
#endif

// Hands the verdict so far to the case through the pipe; leaves the process when the case is
// gone. Each record fits in one atomic pipe write, and the last one read is the run's state.
void send(int channel, const Verdict& verdict) {
    static_assert(sizeof(Verdict) <= PIPE_BUF);
    if (write(channel, &verdict, sizeof verdict) != static_cast<ssize_t>(sizeof verdict)) {
        _exit(1);
    }
}

// Runs ops against a new list and the model, sending the step under way before each one and the
// first disagreement, or the agreement, at the end; then leaves the process.
[[noreturn]] void replay(const std::vector<Op>& ops, int channel) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    (void)signal(SIGPROF, SIG_DFL);
    const itimerval limit = {{0, 0}, {0, CHILD_CPU_MS * 1000}};
    setitimer(ITIMER_PROF, &limit, nullptr);
    Verdict verdict;
    verdict.step = 0; // making the list counts as part of the first operation
    send(channel, verdict);
    utest_startNotes();
    LinkedList* list = ll_newLinkedList();
    std::vector<int> model;
    for (size_t i = 0; i < ops.size() && verdict.how == Verdict::agreed; i++) {
        verdict.step = static_cast<int>(i);
        send(channel, verdict);
        const Operation& step = operation(ops[i].kind);
        const Observations wanted = step.expect(ops[i], model);
        const Observations got = step.perform(ops[i], list);
        for (const Observation& answer : got) {
            utest_note(answer.element ? 1 : 0, answer.value);
        }
        for (size_t j = 0; j < wanted.size(); j++) {
            if (j >= got.size() || got[j].value != wanted[j].value) {
                verdict = {Verdict::differed, static_cast<int>(i), static_cast<int>(j),
                           j < got.size() ? got[j] : Observation{0, false}, wanted[j]};
                break;
            }
        }
    }
    verdict.observed = utest_checkCount;
    verdict.digest = utest_checkDigest;
    send(channel, verdict);
#ifdef COVERAGE_BUILD
    // Writing the counts takes longer than the sequence; the first few children reach every
    // operation.
    if (coverageWriters > 0) {
        __gcov_dump();
    }
#endif
    _exit(0);
}

// The last record the child sent: the run's state as it ended.
void lastRecord(const std::string& bytes, Verdict& latest) {
    if (bytes.size() >= sizeof latest) {
        memcpy(&latest, bytes.data() + (bytes.size() / sizeof latest - 1) * sizeof latest,
               sizeof latest);
    }
}

// How the child's process ended, on top of what it last sent: a child killed for its CPU time
// hung, one still there after CHILD_WALL_MS blocked.
void addEnding(Verdict& verdict, bool ended, int status) {
    const int killer = childProcess::endingSignal(status);
    if (!ended) {
        verdict.how = Verdict::blocked;
    } else if (killer == SIGPROF) {
        verdict.how = Verdict::hung;
    } else if (killer != 0) {
        verdict.how = Verdict::crashed;
        verdict.detail = killer;
    } else if (childProcess::exitStatus(status) != 0) {
        verdict.how = Verdict::exited;
        verdict.detail = childProcess::exitStatus(status);
    }
}

} // namespace

std::optional<Verdict> run(const std::vector<Op>& ops) {
    const childProcess::PipedChild child =
        childProcess::forkWithPipe([&ops](int channel) { replay(ops, channel); });
    if (child.failed != nullptr) {
        return std::nullopt;
    }
#ifdef COVERAGE_BUILD
    coverageWriters--;
#endif
    std::string bytes;
    const bool ended = childProcess::readToEnd(child.output, bytes,
                                               std::chrono::steady_clock::now() +
                                                   std::chrono::milliseconds(CHILD_WALL_MS));
    close(child.output);
    if (!ended) {
        kill(child.pid, SIGKILL);
    }
    int status = 0;
    childProcess::waitFor(child.pid, status);
    // A blocked child's records say as much as a finished one's: the step it is stuck in.
    Verdict verdict;
    lastRecord(bytes, verdict);
    addEnding(verdict, ended, status);
    return verdict;
}

} // namespace modelCheck

using namespace modelCheck;

void modelProbeSetup() {
    utest_print("Setup...\r\n");
}

// Random sequences agree with the model; the first that does not is reported cut down.
void modelProbeCase01() {
    const auto deadline = std::chrono::steady_clock::now() + BUDGET;
    std::mt19937_64 rng(probeSeed);
    int agreed = 1;
    bool started = true;
    for (int batch = 0; batch < BATCHES && agreed == 1; batch++) {
        const std::vector<Op> ops = randomBatch(rng);
        auto verdict = run(ops);
        started = verdict.has_value();
        if (!started) {
            break;
        }
        utest_note(__LINE__, static_cast<long long>(verdict->observed));
        utest_note(__LINE__, static_cast<long long>(verdict->digest));
        if (verdict->how != Verdict::agreed) {
            bool finished = false;
            const std::vector<Op> shortest = shrink(ops, *verdict, deadline, finished);
            report(shortest, *verdict, batch, finished);
            agreed = 0;
        }
    }
    utest_assertEqualsIntMsg(started ? 1 : 0, 1, NO_CHILD_MSG);
    utest_assertEqualsIntMsg(agreed, 1, DISAGREES_MSG);
}
