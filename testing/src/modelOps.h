// The model check's parts (see modelProbe.cpp): the operations it draws, each with what the model
// expects of it, how it is performed on the list and how it is written in C; the sequences' runs
// in child processes; cutting a failing sequence down; and writing it as a C program.
#ifndef MODELOPS_H
#define MODELOPS_H

#include "LinkedList.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace modelCheck {

// How much checking a run does, and how long each part may take.
constexpr int BATCHES = 10;         // child processes the search takes
constexpr int SEQUENCES = 30;       // sequences of a batch, each on a new list
constexpr int STEPS = 40;           // random operations per sequence, then a full read
constexpr int MAX_LENGTH = 12;      // no operation adds an element to a list this long
constexpr long CHILD_CPU_MS = 50;   // CPU time a child may spend before it counts as hung
constexpr int CHILD_WALL_MS = 2000; // and wall-clock time, for a child that blocks instead
constexpr int MAX_VISITS = 64;

// The elements: a few ints whose values serve ll_count, and null.
extern int pool[5];
constexpr int POOL = sizeof pool / sizeof pool[0];
constexpr int NULL_ELEMENT = -1; // the code of the null element
constexpr int FOREIGN = -2;      // the code of a pointer that is no element (a node, a copy)
constexpr int NO_NODE = -3;      // test_getNode's null, told apart from a node holding null

// The operations, in the order of their rows in the table (modelOps.cpp).
enum class Kind : uint8_t {
    add,         // ll_add(element), whose result is checked as inc/LinkedList.h documents it
    insert,      // test_addNode(a, element)
    get,         // ll_get(a)
    node,        // test_getNode(a)
    pop,         // ll_pop(a)
    remove,      // ll_remove(a)
    len,         // ll_len
    contains,    // ll_contains(element)
    indexOf,     // ll_indexOf(element)
    map,         // ll_map(visit): its result, then its calls
    containsAll, // ll_containsAll with a second list of shape a (modelShapes)
    subList,     // ll_subList(a, b), read, then appended to
    count,       // ll_count(weight): its result, then its calls
    readAll,     // ll_len and ll_get at every index
    cut,         // the caller cuts the chain after a nodes (caseList::cutAfter)
    pushFront,   // the caller chains a node in front (caseList::pushFront)
    swapHead,    // the caller replaces the first node (caseList::swapHead)
    replaceNode, // the caller replaces node a and frees it (caseList::replaceNode), then ll_len
    swapNext,    // the caller relinks nodes a and a+1 to change places (caseList::swapNext), ll_len
    lower,       // the caller writes size down to a, leaving the nodes past it chained
    fresh,       // a new list from ll_newLinkedList, in place of the one so far
};

struct Op {
    Kind kind;
    int a = 0;
    int b = 0;
    int element = NULL_ELEMENT;
};

// One result an operation yields: a number, or an element's code.
struct Observation {
    long value;
    bool element;
};
using Observations = std::vector<Observation>;

// A line of the emitted program, and which observation of its operation it asserts (-1: none).
struct Line {
    std::string text;
    int observation;
};

// What the emitted program defines for the operations that need it: at file scope, and locals
// of main. Each operation names the ones it uses.
enum Helper : unsigned {
    VISIT_HELPER = 1U << 0,
    WEIGHT_HELPER = 1U << 1,
    NEW_NODE_HELPER = 1U << 2,
    CUT_AFTER_HELPER = 1U << 3,
    PUSH_FRONT_HELPER = 1U << 4,
    SWAP_HEAD_HELPER = 1U << 5,
    SUB_LOCAL = 1U << 6,
    ONE_LOCAL = 1U << 7,
    LINK_TO_HELPER = 1U << 8,
    REPLACE_NODE_HELPER = 1U << 9,
    SWAP_NEXT_HELPER = 1U << 10,
};

// An operation: how often it is drawn, how its operands are, what the model says it yields (and
// does to the model's elements, their codes), what the list yields for it (and does to the list),
// how the program writes it, asserting what the model expects, and what the program must define
// for it.
struct Operation {
    Kind kind;
    int weight;     // chances in a draw
    int lateWeight; // chances after every operation's first ones
    bool (*fits)(int length);
    void (*draw)(Op& op, std::mt19937_64& rng, int length);
    Observations (*expect)(const Op& op, std::vector<int>& model);
    Observations (*perform)(const Op& op, LinkedList*& list);
    std::vector<Line> (*write)(const Op& op, const Observations& wanted);
    unsigned helpers;
};

const Operation& operation(Kind kind);

// A random operation for a list of length elements.
Op randomOp(std::mt19937_64& rng, int length);

// The C text of an element, and of an observation.
std::string elementText(int code);
std::string observationText(const Observation& observation);

// How a sequence ended against the list.
struct Verdict {
    // hung: past its CPU time; blocked: waiting, on nothing that comes, past its wall-clock time
    enum How { agreed, differed, crashed, hung, blocked, exited } how = agreed;
    int step = -1;        // the operation that disagreed, crashed, hung or blocked
    int observation = 0;  // differed: which of its observations
    Observation got{};    // differed: the list's
    Observation wanted{}; // differed: the model's
    int detail = 0;       // crashed: the signal; exited: the status
    // agreed: every observation the list gave, hashed as the assertions note their values, so
    // that the grader compares the answers themselves with a trusted list's.
    unsigned long long observed = 0;
    unsigned long long digest = 0;
};

// Runs ops in a child process and says how they ended; nothing when no child could be made.
std::optional<Verdict> run(const std::vector<Op>& ops);

// The sequence cut down to a shortest one that still fails, verdict its failure; finished says
// whether it got there before the deadline.
std::vector<Op> shrink(std::vector<Op> ops, Verdict& verdict,
                       std::chrono::steady_clock::time_point deadline, bool& finished);

// Appends the failing sequence to the report as a C program that replays it, the failing line
// marked.
void report(const std::vector<Op>& ops, const Verdict& verdict, int batch, bool finished);

} // namespace modelCheck

#endif
