// A list in surroundings the other groups keep tame: errno left at a failure's value before every
// call, callbacks that call into the list they are walked by and into another list, elements
// whose addresses lie far apart or share their low 32 bits, and ll_count's sums at the INT_MAX
// the header holds them to. A list's results must depend on none of it.
#include "caseRows.h"
#include "stateObserver.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <initializer_list>

using caseRows::id;
using caseRows::Row;

namespace {

// Fewer sequences than observeProbe's: the walk is the same, only errno differs.
constexpr int SEQUENCES = 60;
constexpr int STEPS = 40;

const char ERRNO_MSG[] =
    "\nError: la lista responde segun lo que errno tenia antes de la llamada de arriba\n";
const char ANY_ERRNO_MSG[] =
    "\nError: la lista no queda como deberia luego de la llamada de arriba, tambien con errno 0\n";

// The list the callbacks are handed by ll_map and ll_count, and what they find in it: its elements
// in order, one element it does not hold, and a second list each visited element is appended to.
struct Reentry {
    LinkedList* walked = nullptr;
    LinkedList* other = nullptr;
    const std::vector<void*>* elements =
        nullptr; // the case's own model, so nothing stays allocated
    void* absent = nullptr;
    int calls = 0;
    char why[256] = "";
};
Reentry reentry;

int innerVisits;

void countVisit(void*) {
    innerVisits++;
}

int one(void*) {
    return 1;
}

// The calls a callback makes into the list it is walked by, checked row by row; the first wrong
// row is kept in why, with the visit it came in.
void lookAround(void* element) {
    Reentry& r = reentry;
    const int k = r.calls++;
    if (r.why[0] != '\0') {
        return;
    }
    const std::vector<void*>& elements = *r.elements;
    const int n = static_cast<int>(elements.size());
    int first = 0;
    while (first < n && elements[static_cast<size_t>(first)] != element) {
        first++;
    }
    innerVisits = 0;
    const Node* node = test_getNode(r.walked, k);
    // The calls that move a position a list may keep come last, so that a walk kept there is
    // left somewhere else when the callback returns.
    const Row rows[] = {
        {"el elemento que recibe f", id(element), k < n ? id(elements[static_cast<size_t>(k)]) : 0},
        {"test_getNode(list, i)->pElement", node != nullptr ? id(node->pElement) : -1, id(element)},
        {"ll_get(list, i)", id(ll_get(r.walked, k)), id(element)},
        {"ll_len(list)", ll_len(r.walked), n},
        {"ll_indexOf(list, elemento recibido)", ll_indexOf(r.walked, element), first},
        {"ll_contains(list, elemento recibido)", ll_contains(r.walked, element), 1},
        {"ll_contains(list, elemento ausente)", ll_contains(r.walked, r.absent), 0},
        {"ll_indexOf(list, elemento ausente)", ll_indexOf(r.walked, r.absent), -1},
        {"ll_containsAll(list, list)", ll_containsAll(r.walked, r.walked), 1},
        {"ll_add(otra lista, elemento recibido)", ll_add(r.other, element), 0},
        {"ll_get(list, 0)", id(ll_get(r.walked, 0)), id(elements.front())},
        {"ll_get(list, size - 1)", id(ll_get(r.walked, n - 1)), id(elements.back())},
        {"ll_count(list, g)", ll_count(r.walked, one), n},
        {"ll_map(list, g)", ll_map(r.walked, countVisit), 0},
        {"llamadas de ll_map a g", innerVisits, n},
    };
    char row[200];
    if (caseRows::firstWrong(rows, row, sizeof row) >= 0) {
        snprintf(r.why, sizeof r.why, "\nDentro de la llamada %d de f:%s", k + 1, row);
    }
}

int lookAroundCounting(void* element) {
    lookAround(element);
    return 1;
}

// ll_map's or ll_count's walk with a callback that calls into the walked list and the other:
// why stays empty when every call inside agreed, the walk visited each element once, the walked
// list is as it was and the other list holds what was appended to it.
void walkAround(const farElements::Elements& pool, stateObserver::Tracked& walked,
                stateObserver::Tracked& other, bool counting) {
    Reentry& r = reentry;
    r.calls = 0;
    const int n = static_cast<int>(walked.elements.size());
    const Row rows[] = {
        {counting ? "ll_count(list, f)" : "ll_map(list, f)",
         counting ? ll_count(walked.list, lookAroundCounting) : ll_map(walked.list, lookAround),
         counting ? n : 0},
        {"llamadas a f", r.calls, n},
    };
    char row[200];
    if (r.why[0] != '\0') {
        return;
    }
    if (caseRows::firstWrong(rows, row, sizeof row) >= 0) {
        snprintf(r.why, sizeof r.why, "%s", row);
        return;
    }
    other.elements.insert(other.elements.end(), walked.elements.begin(), walked.elements.end());
    for (const stateObserver::Tracked* t : {&walked, &other}) {
        const std::string wrong = stateObserver::differences(pool, *t);
        if (!wrong.empty()) {
            snprintf(r.why, sizeof r.why, "\nLuego de %s: %s\n", rows[0].call, wrong.c_str());
            return;
        }
    }
}

// The sum callback: the int an element points to, 0 for a null one.
int valueOf(void* pElement) {
    return pElement != nullptr ? *static_cast<int*>(pElement) : 0;
}

// The list calls made once countOf's ll_count answered, for its row to blame that call rather
// than the disposal after it.
unsigned countedAt = 0;

// What ll_count answers for a new list of these results, in order.
int countOf(std::initializer_list<int> results) {
    static int values[8];
    caseList::ListGuard list(ll_newLinkedList(), "results");
    int at = 0;
    for (int result : results) {
        values[at] = result;
        char name[24];
        snprintf(name, sizeof name, "result %d", result);
        utest_name(&values[at], name);
        ll_add(list.list, &values[at++]);
    }
    const int sum = ll_count(list.list, valueOf);
    countedAt = utest_listCallsMade();
    return sum;
}

} // namespace

void surroundProbeSetup() {
    utest_print("Setup...\r\n");
}

// The observed sequences of observeProbe, with errno set before every call to a value a failure
// leaves there: the results and the state must be those errno 0 gives.
void surroundProbeCase01() {
    const farElements::Elements pool;
    const std::string report = stateObserver::Walk(pool, true).run(SEQUENCES, STEPS);
    // errno is to blame only where the same sequences go right with errno 0.
    const bool errnoMatters =
        report.empty() || stateObserver::Walk(pool, false).run(SEQUENCES, STEPS).empty();
    if (!report.empty()) {
        stateObserver::printReport("Llamadas con errno distinto de 0", "surroundProbeCase01",
                                   report);
    }
    utest_assertEqualsIntMsg(report.empty() ? 1 : 0, 1, errnoMatters ? ERRNO_MSG : ANY_ERRNO_MSG);
}

// Callbacks of ll_map and ll_count that read the list walking them, walk it again, and append to
// another list: every read answers as outside a walk, the walk goes on where it was, and both
// lists end as the model says.
void surroundProbeCase02() {
    const farElements::Elements pool;
    caseList::ListGuard walkedList(ll_newLinkedList(), "list");
    caseList::ListGuard otherList(ll_newLinkedList(), "other");
    caseList::nameCallback(one, "g");
    caseList::nameCallback(countVisit, "g");
    stateObserver::Tracked walked;
    walked.list = walkedList.list;
    walked.elements = {pool[0], nullptr, pool[3], pool[0], pool[5], pool[7]};
    stateObserver::Tracked other;
    other.list = otherList.list;
    other.name = 'B';
    other.elements = {pool[1]};
    for (void* element : walked.elements) {
        ll_add(walked.list, element);
    }
    ll_add(other.list, pool[1]);
    reentry = Reentry{};
    reentry.walked = walked.list;
    reentry.other = other.list;
    reentry.elements = &walked.elements;
    reentry.absent = pool[2];
    walkAround(pool, walked, other, false);
    if (reentry.why[0] == '\0') {
        walkAround(pool, walked, other, true);
    }
    utest_assertEqualsIntMsg(reentry.why[0] == '\0' ? 1 : 0, 1, reentry.why);
}

// Elements in pages far apart, some with the same low 32 bits, one whose low 32 bits are 0:
// two lists, each holding the other's twins, one in an order drawn from the seed, the other
// from the highest address down, are searched for every element and null.
void surroundProbeCase03() {
    const farElements::Elements pool;
    void* firstHalf[] = {pool[0], pool[2], pool[4], pool[6], nullptr};
    void* secondHalf[] = {pool[5], pool[3], pool[1], pool[7]};
    std::mt19937_64 rng(probeSeed);
    std::shuffle(std::begin(firstHalf), std::end(firstHalf), rng);
    std::ranges::sort(secondHalf, std::less<>{},
                      [](void* element) { return reinterpret_cast<uintptr_t>(element); });
    caseList::ListGuard shuffled(ll_newLinkedList());
    caseList::ListGuard descending(ll_newLinkedList());
    for (void* element : firstHalf) {
        ll_add(shuffled.list, element);
    }
    for (void* element : secondHalf) {
        test_addNode(descending.list, 0, element);
    }
    auto position = [](void* const* elements, int count, const void* element) {
        for (int i = 0; i < count; i++) {
            if (elements[i] == element) {
                return i;
            }
        }
        return -1;
    };
    char msg[256];
    int wrong = -1;
    for (int e = 0; e <= farElements::COUNT && wrong < 0; e++) {
        void* element = e < farElements::COUNT ? pool[e] : nullptr;
        const int inFirst = position(firstHalf, 5, element);
        const int inSecond = position(secondHalf, 4, element);
        const Row rows[] = {
            {"ll_indexOf(lista mezclada, elemento)", ll_indexOf(shuffled.list, element), inFirst},
            {"ll_contains(lista mezclada, elemento)", ll_contains(shuffled.list, element),
             inFirst >= 0 ? 1 : 0},
            {"ll_get(lista mezclada, indice del elemento)", id(ll_get(shuffled.list, inFirst)),
             inFirst >= 0 ? id(element) : 0},
            {"ll_indexOf(lista descendente, elemento)", ll_indexOf(descending.list, element),
             inSecond >= 0 ? 3 - inSecond : -1},
            {"ll_contains(lista descendente, elemento)", ll_contains(descending.list, element),
             inSecond >= 0 ? 1 : 0},
        };
        wrong = caseRows::firstWrong(rows, msg, sizeof msg);
        if (wrong >= 0) {
            snprintf(msg + strlen(msg), sizeof msg - strlen(msg), " con el elemento %d\n", e);
        }
    }
    utest_assertEqualsIntMsg(wrong, -1, msg);
    caseList::ListGuard front(ll_subList(shuffled.list, 0, 3));
    const Row both[] = {
        {"ll_containsAll(lista mezclada, lista descendente)",
         ll_containsAll(shuffled.list, descending.list), 0},
        {"ll_containsAll(lista descendente, lista mezclada)",
         ll_containsAll(descending.list, shuffled.list), 0},
        {"ll_containsAll(lista mezclada, ll_subList(lista mezclada, 0, 3))",
         ll_containsAll(shuffled.list, front.list), 1},
        {"ll_containsAll(ll_subList(lista mezclada, 0, 3), lista mezclada)",
         ll_containsAll(front.list, shuffled.list), 0},
    };
    utest_assertEqualsIntMsg(caseRows::firstWrong(both, msg, sizeof msg), -1, msg);
}

// ll_count at the limit the header sets: sums that reach or pass INT_MAX are held there, whatever
// a 32-bit sum would have wrapped to, and results not above 0 never bring it down.
void surroundProbeCase04() {
    constexpr int HALF = 1 << 30;
    const Row rows[] = {
        {"ll_count de {INT_MAX}", countOf({INT_MAX}), INT_MAX, countedAt},
        {"ll_count de {INT_MAX - 1, 1}", countOf({INT_MAX - 1, 1}), INT_MAX, countedAt},
        {"ll_count de {INT_MAX, 1}", countOf({INT_MAX, 1}), INT_MAX, countedAt},
        {"ll_count de {1, INT_MAX}", countOf({1, INT_MAX}), INT_MAX, countedAt},
        {"ll_count de {2^30, 2^30 - 1}", countOf({HALF, HALF - 1}), INT_MAX, countedAt},
        {"ll_count de {2^30, 2^30}", countOf({HALF, HALF}), INT_MAX, countedAt},
        {"ll_count de {INT_MAX, INT_MAX, 2}", countOf({INT_MAX, INT_MAX, 2}), INT_MAX, countedAt},
        {"ll_count de {INT_MAX, INT_MAX, 7}", countOf({INT_MAX, INT_MAX, 7}), INT_MAX, countedAt},
        {"ll_count de {INT_MAX, -5}", countOf({INT_MAX, -5}), INT_MAX, countedAt},
        {"ll_count de {INT_MAX, 1, INT_MIN}", countOf({INT_MAX, 1, INT_MIN}), INT_MAX, countedAt},
        {"ll_count de {INT_MIN, INT_MAX, 0}", countOf({INT_MIN, INT_MAX, 0}), INT_MAX, countedAt},
        {"ll_count de tres veces 1500000000", countOf({1500000000, 1500000000, 1500000000}),
         INT_MAX, countedAt},
        {"ll_count de {2^30, -1, 2^30 - 2}", countOf({HALF, -1, HALF - 2}), INT_MAX - 1, countedAt},
    };
    char msg[256];
    utest_assertEqualsIntMsg(caseRows::firstWrong(rows, msg, sizeof msg), -1, msg);
}
