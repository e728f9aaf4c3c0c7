// Taking elements out at the front and in the middle of a longer list with ll_pop and ll_remove:
// what comes back, the length, and every element that remains, in order.
#include "caseList.h"

// The messages the assertions report with.
static const char FIRST_POPPED_MSG[] =
    "\nError en el valor de retorno de <pop> al solicitar el primer elemento de una lista de "
    "cinco\n";
static const char MIDDLE_POPPED_MSG[] =
    "\nError en el valor de retorno de <pop> al solicitar un elemento del medio de la lista\n";
static const char READ_MSG[] =
    "\nError en el valor de retorno de <get> al solicitar un elemento del medio de la lista\n";
static const char READ_BACK_MSG[] =
    "\nError en el valor de retorno de <get> en la posicion de la que <pop> quito un elemento,\n "
    "debe retornar el elemento que le seguia\n";
static const char SHIFTED_MSG[] =
    "\nError en el valor de retorno de <get> luego de quitar el primer elemento con <pop>:\n los "
    "elementos deben correrse una posicion hacia el principio\n";
static const char LENGTH_MSG[] = "\nError en el len() de la lista luego de quitar un elemento";
static const char POP_ORDER_MSG[] =
    "\nError en los elementos que quedan luego de <pop>: la posicion indicada (-1: ninguna)\n no "
    "tiene el elemento esperado al leerla con <get> o al buscarlo con <indexOf>\n";
static const char REMOVE_ORDER_MSG[] =
    "\nError en los elementos que quedan luego de <remove>: la posicion indicada (-1: ninguna)\n "
    "no tiene el elemento esperado al leerla con <get> o al buscarlo con <indexOf>\n";

void unlinkProbeSetup() {
    utest_print("Setup...\r\n");
}

// Popping at 0 returns the first element and keeps the other four, in order.
void unlinkProbeCase01() {
    caseList::CaseList c(5);
    void* popped = ll_pop(c.list(), 0);
    utest_assertEqualsPointerMsg(popped, c.staff[0], FIRST_POPPED_MSG);
    utest_assertEqualsIntMsg(ll_len(c.list()), 4, LENGTH_MSG);
    void* rest[] = {c.staff[1], c.staff[2], c.staff[3], c.staff[4]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), rest, 4), -1, POP_ORDER_MSG);
}

// Popping at 2 returns the middle element and closes the gap.
void unlinkProbeCase02() {
    caseList::CaseList c(5);
    void* popped = ll_pop(c.list(), 2);
    utest_assertEqualsPointerMsg(popped, c.staff[2], MIDDLE_POPPED_MSG);
    utest_assertEqualsIntMsg(ll_len(c.list()), 4, LENGTH_MSG);
    void* rest[] = {c.staff[0], c.staff[1], c.staff[3], c.staff[4]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), rest, 4), -1, POP_ORDER_MSG);
}

// Removing at 0 keeps the other four, in order.
void unlinkProbeCase03() {
    caseList::CaseList c(5);
    ll_remove(c.list(), 0);
    utest_assertEqualsIntMsg(ll_len(c.list()), 4, LENGTH_MSG);
    void* rest[] = {c.staff[1], c.staff[2], c.staff[3], c.staff[4]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), rest, 4), -1, REMOVE_ORDER_MSG);
}

// Removing at 2 closes the gap.
void unlinkProbeCase04() {
    caseList::CaseList c(5);
    ll_remove(c.list(), 2);
    utest_assertEqualsIntMsg(ll_len(c.list()), 4, LENGTH_MSG);
    void* rest[] = {c.staff[0], c.staff[1], c.staff[3], c.staff[4]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), rest, 4), -1, REMOVE_ORDER_MSG);
}

// Popping twice at the same middle index, after reading there, returns the two elements that
// stood there in turn.
void unlinkProbeCase05() {
    caseList::CaseList c(5);
    utest_assertEqualsPointerMsg(ll_get(c.list(), 2), c.staff[2], READ_MSG);
    void* popped = ll_pop(c.list(), 2);
    utest_assertEqualsPointerMsg(popped, c.staff[2], MIDDLE_POPPED_MSG);
    utest_assertEqualsPointerMsg(ll_get(c.list(), 2), c.staff[3], READ_BACK_MSG);
    popped = ll_pop(c.list(), 2);
    utest_assertEqualsPointerMsg(popped, c.staff[3], MIDDLE_POPPED_MSG);
    utest_assertEqualsIntMsg(ll_len(c.list()), 3, LENGTH_MSG);
    void* rest[] = {c.staff[0], c.staff[1], c.staff[4]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), rest, 3), -1, POP_ORDER_MSG);
}

// After a read in the middle, popping at 0 moves every element one position back.
void unlinkProbeCase06() {
    caseList::CaseList c(5);
    ll_get(c.list(), 2);
    void* popped = ll_pop(c.list(), 0);
    utest_assertEqualsPointerMsg(popped, c.staff[0], FIRST_POPPED_MSG);
    utest_assertEqualsPointerMsg(ll_get(c.list(), 2), c.staff[3], SHIFTED_MSG);
    utest_assertEqualsPointerMsg(ll_get(c.list(), 1), c.staff[2], SHIFTED_MSG);
}
