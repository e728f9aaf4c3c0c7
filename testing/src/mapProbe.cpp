// Applying a callback with ll_map: every element, in order, exactly once, and no more than size
// says. Its result is not checked: callers never read it.
#include "caseList.h"

#include <cstdio>

// The messages the assertions report with.
static const char VISITS_MSG[] = "\nError en <map>: la funcion se debe aplicar una vez a cada "
                                 "elemento de la lista (ll_len veces)\n";
static const char ORDER_MSG[] =
    "\nError en <map>: la llamada %i (desde 0) no recibio el elemento de esa posicion\n";
static const char EMPTY_MSG[] =
    "\nError en <map>: con una lista vacia o NULL la funcion no se debe llamar\n";
static const char PAST_SIZE_MSG[] = "\nError en <map>: la funcion se aplico a nodos mas alla de "
                                    "size, que no son elementos de la lista\n";

// The elements the callback was given, in the order of the calls.
static constexpr int MAX_VISITS = 16;
static void* visited[MAX_VISITS];
static int visits;

// The callback: records its element.
static void visit(void* pElement) {
    if (visits < MAX_VISITS) {
        visited[visits] = pElement;
    }
    visits++;
}

void mapProbeSetup() {
    utest_print("Setup...\r\n");
}

// Five elements, one of them null, are each visited once, in order.
void mapProbeCase01() {
    caseList::CaseList c(2);
    ll_add(c.list(), nullptr);
    ll_add(c.list(), c.staff[3]);
    ll_add(c.list(), c.staff[4]);
    visits = 0;
    ll_map(c.list(), visit);
    utest_assertEqualsIntMsg(visits, 5, VISITS_MSG);
    void* all[] = {c.staff[0], c.staff[1], nullptr, c.staff[3], c.staff[4]};
    char msg[256];
    for (int i = 0; i < 5; i++) {
        snprintf(msg, sizeof msg, ORDER_MSG, i);
        utest_assertEqualsPointerMsg(visited[i], all[i], msg);
    }
}

// An empty list and a null list call nothing.
void mapProbeCase02() {
    caseList::CaseList c(0);
    visits = 0;
    ll_map(c.list(), visit);
    ll_map(nullptr, visit);
    utest_assertEqualsIntMsg(visits, 0, EMPTY_MSG);
}

// With size written down to 3 over a chain of five, only the first three are visited.
void mapProbeCase03() {
    caseList::CaseList c(5);
    c.list()->size = 3;
    visits = 0;
    ll_map(c.list(), visit);
    c.list()->size = 5;
    utest_assertEqualsIntMsg(visits, 3, PAST_SIZE_MSG);
}
