// Sub-lists with ll_subList: their length, empty and reversed ranges, and nodes of their own.
#include "caseList.h"

#include <initializer_list>

// The messages the assertions report with.
static const char SUB_LIST_MSG[] = "\nError en el valor de retorno de <subList> si los parametros "
                                   "son correctos\nno debe retornar NULL\n";
static const char LENGTH_MSG[] =
    "\nError en el len() de la sub lista: debe tener (to - from) elementos\n";
static const char ORDER_MSG[] =
    "\nError: la sub lista no contiene los elementos solicitados, en orden; la posicion "
    "indicada\n (-1: ninguna) no tiene el esperado (= to - from: sobra un elemento)\n";
static const char EMPTY_RANGE_MSG[] =
    "\nError en el valor de retorno de <subList> si from == to,\n "
    "debe retornar una lista vacia, no NULL\n";
static const char EMPTY_LENGTH_MSG[] =
    "\nError en el len() de la sub lista si from == to, debe ser 0\n";
static const char REVERSED_MSG[] = "\nError en el valor de retorno de <subList> si from > to,\n "
                                   "se deberia retornar NULL\n";
static const char OWN_NODES_MSG[] =
    "\nError: la sub lista comparte nodos con la lista original, debe tener nodos propios\n";
static const char ORIGINAL_LENGTH_MSG[] =
    "\nError en el len() de la lista original luego de modificar y eliminar su sub lista\n";
static const char ORIGINAL_ORDER_MSG[] =
    "\nError en los elementos de la lista original luego de modificar y eliminar su sub lista:\n "
    "la posicion indicada (-1: ninguna) cambio\n";

void subListProbeSetup() {
    utest_print("Setup...\r\n");
}

// The range 1 to 4 of five holds exactly the three elements at 1, 2 and 3.
void subListProbeCase01() {
    caseList::CaseList c(5);
    caseList::ListGuard sub(ll_subList(c.list(), 1, 4));
    utest_assertNotNullMsg(sub.list, SUB_LIST_MSG);
    utest_assertEqualsIntMsg(ll_len(sub.list), 3, LENGTH_MSG);
    void* held[] = {c.staff[1], c.staff[2], c.staff[3]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(sub.list, held, 3), -1, ORDER_MSG);
}

// An empty range, at the front, in the middle or at the end, gives an empty list.
void subListProbeCase02() {
    caseList::CaseList c(5);
    for (int from : {0, 2, 5}) {
        caseList::ListGuard sub(ll_subList(c.list(), from, from));
        utest_assertNotNullMsg(sub.list, EMPTY_RANGE_MSG);
        utest_assertEqualsIntMsg(ll_len(sub.list), 0, EMPTY_LENGTH_MSG);
    }
}

// A start past the end gives null.
void subListProbeCase03() {
    caseList::CaseList c(5);
    caseList::ListGuard sub(ll_subList(c.list(), 3, 2));
    utest_assertNullMsg(sub.list, REVERSED_MSG);
}

// The sub-list's nodes are its own: changing it and disposing of it leaves the original as it was.
void subListProbeCase04() {
    caseList::CaseList c(5);
    {
        caseList::ListGuard sub(ll_subList(c.list(), 0, 5));
        utest_assertNotNullMsg(sub.list, SUB_LIST_MSG);
        for (int i = 0; i < 5; i++) {
            utest_assertNotEqualsPointerMsg(test_getNode(sub.list, i), test_getNode(c.list(), i),
                                            OWN_NODES_MSG);
        }
        ll_pop(sub.list, 0);
        ll_add(sub.list, c.staff[5]);
        test_addNode(sub.list, 2, c.staff[6]);
    }
    utest_assertEqualsIntMsg(ll_len(c.list()), 5, ORIGINAL_LENGTH_MSG);
    void* all[] = {c.staff[0], c.staff[1], c.staff[2], c.staff[3], c.staff[4]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 5), -1, ORIGINAL_ORDER_MSG);
}
