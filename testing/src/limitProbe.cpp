// Lists at the limits of their numbers: lengths, indices and sums past what a narrower integer
// than int holds (255, 32767, 65535), and a size at or next to INT_MAX. The long list is one
// list of the caller's own nodes, walked by every operation once, in a child process of the case:
// its seventy thousand blocks would swamp the runner's heap count, and the child ends with them.
#include "caseList.h"
#include "caseRows.h"
#include "probeChild.h"

#include <climits>

using caseRows::id;
using caseRows::Row;

// The messages the assertions report with.
static const char SUM_MSG[] = "\nError en el valor de retorno de <count>: la suma de 200, 100, "
                              "30000 y 40000 es 70300\n";

namespace {

// The long list: more elements than an unsigned short counts, its elements the addresses of
// cells, so that element i is &cells[i]; two cells more for elements it does not hold, and two
// for the nodes chained past its size.
constexpr int LONG = 70000;
constexpr int PAST = LONG + 2;
char cells[LONG + 4];

// The callbacks: each call must get the next element in order.
int calls;
int misordered;

void visitInOrder(void* pElement) {
    misordered += pElement != &cells[calls] ? 1 : 0;
    calls++;
}

int countInOrder(void* pElement) {
    visitInOrder(pElement);
    return 1;
}

int countOne(void*) {
    return 1;
}

// The sum callback: the int the element points to.
int valueOf(void* pElement) {
    return *static_cast<int*>(pElement);
}

// A long list chained by hand from the caller's own nodes: LONG elements, &cells[i] at i, or
// all of them &cells[0]; then two more nodes past size (&cells[PAST] and &cells[PAST + 1]),
// which a walk that counts its steps in a narrower type than int reaches. The caller keeps those
// two in past and frees them after disposal.
LinkedList* longList(bool same, Node* past[2]) {
    past[1] = caseList::newNode(&cells[PAST + 1], nullptr);
    past[0] = caseList::newNode(&cells[PAST], past[1]);
    Node* next = past[0];
    for (int i = LONG - 1; i >= 0; i--) {
        next = caseList::newNode(&cells[same ? 0 : i], next);
    }
    LinkedList* list = ll_newLinkedList();
    list->pFirstNode = next;
    list->size = LONG;
    return list;
}

// Disposes of a long list and frees its nodes past size; what disposal answered.
int dispose(LinkedList* list, Node* past[2]) {
    const int disposed = ll_deleteLinkedList(list);
    free(past[0]);
    free(past[1]);
    return disposed;
}

// ll_containsAll, ll_count and disposal walk a second long list, all of whose elements a list of
// one element holds, up to its size and no further.
bool sameListHolds(char* why, size_t size) {
    Node* past[2];
    LinkedList* list = longList(true, past);
    caseList::ListGuard first(ll_newLinkedList());
    ll_add(first.list, &cells[0]);
    const Row rows[] = {
        {"ll_containsAll({elemento 0}, 70000 veces el elemento 0)",
         ll_containsAll(first.list, list), 1},
        {"ll_count(list, f) con 70000 veces el elemento 0", ll_count(list, countOne), LONG},
        {"ll_deleteLinkedList(list) con 70000 veces el elemento 0", dispose(list, past), 0},
    };
    return caseRows::firstWrong(rows, why, size) < 0;
}

// Every operation on the long list, at indices past 32767 and 65535; false with why on the first
// wrong result.
bool longListHolds(char* why, size_t size) {
    Node* past[2];
    LinkedList* list = longList(false, past);
    calls = misordered = 0;
    const int mapped = ll_map(list, visitInOrder);
    const Row mapRows[] = {
        {"ll_map(list, f) con 70000 elementos", mapped, 0},
        {"llamadas de ll_map a f", calls, LONG},
        {"llamadas de ll_map a f fuera de orden", misordered, 0},
    };
    calls = misordered = 0;
    const int counted = ll_count(list, countInOrder);
    caseList::ListGuard last(ll_newLinkedList());
    ll_add(last.list, &cells[LONG - 1]);
    ll_add(last.list, &cells[0]);
    caseList::ListGuard absent(ll_newLinkedList());
    ll_add(absent.list, &cells[LONG]);
    caseList::ListGuard slice(ll_subList(list, 65530, 65540));
    const Row rows[] = {
        {"ll_count(list, f) con 70000 elementos", counted, LONG},
        {"llamadas de ll_count a f", calls, LONG},
        {"llamadas de ll_count a f fuera de orden", misordered, 0},
        {"ll_len(list)", ll_len(list), LONG},
        {"ll_get(list, 69999)", id(ll_get(list, LONG - 1)), id(&cells[LONG - 1])},
        {"ll_get(list, 40000)", id(ll_get(list, 40000)), id(&cells[40000])},
        {"test_getNode(list, 70000)", id(test_getNode(list, LONG)), id(nullptr)},
        {"ll_indexOf(list, elemento 69999)", ll_indexOf(list, &cells[LONG - 1]), LONG - 1},
        {"ll_indexOf(list, elemento ausente)", ll_indexOf(list, &cells[LONG]), -1},
        {"ll_contains(list, elemento 69999)", ll_contains(list, &cells[LONG - 1]), 1},
        {"ll_contains(list, elemento mas alla de size)", ll_contains(list, &cells[PAST]), 0},
        {"ll_indexOf(list, elemento mas alla de size)", ll_indexOf(list, &cells[PAST]), -1},
        {"ll_containsAll(list, {69999, 0})", ll_containsAll(list, last.list), 1},
        {"ll_containsAll(list, {ausente})", ll_containsAll(list, absent.list), 0},
        {"ll_len(ll_subList(list, 65530, 65540))", ll_len(slice.list), 10},
        {"ll_get(ll_subList(list, 65530, 65540), 9)", id(ll_get(slice.list, 9)), id(&cells[65539])},
        {"test_addNode(list, 65536, e)", test_addNode(list, 65536, &cells[LONG]), 0},
        {"ll_get(list, 65536) luego de insertar ahi", id(ll_get(list, 65536)), id(&cells[LONG])},
        {"ll_get(list, 65537) luego de insertar en 65536", id(ll_get(list, 65537)),
         id(&cells[65536])},
        {"ll_len(list) luego de insertar", ll_len(list), LONG + 1},
        {"ll_pop(list, 65536)", id(ll_pop(list, 65536)), id(&cells[LONG])},
        {"ll_remove(list, 69999), el ultimo", ll_remove(list, LONG - 1), 0},
        {"ll_add(list, e) luego de quitar el ultimo", ll_add(list, &cells[LONG + 1]), 0},
        {"ll_get(list, 69999) luego de <add>", id(ll_get(list, LONG - 1)), id(&cells[LONG + 1])},
        {"ll_get(list, 69998)", id(ll_get(list, LONG - 2)), id(&cells[LONG - 2])},
        {"ll_len(list) al final", ll_len(list), LONG},
        {"ll_deleteLinkedList(list)", dispose(list, past), 0},
    };
    return caseRows::firstWrong(mapRows, why, size) < 0 &&
           caseRows::firstWrong(rows, why, size) < 0 && sameListHolds(why, size);
}

} // namespace

void limitProbeSetup() {
    utest_print("Setup...\r\n");
}

// A list of 70000 elements, two more nodes chained past its size: every operation reaches past
// the indices a short or an unsigned short holds, stops at size, and calls the callbacks once
// per element, in order.
void limitProbeCase01() {
    char why[256] = "";
    const int held = probeChild::holds(longListHolds, why, sizeof why);
    utest_assertEqualsIntMsg(held, 1, why);
}

// Sums past 255, 32767 and 65535 from a few elements.
void limitProbeCase02() {
    static int values[] = {200, 100, 30000, 40000};
    caseList::ListGuard list(ll_newLinkedList());
    for (int& value : values) {
        ll_add(list.list, &value);
    }
    utest_assertEqualsIntMsg(ll_count(list.list, valueOf), 70300, SUM_MSG);
}

// A size the caller wrote as INT_MAX over a chain of two: the list is full, nothing is added and
// size stays; written as INT_MAX - 1, one insertion fills it. Then size is written back to the
// chain's length and the list disposed of.
void limitProbeCase03() {
    caseList::Staff staff;
    LinkedList* list = ll_newLinkedList();
    list->pFirstNode = caseList::newNode(staff[0], caseList::newNode(staff[1], nullptr));
    list->size = INT_MAX;
    caseList::ListGuard front(ll_subList(list, 0, 2));
    const Row full[] = {
        {"ll_len(list) con size INT_MAX", ll_len(list), INT_MAX},
        {"ll_add(list, e) con size INT_MAX", ll_add(list, staff[2]), -1},
        {"test_addNode(list, 0, e) con size INT_MAX", test_addNode(list, 0, staff[2]), -1},
        {"test_addNode(list, 2, e) con size INT_MAX", test_addNode(list, 2, staff[2]), -1},
        {"size luego de agregar a una lista llena", list->size, INT_MAX},
        {"ll_get(list, 1) con size INT_MAX", id(ll_get(list, 1)), id(staff[1])},
        {"ll_get(list, INT_MAX)", id(ll_get(list, INT_MAX)), id(nullptr)},
        {"ll_pop(list, INT_MAX)", id(ll_pop(list, INT_MAX)), id(nullptr)},
        {"ll_remove(list, INT_MAX)", ll_remove(list, INT_MAX), -1},
        {"ll_len(ll_subList(list, 0, 2)) con size INT_MAX", ll_len(front.list), 2},
        {"ll_get(ll_subList(list, 0, 2), 1)", id(ll_get(front.list, 1)), id(staff[1])},
    };
    char msg[256];
    utest_assertEqualsIntMsg(caseRows::firstWrong(full, msg, sizeof msg), -1, msg);
    list->size = INT_MAX - 1;
    const Row almost[] = {
        {"test_addNode(list, 0, e) con size INT_MAX - 1", test_addNode(list, 0, staff[2]), 0},
        {"size luego de llenarla", list->size, INT_MAX},
        {"ll_get(list, 0) luego de llenarla", id(ll_get(list, 0)), id(staff[2])},
        {"ll_add(list, e) luego de llenarla", ll_add(list, staff[3]), -1},
        {"ll_pop(list, 0) de la lista llena", id(ll_pop(list, 0)), id(staff[2])},
        {"size luego de <pop>", list->size, INT_MAX - 1},
    };
    utest_assertEqualsIntMsg(caseRows::firstWrong(almost, msg, sizeof msg), -1, msg);
    list->size = 2;
    caseList::disposeEmptied(list);
}
