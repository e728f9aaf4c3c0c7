// Reading by index with ll_get: the bounds -1, size and size-1, and reading in any order.
#include "caseList.h"

// The messages the assertions report with.
static const char BELOW_RANGE_MSG[] = "\nError en el valor de retorno de <get> al solicitar un "
                                      "elemento fuera de indice (-1),\n se deberia retornar NULL\n";
static const char PAST_LENGTH_MSG[] =
    "\nError en el valor de retorno de <get> al solicitar un elemento fuera de indice (>= "
    "ll_len),\n se deberia retornar NULL\n";
static const char LAST_MSG[] =
    "\nError en el valor de retorno de <get> al solicitar el ultimo elemento (ll_len - 1)\n";
static const char BACKWARDS_MSG[] = "\nError en el valor de retorno de <get> al leer la lista "
                                    "desde el final hacia el principio\n";
static const char EMPTY_MSG[] = "\nError en el valor de retorno de <get> si la lista esta vacia\n "
                                "se deberia retornar NULL\n";

void readProbeSetup() {
    utest_print("Setup...\r\n");
}

// Indices -1 and size give null.
void readProbeCase01() {
    caseList::CaseList c(5);
    utest_assertNullMsg(ll_get(c.list(), -1), BELOW_RANGE_MSG);
    utest_assertNullMsg(ll_get(c.list(), 5), PAST_LENGTH_MSG);
}

// Index size-1 gives the last element, read first and read again after the others.
void readProbeCase02() {
    caseList::CaseList c(5);
    utest_assertEqualsPointerMsg(ll_get(c.list(), 4), c.staff[4], LAST_MSG);
    for (int i = 0; i < 4; i++) {
        ll_get(c.list(), i);
    }
    utest_assertEqualsPointerMsg(ll_get(c.list(), 4), c.staff[4], LAST_MSG);
}

// Reading from the last index down to 0 gives every element.
void readProbeCase03() {
    caseList::CaseList c(5);
    for (int i = 4; i >= 0; i--) {
        utest_assertEqualsPointerMsg(ll_get(c.list(), i), c.staff[i], BACKWARDS_MSG);
    }
}

// An empty list gives null at 0, also once it has held elements.
void readProbeCase04() {
    caseList::CaseList c(0);
    utest_assertNullMsg(ll_get(c.list(), 0), EMPTY_MSG);
    ll_add(c.list(), c.staff[0]);
    ll_pop(c.list(), 0);
    utest_assertNullMsg(ll_get(c.list(), 0), EMPTY_MSG);
}
