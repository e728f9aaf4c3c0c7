// A list whose size the caller wrote down without cutting the chain: the nodes past size are no
// elements, and no function may read them as elements, unlink, change or free them. The case
// keeps them and frees them itself once the list is disposed of.
#include "caseList.h"
#include "caseRows.h"

using caseRows::id;
using caseRows::Row;

// The messages the assertions report with.
static const char DISPOSED_MSG[] = "\nError en el valor de retorno de <deleteLinkedList> si la "
                                   "lista tiene nodos mas alla de size, debe ser 0\n";
static const char UNTOUCHED_MSG[] =
    "\nError: una funcion de la lista cambio o libero un nodo encadenado mas alla de size\n";

namespace {

// The callbacks: count their calls.
int calls;
void called(void*) {
    calls++;
}
int one(void*) {
    calls++;
    return 1;
}

// The node after node, or null for no node.
Node* nextOf(const Node* node) {
    return node != nullptr ? node->pNextNode : nullptr;
}

// Five employees appended, then size written down to 3: the last two nodes stay chained past
// size, and the case keeps them as they were.
struct ShortenedList {
    ShortenedList() : list(ll_newLinkedList()) {
        for (int i = 0; i < 5; i++) {
            ll_add(list, staff[i]);
        }
        for (int k = 0; k < 2; k++) {
            past[k] = test_getNode(list, 3 + k);
            kept[k] = past[k] != nullptr ? *past[k] : Node{};
        }
        list->size = 3;
    }
    // Disposes of the list, then frees the nodes past size; once the case has failed the list may
    // have freed them already, and both are left alone.
    ~ShortenedList() {
        caseList::disposeEmptied(list);
        if (utest_flagTestError == 0) {
            free(past[0]);
            free(past[1]);
        }
    }
    ShortenedList(const ShortenedList&) = delete;
    ShortenedList& operator=(const ShortenedList&) = delete;

    // 1 when the nodes past size hold what they held, chained as they were.
    int untouched() const {
        for (int k = 0; k < 2; k++) {
            if (past[k] == nullptr || past[k]->pElement != kept[k].pElement ||
                past[k]->pNextNode != kept[k].pNextNode) {
                return 0;
            }
        }
        return 1;
    }

    caseList::Staff staff;
    LinkedList* list;
    Node* past[2];
    Node kept[2];
};

} // namespace

void pastSizeProbeSetup() {
    utest_print("Setup...\r\n");
}

// Reads, lookups, callbacks and sub-lists see three elements and leave the other two nodes alone.
void pastSizeProbeCase01() {
    ShortenedList s;
    LinkedList* list = s.list;
    caseList::ListGuard fourth(ll_newLinkedList());
    ll_add(fourth.list, s.staff[3]);
    caseList::ListGuard front(ll_subList(list, 0, 3));
    calls = 0;
    ll_map(list, called);
    const int mapped = calls;
    calls = 0;
    const Row rows[] = {
        {"ll_len(list)", ll_len(list), 3},
        {"test_getNode(list, 3)", id(test_getNode(list, 3)), id(nullptr)},
        {"ll_get(list, 3)", id(ll_get(list, 3)), id(nullptr)},
        {"ll_pop(list, 3)", id(ll_pop(list, 3)), id(nullptr)},
        {"ll_remove(list, 3)", ll_remove(list, 3), -1},
        {"ll_indexOf(list, elemento 3)", ll_indexOf(list, s.staff[3]), -1},
        {"ll_contains(list, elemento 4)", ll_contains(list, s.staff[4]), 0},
        {"ll_containsAll(list, {elemento 3})", ll_containsAll(list, fourth.list), 0},
        {"llamadas de ll_map a f", mapped, 3},
        {"ll_count(list, f)", ll_count(list, one), 3},
        {"llamadas de ll_count a f", calls, 3},
        {"ll_subList(list, 0, 4)", id(ll_subList(list, 0, 4)), id(nullptr)},
        {"ll_len(ll_subList(list, 0, 3))", ll_len(front.list), 3},
        {"ll_get(list, 2)", id(ll_get(list, 2)), id(s.staff[2])},
        {"ll_len(list) al final", ll_len(list), 3},
    };
    char msg[256];
    utest_assertEqualsIntMsg(caseRows::firstWrong(rows, msg, sizeof msg), -1, msg);
    utest_assertEqualsIntMsg(s.untouched(), 1, UNTOUCHED_MSG);
}

// Inserting at size chains the new node in front of the nodes past size; popping, removing and
// appending at the end leave them alone.
void pastSizeProbeCase02() {
    ShortenedList s;
    LinkedList* list = s.list;
    const Row rows[] = {
        {"test_addNode(list, 3, e)", test_addNode(list, 3, s.staff[5]), 0},
        {"ll_get(list, 3) luego de insertar ahi", id(ll_get(list, 3)), id(s.staff[5])},
        {"el nodo siguiente al insertado en size", id(nextOf(test_getNode(list, 3))),
         id(s.past[0])},
        {"ll_len(list) luego de insertar", ll_len(list), 4},
        {"ll_pop(list, 3)", id(ll_pop(list, 3)), id(s.staff[5])},
        {"ll_remove(list, 2), el ultimo", ll_remove(list, 2), 0},
        {"ll_add(list, e)", ll_add(list, s.staff[6]), 0},
        {"ll_get(list, 2) luego de <add>", id(ll_get(list, 2)), id(s.staff[6])},
        {"ll_pop(list, 2)", id(ll_pop(list, 2)), id(s.staff[6])},
        {"ll_pop(list, 0)", id(ll_pop(list, 0)), id(s.staff[0])},
        {"ll_len(list) al final", ll_len(list), 1},
    };
    char msg[256];
    utest_assertEqualsIntMsg(caseRows::firstWrong(rows, msg, sizeof msg), -1, msg);
    utest_assertEqualsIntMsg(s.untouched(), 1, UNTOUCHED_MSG);
}

// Disposal frees the header and the first size nodes only.
void pastSizeProbeCase03() {
    ShortenedList s;
    const int disposed = ll_deleteLinkedList(s.list);
    s.list = nullptr;
    utest_assertEqualsIntMsg(disposed, 0, DISPOSED_MSG);
    utest_assertEqualsIntMsg(s.untouched(), 1, UNTOUCHED_MSG);
}
