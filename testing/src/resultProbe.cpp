// Every result inc/LinkedList.h documents, for every kind of argument: a null list, a null
// callback, an index at each bound (-1, 0, the last, size, INT_MIN, INT_MAX), an empty list. The
// results of ll_add, ll_remove and ll_map, which the conformance cases never read, included.
#include "caseList.h"
#include "caseRows.h"

#include <climits>
#include <initializer_list>

using caseRows::id;
using caseRows::Row;

// The callback: counts its calls.
static int calls;
static void called(void*) {
    calls++;
}
static int one(void*) {
    return 1;
}

void resultProbeSetup() {
    utest_print("Setup...\r\n");
}

// ll_remove: -1 for a null list and every index outside 0..size-1, 0 at the last, the first and
// a middle index; the elements that remain are the others, in order.
void resultProbeCase01() {
    caseList::CaseList c(5);
    LinkedList* list = c.list();
    const Row rows[] = {
        {"ll_remove(NULL, 0)", ll_remove(nullptr, 0), -1},
        {"ll_remove(list, -1)", ll_remove(list, -1), -1},
        {"ll_remove(list, INT_MIN)", ll_remove(list, INT_MIN), -1},
        {"ll_remove(list, 5) con 5 elementos", ll_remove(list, 5), -1},
        {"ll_remove(list, INT_MAX)", ll_remove(list, INT_MAX), -1},
        {"ll_len(list) luego de los indices rechazados", ll_len(list), 5},
        {"ll_remove(list, 4), el ultimo", ll_remove(list, 4), 0},
        {"ll_remove(list, 0), el primero", ll_remove(list, 0), 0},
        {"ll_remove(list, 1), en el medio", ll_remove(list, 1), 0},
        {"ll_len(list) luego de tres <remove>", ll_len(list), 2},
        {"ll_get(list, 0) luego de tres <remove>", id(ll_get(list, 0)), id(c.staff[1])},
        {"ll_get(list, 1) luego de tres <remove>", id(ll_get(list, 1)), id(c.staff[3])},
        {"ll_remove(list, 1) con 2 elementos", ll_remove(list, 1), 0},
        {"ll_remove(list, 0) con 1 elemento", ll_remove(list, 0), 0},
        {"ll_remove(list, 0) con la lista vacia", ll_remove(list, 0), -1},
        {"ll_len(list) luego de quitar todo", ll_len(list), 0},
    };
    char msg[256];
    utest_assertEqualsIntMsg(caseRows::firstWrong(rows, msg, sizeof msg), -1, msg);
}

// ll_map and ll_count: -1 for a null list or a null callback, without a call; ll_map gives 0 on
// an empty list and on a full one, after one call per element.
void resultProbeCase02() {
    caseList::CaseList c(3);
    caseList::ListGuard empty(ll_newLinkedList(), "empty");
    calls = 0;
    const Row rows[] = {
        {"ll_map(NULL, f)", ll_map(nullptr, called), -1},
        {"ll_map(list, NULL)", ll_map(c.list(), nullptr), -1},
        {"ll_count(NULL, f)", ll_count(nullptr, one), -1},
        {"ll_count(list, NULL)", ll_count(c.list(), nullptr), -1},
        {"llamadas a f con una lista o una funcion NULL", calls, 0},
        {"ll_map(list, f) con la lista vacia", ll_map(empty.list, called), 0},
        {"llamadas a f con la lista vacia", calls, 0},
        {"ll_map(list, f) con 3 elementos", ll_map(c.list(), called), 0},
        {"llamadas a f con 3 elementos", calls, 3},
        {"ll_count(list, f) con la lista vacia", ll_count(empty.list, one), 0},
        {"ll_len(list) luego de <map> y <count>", ll_len(c.list()), 3},
    };
    char msg[256];
    utest_assertEqualsIntMsg(caseRows::firstWrong(rows, msg, sizeof msg), -1, msg);
}

// ll_add and test_addNode: 0 where they add, -1 for a null list and every index outside
// 0..size, and nothing added then.
void resultProbeCase03() {
    caseList::CaseList c(0);
    LinkedList* list = c.list();
    const Row rows[] = {
        {"ll_add(NULL, e)", ll_add(nullptr, c.staff[0]), -1},
        {"ll_add(list, e) con la lista vacia", ll_add(list, c.staff[1]), 0},
        {"ll_add(list, NULL)", ll_add(list, nullptr), 0},
        {"test_addNode(list, 2, e), al final", test_addNode(list, 2, c.staff[3]), 0},
        {"test_addNode(list, 0, e), adelante", test_addNode(list, 0, c.staff[0]), 0},
        {"test_addNode(list, -1, e)", test_addNode(list, -1, c.staff[5]), -1},
        {"test_addNode(list, INT_MIN, e)", test_addNode(list, INT_MIN, c.staff[5]), -1},
        {"test_addNode(list, 5, e) con 4 elementos", test_addNode(list, 5, c.staff[5]), -1},
        {"test_addNode(list, INT_MAX, e)", test_addNode(list, INT_MAX, c.staff[5]), -1},
        {"ll_len(list) luego de los indices rechazados", ll_len(list), 4},
        {"ll_indexOf(list, e) de un elemento rechazado", ll_indexOf(list, c.staff[5]), -1},
        {"ll_get(list, 0)", id(ll_get(list, 0)), id(c.staff[0])},
        {"ll_get(list, 2)", id(ll_get(list, 2)), id(nullptr)},
        {"ll_get(list, 3)", id(ll_get(list, 3)), id(c.staff[3])},
    };
    char msg[256];
    utest_assertEqualsIntMsg(caseRows::firstWrong(rows, msg, sizeof msg), -1, msg);
}

// Reads and pops at each bound of a list of three whose middle element is null, then pops it
// empty; lookups of null, of an absent element and in a null list.
void resultProbeCase04() {
    caseList::CaseList c(1);
    LinkedList* list = c.list();
    ll_add(list, nullptr);
    ll_add(list, c.staff[2]);
    const Row rows[] = {
        {"test_getNode(list, -1)", id(test_getNode(list, -1)), id(nullptr)},
        {"test_getNode(list, INT_MIN)", id(test_getNode(list, INT_MIN)), id(nullptr)},
        {"test_getNode(list, 3) con 3 elementos", id(test_getNode(list, 3)), id(nullptr)},
        {"test_getNode(list, INT_MAX)", id(test_getNode(list, INT_MAX)), id(nullptr)},
        {"ll_get(list, INT_MIN)", id(ll_get(list, INT_MIN)), id(nullptr)},
        {"ll_get(list, INT_MAX)", id(ll_get(list, INT_MAX)), id(nullptr)},
        {"ll_pop(list, -1)", id(ll_pop(list, -1)), id(nullptr)},
        {"ll_pop(list, INT_MIN)", id(ll_pop(list, INT_MIN)), id(nullptr)},
        {"ll_pop(list, 3) con 3 elementos", id(ll_pop(list, 3)), id(nullptr)},
        {"ll_pop(list, INT_MAX)", id(ll_pop(list, INT_MAX)), id(nullptr)},
        {"ll_len(list) luego de los indices rechazados", ll_len(list), 3},
        {"ll_indexOf(list, NULL)", ll_indexOf(list, nullptr), 1},
        {"ll_contains(list, NULL)", ll_contains(list, nullptr), 1},
        {"ll_indexOf(list, e) de un elemento ausente", ll_indexOf(list, c.staff[1]), -1},
        {"ll_contains(list, e) de un elemento ausente", ll_contains(list, c.staff[1]), 0},
        {"ll_indexOf(NULL, e)", ll_indexOf(nullptr, c.staff[0]), -1},
        {"ll_contains(NULL, e)", ll_contains(nullptr, c.staff[0]), -1},
        {"ll_len(NULL)", ll_len(nullptr), -1},
        {"ll_pop(list, 2), el ultimo", id(ll_pop(list, 2)), id(c.staff[2])},
        {"ll_pop(list, 0), el primero", id(ll_pop(list, 0)), id(c.staff[0])},
        {"ll_len(list) luego de dos <pop>", ll_len(list), 1},
        {"ll_indexOf(list, NULL) luego de dos <pop>", ll_indexOf(list, nullptr), 0},
        {"ll_pop(list, 0), el elemento NULL", id(ll_pop(list, 0)), id(nullptr)},
        {"ll_len(list) luego de vaciarla", ll_len(list), 0},
        {"ll_pop(list, 0) con la lista vacia", id(ll_pop(list, 0)), id(nullptr)},
        {"ll_contains(list, NULL) con la lista vacia", ll_contains(list, nullptr), 0},
    };
    char msg[256];
    utest_assertEqualsIntMsg(caseRows::firstWrong(rows, msg, sizeof msg), -1, msg);
}

// ll_subList, ll_containsAll and ll_deleteLinkedList: null for every range the header refuses,
// an empty list for an empty range, -1 for a null list; second lists of every shape.
void resultProbeCase05() {
    caseList::CaseList c(5);
    LinkedList* list = c.list();
    caseList::ListGuard empty(ll_newLinkedList(), "empty");
    caseList::ListGuard atEnd(ll_subList(list, 5, 5), "atEnd");
    caseList::ListGuard middle(ll_subList(list, 1, 4), "middle");
    caseList::ListGuard twice(ll_newLinkedList(), "twice");
    for (int i : {4, 0, 4, 2}) {
        ll_add(twice.list, c.staff[i]);
    }
    const Row rows[] = {
        {"ll_subList(NULL, 0, 0)", id(ll_subList(nullptr, 0, 0)), id(nullptr)},
        {"ll_subList(list, INT_MIN, 2)", id(ll_subList(list, INT_MIN, 2)), id(nullptr)},
        {"ll_subList(list, -1, -1)", id(ll_subList(list, -1, -1)), id(nullptr)},
        {"ll_subList(list, 0, INT_MAX)", id(ll_subList(list, 0, INT_MAX)), id(nullptr)},
        {"ll_subList(list, 3, 2)", id(ll_subList(list, 3, 2)), id(nullptr)},
        {"ll_subList(list, 6, 6) con 5 elementos", id(ll_subList(list, 6, 6)), id(nullptr)},
        {"ll_subList(list, 5, 5) no es NULL", atEnd.list != nullptr, 1},
        {"ll_len(ll_subList(list, 5, 5))", ll_len(atEnd.list), 0},
        {"ll_len(ll_subList(list, 1, 4))", ll_len(middle.list), 3},
        {"ll_containsAll(list, NULL)", ll_containsAll(list, nullptr), -1},
        {"ll_containsAll(NULL, list)", ll_containsAll(nullptr, list), -1},
        {"ll_containsAll(list, lista vacia)", ll_containsAll(list, empty.list), 1},
        {"ll_containsAll(lista vacia, lista vacia)", ll_containsAll(empty.list, empty.list), 1},
        {"ll_containsAll(lista vacia, list)", ll_containsAll(empty.list, list), 0},
        {"ll_containsAll(list, list)", ll_containsAll(list, list), 1},
        {"ll_containsAll(list, ll_subList(list, 1, 4))", ll_containsAll(list, middle.list), 1},
        {"ll_containsAll(ll_subList(list, 1, 4), list)", ll_containsAll(middle.list, list), 0},
        {"ll_containsAll(list, lista con repetidos)", ll_containsAll(list, twice.list), 1},
        {"ll_containsAll(lista con repetidos, list)", ll_containsAll(twice.list, list), 0},
        {"ll_deleteLinkedList(NULL)", ll_deleteLinkedList(nullptr), -1},
    };
    char msg[256];
    utest_assertEqualsIntMsg(caseRows::firstWrong(rows, msg, sizeof msg), -1, msg);
}

// Fewer nodes chained than size says: an insertion whose index needs a node that is missing
// answers -1 and changes nothing; one whose node before the index is there goes in.
void resultProbeCase06() {
    caseList::CaseList c(0);
    LinkedList* list = c.list();
    list->size = 1;
    const Row empty[] = {
        {"test_addNode(list, 1, e) con size 1 y ningun nodo", test_addNode(list, 1, c.staff[0]),
         -1},
        {"ll_add(list, e) con size 1 y ningun nodo", ll_add(list, c.staff[0]), -1},
        {"size luego de las inserciones rechazadas", list->size, 1},
        {"pFirstNode luego de las inserciones rechazadas", id(list->pFirstNode), id(nullptr)},
    };
    char msg[256];
    utest_assertEqualsIntMsg(caseRows::firstWrong(empty, msg, sizeof msg), -1, msg);
    list->size = 0;
    ll_add(list, c.staff[0]);
    list->size = 3;
    const Row one[] = {
        {"test_addNode(list, 2, e) con size 3 y un nodo", test_addNode(list, 2, c.staff[1]), -1},
        {"test_addNode(list, 3, e) con size 3 y un nodo", test_addNode(list, 3, c.staff[1]), -1},
        {"test_addNode(list, 1, e) con size 3 y un nodo", test_addNode(list, 1, c.staff[2]), 0},
        {"size luego de insertar", list->size, 4},
        {"ll_get(list, 1) luego de insertar", id(ll_get(list, 1)), id(c.staff[2])},
    };
    utest_assertEqualsIntMsg(caseRows::firstWrong(one, msg, sizeof msg), -1, msg);
    list->size = 2;
}
