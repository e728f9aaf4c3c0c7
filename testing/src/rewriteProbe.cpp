// Reads and inserts after the caller has rewritten size or pFirstNode by hand on a list the
// component has already walked: remembered positions from before must not be trusted.
#include "caseList.h"

// The messages the assertions report with.
static const char LENGTH_MSG[] =
    "\nError en el len() de la lista luego de que el llamador cambio size o pFirstNode\n";
static const char ORDER_MSG[] =
    "\nError en los elementos de la lista luego de que el llamador cambio size o pFirstNode:\n la "
    "posicion indicada (-1: ninguna) no tiene el elemento esperado al leerla con <get>\n o al "
    "buscarlo con <indexOf> (una posicion recordada de antes del cambio?)\n";
static const char CUT_OFF_MSG[] = "\nError en el valor de retorno de <contains>: el elemento quedo "
                                  "fuera de la lista al achicar size\n";

// Reads every element once, in order, so that a list that remembers positions has some.
static void readAll(LinkedList* list) {
    for (int i = 0; i < ll_len(list); i++) {
        ll_get(list, i);
    }
}

void rewriteProbeSetup() {
    utest_print("Setup...\r\n");
}

// A list of five read to its end and cut down to two by hand reads as two.
void rewriteProbeCase01() {
    caseList::CaseList c(5);
    readAll(c.list());
    caseList::freeChain(caseList::cutAfter(c.list(), 2));
    utest_assertEqualsIntMsg(ll_len(c.list()), 2, LENGTH_MSG);
    void* kept[] = {c.staff[0], c.staff[1]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), kept, 2), -1, ORDER_MSG);
    utest_assertEqualsIntMsg(ll_contains(c.list(), c.staff[4]), 0, CUT_OFF_MSG);
}

// Appends and inserts after the cut go behind the two that are left.
void rewriteProbeCase02() {
    caseList::CaseList c(5);
    readAll(c.list());
    caseList::freeChain(caseList::cutAfter(c.list(), 2));
    ll_add(c.list(), c.staff[5]);
    test_addNode(c.list(), 3, c.staff[6]);
    utest_assertEqualsIntMsg(ll_len(c.list()), 4, LENGTH_MSG);
    void* all[] = {c.staff[0], c.staff[1], c.staff[5], c.staff[6]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 4), -1, ORDER_MSG);
}

// A first node replaced by hand, size unchanged, is read in place of the old one.
void rewriteProbeCase03() {
    caseList::CaseList c(3);
    readAll(c.list());
    ll_get(c.list(), 0); // a remembered position on the very node about to be replaced
    free(caseList::swapHead(c.list(), c.staff[5]));
    void* all[] = {c.staff[5], c.staff[1], c.staff[2]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 3), -1, ORDER_MSG);
}

// A list of one whose only node the caller replaced appends behind the new node.
void rewriteProbeCase04() {
    caseList::CaseList c(1);
    readAll(c.list());
    free(caseList::swapHead(c.list(), c.staff[5]));
    ll_add(c.list(), c.staff[6]);
    utest_assertEqualsIntMsg(ll_len(c.list()), 2, LENGTH_MSG);
    void* all[] = {c.staff[5], c.staff[6]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 2), -1, ORDER_MSG);
}

// A chain replaced by one of the caller's own nodes, with a new size, is read and appended to.
void rewriteProbeCase05() {
    caseList::CaseList c(4);
    readAll(c.list());
    Node* old = c.list()->pFirstNode;
    c.list()->pFirstNode = caseList::newNode(c.staff[5], caseList::newNode(c.staff[6], nullptr));
    c.list()->size = 2;
    caseList::freeChain(old);
    ll_add(c.list(), c.staff[7]);
    utest_assertEqualsIntMsg(ll_len(c.list()), 3, LENGTH_MSG);
    void* all[] = {c.staff[5], c.staff[6], c.staff[7]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 3), -1, ORDER_MSG);
}

// A node the caller chains in front shifts every element by one; appends still go to the end.
void rewriteProbeCase06() {
    caseList::CaseList c(3);
    readAll(c.list());
    caseList::pushFront(c.list(), c.staff[5]);
    ll_add(c.list(), c.staff[6]);
    utest_assertEqualsIntMsg(ll_len(c.list()), 5, LENGTH_MSG);
    void* all[] = {c.staff[5], c.staff[0], c.staff[1], c.staff[2], c.staff[6]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 5), -1, ORDER_MSG);
}
