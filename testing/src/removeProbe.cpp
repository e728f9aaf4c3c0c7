// Removal by index with ll_remove: the last index, indices out of range, the length afterwards and
// a null list. Its result is not checked: callers never read it.
#include "caseList.h"

// The messages the assertions report with.
static const char LENGTH_MSG[] = "\nError en el len() de la lista luego de quitar un elemento con "
                                 "<remove>\n";
static const char ORDER_MSG[] =
    "\nError en los elementos que quedan luego de <remove>: la posicion indicada (-1: ninguna)\n "
    "no tiene el elemento esperado al leerla con <get> o al buscarlo con <indexOf>\n";
static const char BELOW_RANGE_MSG[] = "\nError en el len() de la lista luego de <remove> con un "
                                      "indice fuera de rango (< 0),\n no se debe quitar nada\n";
static const char PAST_LENGTH_MSG[] =
    "\nError en el len() de la lista luego de <remove> con un indice fuera de rango (>= "
    "ll_len),\n no se debe quitar nada\n";
static const char UNCHANGED_MSG[] =
    "\nError en los elementos de la lista luego de <remove> con un indice fuera de rango,\n la "
    "lista debe quedar como estaba (-1: ninguna posicion cambio)\n";
static const char NULL_LIST_MSG[] = "\nError en el valor de retorno de <pop> si la lista pasada es "
                                    "NULL\n el valor a retornar es NULL\n";

void removeProbeSetup() {
    utest_print("Setup...\r\n");
}

// Removing at size-1 takes the last element out and keeps the others in order.
void removeProbeCase01() {
    caseList::CaseList c(5);
    ll_remove(c.list(), 4);
    utest_assertEqualsIntMsg(ll_len(c.list()), 4, LENGTH_MSG);
    void* rest[] = {c.staff[0], c.staff[1], c.staff[2], c.staff[3]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), rest, 4), -1, ORDER_MSG);
}

// Indices -1 and size remove nothing.
void removeProbeCase02() {
    caseList::CaseList c(5);
    ll_remove(c.list(), -1);
    utest_assertEqualsIntMsg(ll_len(c.list()), 5, BELOW_RANGE_MSG);
    ll_remove(c.list(), 5);
    utest_assertEqualsIntMsg(ll_len(c.list()), 5, PAST_LENGTH_MSG);
    void* all[] = {c.staff[0], c.staff[1], c.staff[2], c.staff[3], c.staff[4]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 5), -1, UNCHANGED_MSG);
}

// A null list survives ll_remove, and ll_pop gives null for it.
void removeProbeCase03() {
    ll_remove(nullptr, 0);
    void* popped = ll_pop(nullptr, 0);
    utest_assertNullMsg(popped, NULL_LIST_MSG);
}

// Removing at 0 until the list is empty shortens it by one each time and leaves the rest readable.
void removeProbeCase04() {
    caseList::CaseList c(5);
    void* all[] = {c.staff[0], c.staff[1], c.staff[2], c.staff[3], c.staff[4]};
    for (int left = 4; left >= 0; left--) {
        ll_remove(c.list(), 0);
        utest_assertEqualsIntMsg(ll_len(c.list()), left, LENGTH_MSG);
        utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all + 5 - left, left), -1,
                                 ORDER_MSG);
    }
}
