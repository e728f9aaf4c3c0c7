// Appending after the last element was popped or removed: the list must not append behind the
// node it has just freed.
#include "caseList.h"

// The messages the assertions report with.
static const char LAST_POPPED_MSG[] =
    "\nError en el valor de retorno de <pop> al solicitar el ultimo elemento\n";
static const char LENGTH_MSG[] =
    "\nError en el len() de la lista al agregar luego de quitar el ultimo elemento\n";
static const char ORDER_MSG[] =
    "\nError en los elementos de la lista al agregar luego de quitar el ultimo elemento:\n la "
    "posicion indicada (-1: ninguna) no tiene el elemento esperado al leerla con <get>\n o al "
    "buscarlo con <indexOf>\n";

void tailProbeSetup() {
    utest_print("Setup...\r\n");
}

// Popping the last of three and appending puts the new element third.
void tailProbeCase01() {
    caseList::CaseList c(3);
    void* popped = ll_pop(c.list(), 2);
    utest_assertEqualsPointerMsg(popped, c.staff[2], LAST_POPPED_MSG);
    ll_add(c.list(), c.staff[5]);
    utest_assertEqualsIntMsg(ll_len(c.list()), 3, LENGTH_MSG);
    void* all[] = {c.staff[0], c.staff[1], c.staff[5]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 3), -1, ORDER_MSG);
}

// The same with ll_remove.
void tailProbeCase02() {
    caseList::CaseList c(3);
    ll_remove(c.list(), 2);
    ll_add(c.list(), c.staff[5]);
    utest_assertEqualsIntMsg(ll_len(c.list()), 3, LENGTH_MSG);
    void* all[] = {c.staff[0], c.staff[1], c.staff[5]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 3), -1, ORDER_MSG);
}

// Popping the only element and appending leaves the new one alone in the list.
void tailProbeCase03() {
    caseList::CaseList c(1);
    void* popped = ll_pop(c.list(), 0);
    utest_assertEqualsPointerMsg(popped, c.staff[0], LAST_POPPED_MSG);
    ll_add(c.list(), c.staff[5]);
    utest_assertEqualsIntMsg(ll_len(c.list()), 1, LENGTH_MSG);
    void* all[] = {c.staff[5]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 1), -1, ORDER_MSG);
}

// Removing from the end until the list is empty, then appending two, gives those two.
void tailProbeCase04() {
    caseList::CaseList c(3);
    for (int i = 2; i >= 0; i--) {
        ll_remove(c.list(), i);
    }
    ll_add(c.list(), c.staff[5]);
    ll_add(c.list(), c.staff[6]);
    utest_assertEqualsIntMsg(ll_len(c.list()), 2, LENGTH_MSG);
    void* all[] = {c.staff[5], c.staff[6]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 2), -1, ORDER_MSG);
}

// Inserting at the end with test_addNode after popping the last, then appending, keeps both.
void tailProbeCase05() {
    caseList::CaseList c(3);
    void* popped = ll_pop(c.list(), 2);
    utest_assertEqualsPointerMsg(popped, c.staff[2], LAST_POPPED_MSG);
    test_addNode(c.list(), 2, c.staff[5]);
    ll_add(c.list(), c.staff[6]);
    utest_assertEqualsIntMsg(ll_len(c.list()), 4, LENGTH_MSG);
    void* all[] = {c.staff[0], c.staff[1], c.staff[5], c.staff[6]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 4), -1, ORDER_MSG);
}
