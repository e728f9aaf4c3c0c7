// A model check: random sequences of list operations, drawn from the runner's seed, run against
// the list and against a plain model of it (a vector of the same elements). The first sequence on
// which the two disagree (a different result, a crash, a hang) is cut down to a shortest one that
// still fails, and reported as a small C program that replays it. Sequences run in child
// processes of the case, a batch of them each, with a CPU time limit of their own, so a crash or a
// hang is a disagreement like any other and can be cut down too.
#include "caseList.h"
#include "modelShapes.h"
#include "probeSeed.h"

#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#ifdef COVERAGE_BUILD
// Coverage builds write their counts from an exit handler, which _exit skips.
extern "C" void __gcov_dump(void);
#endif

// The messages the assertions report with.
static const char kDisagreesMsg[] =
    "\nError: la lista no se comporta como el modelo (un vector con los mismos elementos);\n "
    "arriba, la secuencia mas corta que lo muestra, como un programa en C\n";
static const char kNoChildMsg[] = "\nError: no se pudo crear el proceso que ejecuta cada secuencia "
                                  "(fork)\n";

namespace {

// How much checking a run does, and how long each part may take.
constexpr int kBatches = 10;       // child processes the search takes
constexpr int kSequences = 30;     // sequences of a batch, each on a new list
constexpr int kSteps = 40;         // random operations per sequence, then a full read
constexpr int kMaxLength = 12;     // no operation adds an element to a list this long
constexpr long kChildCpuMs = 50;   // CPU time a child may spend before it counts as hung
constexpr int kChildWallMs = 2000; // and wall-clock time, for a child that blocks instead
constexpr auto kBudget = std::chrono::milliseconds(3000); // the whole case, cutting down included
constexpr int kMaxVisits = 64;

// The elements: a few ints whose values serve ll_count, and null.
int pool[] = {3, -1, 0, 7, -4};
constexpr int kPool = sizeof pool / sizeof pool[0];
constexpr int kNull = -1;    // the code of the null element
constexpr int kForeign = -2; // the code of a pointer that is no element (a node, a copy)
constexpr int kNoNode = -3;  // test_getNode's null, told apart from a node holding null

void* elementOf(int code) {
    return code == kNull ? nullptr : &pool[code];
}

int codeOf(const void* pElement) {
    for (int i = 0; i < kPool; i++) {
        if (pElement == &pool[i]) {
            return i;
        }
    }
    return pElement == nullptr ? kNull : kForeign;
}

// The callbacks, as the emitted program defines them too.
void* seen[kMaxVisits];
int visits;

void visit(void* pElement) {
    if (visits < kMaxVisits) {
        seen[visits] = pElement;
    }
    visits++;
}

// Records its calls as visit does, so that ll_count's calls are checked like ll_map's.
int weight(void* pElement) {
    visit(pElement);
    return pElement != nullptr ? *static_cast<int*>(pElement) : 1;
}

enum class Kind : uint8_t {
    fresh,       // a new list from ll_newLinkedList, in place of the one so far
    add,         // ll_add(element), whose result is checked as inc/LinkedList.h documents it
    insert,      // test_addNode(a, element)
    get,         // ll_get(a)
    node,        // test_getNode(a)
    pop,         // ll_pop(a)
    remove,      // ll_remove(a)
    len,         // ll_len
    contains,    // ll_contains(element)
    indexOf,     // ll_indexOf(element)
    containsAll, // ll_containsAll with a second list of shape a (modelShapes)
    subList,     // ll_subList(a, b), read, then appended to
    map,         // ll_map(visit): its result, then its calls
    count,       // ll_count(weight): its result, then its calls
    readAll,     // ll_len and ll_get at every index
    cut,         // the caller cuts the chain after a nodes (caseList::cutAfter)
    pushFront,   // the caller chains a node in front (caseList::pushFront)
    swapHead,    // the caller replaces the first node (caseList::swapHead)
    lower,       // the caller writes size down to a, leaving the nodes past it chained
};

struct Op {
    Kind kind;
    int a = 0;
    int b = 0;
    int element = kNull;
};

// One result an operation yields: a number, or an element's code.
struct Observation {
    long value;
    bool element;
};
using Observations = std::vector<Observation>;

// What the model says op yields, applying op to the model's elements (their codes).
Observations expect(const Op& op, std::vector<int>& model) {
    const int n = static_cast<int>(model.size());
    const bool held = op.a >= 0 && op.a < n;
    auto found = [&] {
        for (int i = 0; i < n; i++) {
            if (model[i] == op.element) {
                return i;
            }
        }
        return -1;
    };
    // The length, then every element in order: what ll_map visits and what a full read gives.
    auto whole = [&] {
        Observations out = {{n, false}};
        for (int code : model) {
            out.push_back({code, true});
        }
        return out;
    };
    switch (op.kind) {
    case Kind::fresh:
        model.clear();
        return {};
    case Kind::add:
        model.push_back(op.element);
        return {{0, false}};
    case Kind::insert:
        if (op.a < 0 || op.a > n) {
            return {{-1, false}};
        }
        model.insert(model.begin() + op.a, op.element);
        return {{0, false}};
    case Kind::get:
        return {{held ? model[op.a] : kNull, true}};
    case Kind::node:
        return {{held ? model[op.a] : kNoNode, true}};
    case Kind::pop:
    case Kind::remove: {
        const int code = held ? model[op.a] : kNull;
        if (held) {
            model.erase(model.begin() + op.a);
        }
        return op.kind == Kind::pop ? Observations{{code, true}}
                                    : Observations{{held ? 0 : -1, false}};
    }
    case Kind::len:
        return {{n, false}};
    case Kind::contains:
        return {{found() >= 0 ? 1 : 0, false}};
    case Kind::containsAll: {
        const modelShapes::SecondList second = modelShapes::decode(op.a, kPool);
        bool all = true;
        for (int code : second.shown) {
            all = all && std::find(model.begin(), model.end(), code) != model.end();
        }
        return {{second.self || all ? 1 : 0, false}};
    }
    case Kind::indexOf:
        return {{found(), false}};
    case Kind::subList: {
        if (op.a < 0 || op.b > n || op.a > op.b) {
            return {{0, false}};
        }
        Observations out = {{1, false}, {op.b - op.a, false}};
        for (int i = op.a; i < op.b; i++) {
            out.push_back({model[i], true});
        }
        if (op.a < op.b) {
            out.push_back({1, false});
        }
        return out;
    }
    case Kind::readAll:
        return whole();
    case Kind::map:
    case Kind::count: {
        long total = 0;
        for (int code : model) {
            const int result = code == kNull ? 1 : pool[code];
            total += result > 0 ? result : 0;
        }
        Observations out = {{op.kind == Kind::map ? 0 : total, false}};
        const Observations calls = whole();
        out.insert(out.end(), calls.begin(), calls.end());
        return out;
    }
    case Kind::cut:
    case Kind::lower:
        model.resize(std::min(static_cast<size_t>(op.a), model.size()));
        return {};
    case Kind::pushFront:
        model.insert(model.begin(), op.element);
        return {};
    case Kind::swapHead:
        if (n > 0) {
            model[0] = op.element;
        }
        return {};
    }
    return {};
}

// What the list yields for op, applying op to it.
Observations perform(const Op& op, LinkedList*& list) {
    void* pElement = elementOf(op.element);
    auto code = [](const void* p) { return Observation{codeOf(p), true}; };
    auto number = [](long value) { return Observation{value, false}; };
    switch (op.kind) {
    case Kind::fresh:
        list = ll_newLinkedList();
        return {};
    case Kind::add:
        return {number(ll_add(list, pElement))};
    case Kind::insert:
        return {number(test_addNode(list, op.a, pElement))};
    case Kind::get:
        return {code(ll_get(list, op.a))};
    case Kind::node: {
        Node* node = test_getNode(list, op.a);
        return {node != nullptr ? code(node->pElement) : Observation{kNoNode, true}};
    }
    case Kind::pop:
        return {code(ll_pop(list, op.a))};
    case Kind::remove:
        return {number(ll_remove(list, op.a))};
    case Kind::len:
        return {number(ll_len(list))};
    case Kind::contains:
        return {number(ll_contains(list, pElement))};
    case Kind::indexOf:
        return {number(ll_indexOf(list, pElement))};
    case Kind::containsAll: {
        LinkedList* other = modelShapes::build(modelShapes::decode(op.a, kPool), list, elementOf);
        return {number(ll_containsAll(list, other))};
    }
    case Kind::subList: {
        LinkedList* sub = ll_subList(list, op.a, op.b);
        if (sub == nullptr) {
            return {number(0)};
        }
        Observations out = {number(1), number(ll_len(sub))};
        for (int i = 0; i < op.b - op.a; i++) {
            out.push_back(code(ll_get(sub, i)));
        }
        if (op.a < op.b) {
            out.push_back(number(test_getNode(sub, 0) != test_getNode(list, op.a) ? 1 : 0));
        }
        ll_add(sub, nullptr);
        return out;
    }
    case Kind::map:
    case Kind::count: {
        visits = 0;
        const int result = op.kind == Kind::map ? ll_map(list, visit) : ll_count(list, weight);
        Observations out = {number(result), number(visits)};
        for (int i = 0; i < visits && i < kMaxVisits; i++) {
            out.push_back(code(seen[i]));
        }
        return out;
    }
    case Kind::readAll: {
        const int length = ll_len(list);
        Observations out = {number(length)};
        for (int i = 0; i < length && i < kMaxVisits; i++) {
            out.push_back(code(ll_get(list, i)));
        }
        return out;
    }
    // The caller's edits keep what they take off, in a child that ends soon after.
    case Kind::cut:
        caseList::cutAfter(list, op.a);
        return {};
    case Kind::pushFront:
        caseList::pushFront(list, pElement);
        return {};
    case Kind::swapHead:
        caseList::swapHead(list, pElement);
        return {};
    case Kind::lower:
        list->size = std::min(op.a, list->size);
        return {};
    }
    return {};
}

// A random index for a list of n: mostly one that holds an element, now and then -1, n or n+1.
int randomIndex(std::mt19937_64& rng, int n, int past) {
    if (n == 0 || rng() % 5 == 0) {
        const int edges[] = {-1, n, n + 1};
        return edges[rng() % 3];
    }
    return static_cast<int>(rng() % static_cast<unsigned>(n + past));
}

// A random operation for a list of n elements.
Op randomOp(std::mt19937_64& rng, int n) {
    static constexpr Kind kWeighted[] = {
        Kind::add,      Kind::add,     Kind::add,         Kind::add,         Kind::insert,
        Kind::insert,   Kind::insert,  Kind::get,         Kind::get,         Kind::get,
        Kind::get,      Kind::node,    Kind::node,        Kind::pop,         Kind::pop,
        Kind::pop,      Kind::remove,  Kind::remove,      Kind::len,         Kind::contains,
        Kind::indexOf,  Kind::indexOf, Kind::map,         Kind::containsAll, Kind::subList,
        Kind::subList,  Kind::count,   Kind::readAll,     Kind::cut,         Kind::pushFront,
        Kind::swapHead, Kind::lower,   Kind::containsAll,
    };
    Op op{kWeighted[rng() % std::size(kWeighted)]};
    const bool grows =
        op.kind == Kind::add || op.kind == Kind::insert || op.kind == Kind::pushFront;
    if ((grows && n >= kMaxLength) || (op.kind == Kind::swapHead && n == 0)) {
        op.kind = Kind::get;
    }
    op.element = rng() % 4 == 0 ? kNull : static_cast<int>(rng() % kPool);
    switch (op.kind) {
    case Kind::insert:
        op.a = randomIndex(rng, n, 1);
        break;
    case Kind::get:
    case Kind::node:
    case Kind::pop:
    case Kind::remove:
        op.a = randomIndex(rng, n, 0);
        break;
    case Kind::subList:
        op.a = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
        op.b = op.a + static_cast<int>(rng() % static_cast<unsigned>(n - op.a + 1));
        // Now and then a range to refuse: from below 0, to past the length, or from past to.
        if (rng() % 5 == 0) {
            const auto bad = rng() % 3;
            op.a = bad == 0 ? -1 : (bad == 2 ? op.b + 1 : op.a);
            op.b = bad == 1 ? n + 1 : op.b;
        }
        break;
    case Kind::cut:
    case Kind::lower:
        op.a = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
        break;
    case Kind::containsAll:
        op.a = modelShapes::randomShape(rng);
        break;
    default:
        break;
    }
    return op;
}

// A random batch: kSequences times a new list (the first is made anyway), kSteps operations and
// a full read.
std::vector<Op> randomBatch(std::mt19937_64& rng) {
    std::vector<Op> ops;
    for (int sequence = 0; sequence < kSequences; sequence++) {
        if (sequence > 0) {
            ops.push_back({Kind::fresh});
        }
        std::vector<int> model;
        for (int i = 0; i < kSteps; i++) {
            ops.push_back(randomOp(rng, static_cast<int>(model.size())));
            expect(ops.back(), model);
        }
        ops.push_back({Kind::readAll});
    }
    return ops;
}

// How a sequence ended against the list.
struct Verdict {
    enum How { agreed, differed, crashed, hung, exited } how = agreed;
    int step = -1;        // the operation that disagreed, crashed or hung
    int observation = 0;  // differed: which of its observations
    Observation got{};    // differed: the list's
    Observation wanted{}; // differed: the model's
    int detail = 0;       // crashed: the signal; exited: the status
};

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
    const itimerval limit = {{0, 0}, {0, kChildCpuMs * 1000}};
    setitimer(ITIMER_PROF, &limit, nullptr);
    Verdict verdict;
    verdict.step = 0; // making the list counts as part of the first operation
    send(channel, verdict);
    LinkedList* list = ll_newLinkedList();
    std::vector<int> model;
    for (size_t i = 0; i < ops.size() && verdict.how == Verdict::agreed; i++) {
        verdict.step = static_cast<int>(i);
        send(channel, verdict);
        const Observations wanted = expect(ops[i], model);
        const Observations got = perform(ops[i], list);
        for (size_t j = 0; j < wanted.size(); j++) {
            if (j >= got.size() || got[j].value != wanted[j].value) {
                verdict = {Verdict::differed, static_cast<int>(i), static_cast<int>(j),
                           j < got.size() ? got[j] : Observation{0, false}, wanted[j]};
                break;
            }
        }
    }
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

// Reads the child's records until it closes the pipe, keeping the last; false when the child is
// still at it after kChildWallMs.
bool readVerdicts(int channel, Verdict& latest) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kChildWallMs);
    std::string bytes;
    char chunk[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{channel, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(std::max<long>(left.count(), 0)));
        if (polled == 0) {
            return false;
        }
        const ssize_t count = polled > 0 ? read(channel, chunk, sizeof chunk) : -1;
        if (count == 0 || (count < 0 && errno != EINTR)) {
            break;
        }
        bytes.append(chunk, count > 0 ? static_cast<size_t>(count) : 0);
    }
    if (bytes.size() >= sizeof latest) {
        memcpy(&latest, bytes.data() + (bytes.size() / sizeof latest - 1) * sizeof latest,
               sizeof latest);
    }
    return true;
}

// Runs ops in a child process and says how they ended; nothing when no child could be made.
std::optional<Verdict> run(const std::vector<Op>& ops) {
    int channel[2];
    if (pipe(channel) != 0) {
        return std::nullopt;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        close(channel[0]);
        close(channel[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        close(channel[0]);
        replay(ops, channel[1]);
    }
#ifdef COVERAGE_BUILD
    coverageWriters--;
#endif
    close(channel[1]);
    Verdict verdict;
    const bool ended = readVerdicts(channel[0], verdict);
    close(channel[0]);
    if (!ended) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!ended || (WIFSIGNALED(status) && WTERMSIG(status) == SIGPROF)) {
        verdict.how = Verdict::hung;
    } else if (WIFSIGNALED(status)) {
        verdict.how = Verdict::crashed;
        verdict.detail = WTERMSIG(status);
    } else if (WEXITSTATUS(status) != 0) {
        verdict.how = Verdict::exited;
        verdict.detail = WEXITSTATUS(status);
    }
    return verdict;
}

// The sequence cut down to a shortest one that still fails: chunks of it are dropped while it
// keeps failing, halving the chunks down to single operations, until no single operation can go.
// Stops early, with what it has, at the deadline.
std::vector<Op> shrink(std::vector<Op> ops, Verdict& verdict,
                       std::chrono::steady_clock::time_point deadline, bool& finished) {
    ops.resize(verdict.step + 1);
    // The sequence the failing step belongs to, on its own, most likely fails as well.
    size_t own = ops.size();
    while (own > 0 && ops[own - 1].kind != Kind::fresh) {
        own--;
    }
    if (own > 0) {
        const std::vector<Op> alone(ops.begin() + static_cast<long>(own), ops.end());
        const auto tried = run(alone);
        if (tried && tried->how != Verdict::agreed) {
            verdict = *tried;
            ops.assign(alone.begin(), alone.begin() + verdict.step + 1);
        }
    }
    size_t parts = 2;
    finished = false;
    while (std::chrono::steady_clock::now() < deadline) {
        if (ops.size() < 2) {
            finished = true;
            break;
        }
        const size_t chunk = (ops.size() + parts - 1) / parts;
        bool dropped = false;
        for (size_t start = 0;
             start < ops.size() && !dropped && std::chrono::steady_clock::now() < deadline;
             start += chunk) {
            std::vector<Op> candidate(ops.begin(), ops.begin() + static_cast<long>(start));
            candidate.insert(candidate.end(),
                             ops.begin() + static_cast<long>(std::min(start + chunk, ops.size())),
                             ops.end());
            const auto tried = run(candidate);
            if (tried && tried->how != Verdict::agreed) {
                verdict = *tried;
                candidate.resize(verdict.step + 1);
                ops = std::move(candidate);
                parts = std::max<size_t>(parts - 1, 2);
                dropped = true;
            }
        }
        if (!dropped) {
            if (parts >= ops.size()) {
                finished = true;
                break;
            }
            parts = std::min(parts * 2, ops.size());
        }
    }
    return ops;
}

// The C text of an element.
std::string elementText(int code) {
    if (code == kNull) {
        return "NULL";
    }
    if (code == kForeign) {
        return "otro puntero";
    }
    if (code == kNoNode) {
        return "ningun nodo (NULL)";
    }
    return "&e[" + std::to_string(code) + "]";
}

std::string observationText(const Observation& observation) {
    return observation.element ? elementText(static_cast<int>(observation.value))
                               : std::to_string(observation.value);
}

// A line of the emitted program, and which observation of its operation it asserts (-1: none).
struct Line {
    std::string text;
    int observation;
};

// The program's lines for op, asserting what the model expects of it.
std::vector<Line> emit(const Op& op, const Observations& wanted) {
    const std::string a = std::to_string(op.a);
    const std::string b = std::to_string(op.b);
    const std::string element = elementText(op.element);
    auto is = [&](size_t i) { return observationText(wanted[i]); };
    auto check = [](const std::string& test, int observation) {
        return Line{"    assert(" + test + ");", observation};
    };
    auto does = [](const std::string& call) { return Line{"    " + call + ";", -1}; };
    switch (op.kind) {
    case Kind::fresh:
        return {does("list = ll_newLinkedList()")};
    case Kind::add:
        return {check("ll_add(list, " + element + ") == " + is(0), 0)};
    case Kind::insert:
        return {check("test_addNode(list, " + a + ", " + element + ") == " + is(0), 0)};
    case Kind::get:
        return {check("ll_get(list, " + a + ") == " + is(0), 0)};
    case Kind::node:
        if (wanted[0].value == kNoNode) {
            return {check("test_getNode(list, " + a + ") == NULL", 0)};
        }
        return {check("test_getNode(list, " + a + ") != NULL && test_getNode(list, " + a +
                          ")->pElement == " + is(0),
                      0)};
    case Kind::pop:
        return {check("ll_pop(list, " + a + ") == " + is(0), 0)};
    case Kind::remove:
        return {check("ll_remove(list, " + a + ") == " + is(0), 0)};
    case Kind::len:
        return {check("ll_len(list) == " + is(0), 0)};
    case Kind::contains:
        return {check("ll_contains(list, " + element + ") == " + is(0), 0)};
    case Kind::indexOf:
        return {check("ll_indexOf(list, " + element + ") == " + is(0), 0)};
    case Kind::containsAll: {
        std::vector<Line> lines;
        for (const std::string& line :
             modelShapes::buildText(modelShapes::decode(op.a, kPool), elementText)) {
            lines.push_back(does(line));
        }
        lines.push_back(check("ll_containsAll(list, one) == " + is(0), 0));
        return lines;
    }
    case Kind::subList: {
        std::vector<Line> lines = {does("sub = ll_subList(list, " + a + ", " + b + ")")};
        if (wanted[0].value == 0) {
            lines.push_back(check("sub == NULL", 0));
            return lines;
        }
        lines.push_back(check("sub != NULL", 0));
        lines.push_back(check("ll_len(sub) == " + is(1), 1));
        for (int i = 0; i < op.b - op.a; i++) {
            lines.push_back(check("ll_get(sub, " + std::to_string(i) + ") == " + is(i + 2), i + 2));
        }
        if (op.a < op.b) {
            lines.push_back(check("test_getNode(sub, 0) != test_getNode(list, " + a + ")",
                                  static_cast<int>(wanted.size()) - 1));
        }
        lines.push_back(does("ll_add(sub, NULL)"));
        return lines;
    }
    case Kind::map:
    case Kind::count: {
        const std::string call =
            op.kind == Kind::map ? "ll_map(list, visit)" : "ll_count(list, weight)";
        std::vector<Line> lines = {does("visits = 0"), check(call + " == " + is(0), 0),
                                   check("visits == " + is(1), 1)};
        for (size_t i = 2; i < wanted.size(); i++) {
            lines.push_back(
                check("seen[" + std::to_string(i - 2) + "] == " + is(i), static_cast<int>(i)));
        }
        return lines;
    }
    case Kind::readAll: {
        std::vector<Line> lines = {check("ll_len(list) == " + is(0), 0)};
        for (size_t i = 1; i < wanted.size(); i++) {
            lines.push_back(check("ll_get(list, " + std::to_string(i - 1) + ") == " + is(i),
                                  static_cast<int>(i)));
        }
        return lines;
    }
    case Kind::cut:
        return {does("cutAfter(list, " + a + ")")};
    case Kind::pushFront:
        return {does("pushFront(list, " + element + ")")};
    case Kind::swapHead:
        return {does("swapHead(list, " + element + ")")};
    case Kind::lower:
        return {does("list->size = list->size < " + a + " ? list->size : " + a)};
    }
    return {};
}

// The helpers the emitted program defines, each for the one or two operations that use it.
struct Helper {
    Kind usedBy[2];
    const char* text;
};

constexpr Helper kHelpers[] = {
    {{Kind::map, Kind::count},
     "static void* seen[64];\n"
     "static int visits;\n"
     "static void visit(void* element) {\n"
     "    if (visits < 64) {\n"
     "        seen[visits] = element;\n"
     "    }\n"
     "    visits++;\n"
     "}\n"},
    {{Kind::count, Kind::count},
     "static int weight(void* element) {\n"
     "    visit(element);\n"
     "    return element != NULL ? *(int*)element : 1;\n"
     "}\n"},
    {{Kind::pushFront, Kind::swapHead},
     "static Node* newNode(void* element, Node* next) {\n"
     "    Node* node = malloc(sizeof(Node));\n"
     "    node->pElement = element;\n"
     "    node->pNextNode = next;\n"
     "    return node;\n"
     "}\n"},
    {{Kind::cut, Kind::cut},
     "/* El llamador deja los primeros count nodos (a lo sumo size) y suelta el resto. */\n"
     "static void cutAfter(LinkedList* list, int count) {\n"
     "    Node** link = &list->pFirstNode;\n"
     "    count = count < list->size ? count : list->size;\n"
     "    for (int i = 0; i < count && *link != NULL; i++) {\n"
     "        link = &(*link)->pNextNode;\n"
     "    }\n"
     "    *link = NULL;\n"
     "    list->size = count;\n"
     "}\n"},
    {{Kind::pushFront, Kind::pushFront},
     "/* El llamador encadena adelante un nodo propio. */\n"
     "static void pushFront(LinkedList* list, void* element) {\n"
     "    list->pFirstNode = newNode(element, list->pFirstNode);\n"
     "    list->size++;\n"
     "}\n"},
    {{Kind::swapHead, Kind::swapHead},
     "/* El llamador reemplaza el primer nodo por uno nuevo. */\n"
     "static void swapHead(LinkedList* list, void* element) {\n"
     "    if (list->pFirstNode != NULL) {\n"
     "        list->pFirstNode = newNode(element, list->pFirstNode->pNextNode);\n"
     "    }\n"
     "}\n"},
};

bool uses(const std::vector<Op>& ops, Kind kind) {
    for (const Op& op : ops) {
        if (op.kind == kind) {
            return true;
        }
    }
    return false;
}

// Appends text to the report a line at a time, each line ended with "\r\n".
void printLines(const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const size_t stop = end == std::string::npos ? text.size() : end;
        utest_print2("%.*s\r\n", static_cast<int>(stop - start), text.c_str() + start);
        start = stop + 1;
    }
}

// What went wrong at the failing step, in words.
std::string what(const Verdict& verdict) {
    switch (verdict.how) {
    case Verdict::differed:
        return "la lista da " + observationText(verdict.got) + " y el modelo " +
               observationText(verdict.wanted);
    case Verdict::crashed: {
        const char* name = sigabbrev_np(verdict.detail);
        return "la lista se cae: senal " + std::to_string(verdict.detail) + " (SIG" +
               (name != nullptr ? name : "?") + ")";
    }
    case Verdict::hung:
        return "la lista no termina (mas de " + std::to_string(kChildCpuMs) + " ms de CPU)";
    case Verdict::exited:
        return "el proceso termina con estado " + std::to_string(verdict.detail);
    case Verdict::agreed:
        break;
    }
    return "";
}

// Appends the failing sequence to the report as a C program that replays it, the failing line
// marked.
void report(const std::vector<Op>& ops, const Verdict& verdict, int batch, bool finished) {
    utest_print4("Chequeo contra un modelo: semilla %llu, tanda %d de %d, %s\r\n", probeSeed,
                 batch + 1, kBatches,
                 finished ? "reducida al minimo" : "reducida hasta agotar el tiempo");
    utest_print1("Repetirla: probeRunner --extended --seed %llu --case modelProbeCase01\r\n",
                 probeSeed);
    utest_print3("En el paso %d de %zu, %s.\r\n", verdict.step + 1, ops.size(),
                 what(verdict).c_str());
    utest_print("La secuencia como programa en C (compilarlo junto con la lista):\r\n");
    std::string program = "#include <assert.h>\n#include <stdlib.h>\n#include \"LinkedList.h\"\n\n";
    program += "static int e[" + std::to_string(kPool) + "] = {";
    for (int i = 0; i < kPool; i++) {
        program += std::to_string(pool[i]) + (i + 1 < kPool ? ", " : "};\n");
    }
    for (const Helper& helper : kHelpers) {
        bool needed = false;
        for (Kind kind : helper.usedBy) {
            needed = needed || uses(ops, kind);
        }
        program += needed ? std::string("\n") + helper.text : "";
    }
    program += "\nint main(void) {\n    LinkedList* list = ll_newLinkedList();\n";
    program += uses(ops, Kind::subList) ? "    LinkedList* sub;\n" : "";
    program += uses(ops, Kind::containsAll) ? "    LinkedList* one;\n" : "";
    std::vector<int> model;
    for (size_t i = 0; i < ops.size(); i++) {
        const std::vector<Line> lines = emit(ops[i], expect(ops[i], model));
        for (size_t j = 0; j < lines.size(); j++) {
            program += lines[j].text;
            const bool failing =
                static_cast<int>(i) == verdict.step &&
                (verdict.how == Verdict::differed ? lines[j].observation == verdict.observation
                                                  : j == 0);
            program += failing ? " /* <- " + what(verdict) + " */\n" : "\n";
        }
    }
    program += "    return 0;\n}\n";
    printLines(program);
}

} // namespace

void modelProbeSetup() {
    utest_print("Setup...\r\n");
}

// Random sequences agree with the model; the first that does not is reported cut down.
void modelProbeCase01() {
    const auto deadline = std::chrono::steady_clock::now() + kBudget;
    std::mt19937_64 rng(probeSeed);
    int agreed = 1;
    bool started = true;
    for (int batch = 0; batch < kBatches && agreed == 1; batch++) {
        const std::vector<Op> ops = randomBatch(rng);
        auto verdict = run(ops);
        started = verdict.has_value();
        if (!started) {
            break;
        }
        if (verdict->how != Verdict::agreed) {
            bool finished = false;
            const std::vector<Op> shortest = shrink(ops, *verdict, deadline, finished);
            report(shortest, *verdict, batch, finished);
            agreed = 0;
        }
    }
    utest_assertEqualsIntMsg(started ? 1 : 0, 1, kNoChildMsg);
    utest_assertEqualsIntMsg(agreed, 1, kDisagreesMsg);
}
