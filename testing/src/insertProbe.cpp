// Insertion by index with test_addNode in the middle, at both ends between appends, out of range
// and where the caller has written a size larger than the chain of nodes.
#include "caseList.h"

// The messages the assertions report with.
static const char INSERTED_MSG[] = "\nError en el valor de retorno de <addNode> si se agrego un "
                                   "nodo correctamente\n el valor a retornar es (0)\n";
static const char LENGTH_MSG[] =
    "\nError en el valor de size de la lista se debe incrementar al agregar nodos\n";
static const char ORDER_MSG[] =
    "\nError en los elementos de la lista luego de <addNode>: la posicion indicada (-1: "
    "ninguna)\n no tiene el elemento esperado al leerla con <get> o al buscarlo con <indexOf>\n";
static const char SHIFTED_MSG[] =
    "\nError en el valor de retorno de <get> luego de insertar al principio con <addNode>:\n los "
    "elementos deben correrse una posicion\n";
static const char OUT_OF_RANGE_MSG[] =
    "\nError en el valor de retorno de <addNode> con un indice fuera de rango (< 0 o > "
    "ll_len),\n el valor a retornar es (-1)\n";
static const char SHORT_CHAIN_MSG[] =
    "\nError en el valor de retorno de <addNode> cuando la lista tiene menos nodos que size\n y "
    "falta el nodo anterior al indice, el valor a retornar es (-1)\n";
static const char UNCHANGED_LENGTH_MSG[] = "\nError en el valor de size de la lista luego de un "
                                           "<addNode> rechazado,\n no se debe modificar\n";
static const char UNCHANGED_MSG[] =
    "\nError en los elementos de la lista luego de un <addNode> rechazado: la posicion indicada\n "
    "(-1: ninguna) cambio\n";

void insertProbeSetup() {
    utest_print("Setup...\r\n");
}

// An element inserted at 2 of five lands there, with the rest of the chain behind it.
void insertProbeCase01() {
    caseList::CaseList c(5);
    int r = test_addNode(c.list(), 2, c.staff[5]);
    utest_assertEqualsIntMsg(r, 0, INSERTED_MSG);
    utest_assertEqualsIntMsg(ll_len(c.list()), 6, LENGTH_MSG);
    void* all[] = {c.staff[0], c.staff[1], c.staff[5], c.staff[2], c.staff[3], c.staff[4]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 6), -1, ORDER_MSG);
}

// Indices -1 and size+1 are refused with -1 and change nothing.
void insertProbeCase02() {
    caseList::CaseList c(5);
    int r = test_addNode(c.list(), -1, c.staff[5]);
    utest_assertEqualsIntMsg(r, -1, OUT_OF_RANGE_MSG);
    r = test_addNode(c.list(), 6, c.staff[5]);
    utest_assertEqualsIntMsg(r, -1, OUT_OF_RANGE_MSG);
    utest_assertEqualsIntMsg(ll_len(c.list()), 5, UNCHANGED_LENGTH_MSG);
    void* all[] = {c.staff[0], c.staff[1], c.staff[2], c.staff[3], c.staff[4]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 5), -1, UNCHANGED_MSG);
}

// With size written as 4 over a chain of two nodes, inserting at 3 or 4 needs a node that is not
// there: -1, and the list stays as it was.
void insertProbeCase03() {
    caseList::CaseList c(2);
    c.list()->size = 4;
    int r = test_addNode(c.list(), 4, c.staff[5]);
    utest_assertEqualsIntMsg(r, -1, SHORT_CHAIN_MSG);
    r = test_addNode(c.list(), 3, c.staff[5]);
    utest_assertEqualsIntMsg(r, -1, SHORT_CHAIN_MSG);
    utest_assertEqualsIntMsg(ll_len(c.list()), 4, UNCHANGED_LENGTH_MSG);
    c.list()->size = 2;
    void* all[] = {c.staff[0], c.staff[1]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 2), -1, UNCHANGED_MSG);
}

// Inserts at the end and at the front, between appends, keep every element where it was put.
void insertProbeCase04() {
    caseList::CaseList c(2);
    int r = test_addNode(c.list(), 2, c.staff[5]);
    utest_assertEqualsIntMsg(r, 0, INSERTED_MSG);
    ll_add(c.list(), c.staff[6]);
    r = test_addNode(c.list(), 0, c.staff[7]);
    utest_assertEqualsIntMsg(r, 0, INSERTED_MSG);
    ll_add(c.list(), c.staff[2]);
    utest_assertEqualsIntMsg(ll_len(c.list()), 6, LENGTH_MSG);
    void* all[] = {c.staff[7], c.staff[0], c.staff[1], c.staff[5], c.staff[6], c.staff[2]};
    utest_assertEqualsIntMsg(caseList::firstMisplaced(c.list(), all, 6), -1, ORDER_MSG);
}

// After a read in the middle, an insert at the front moves every element one position on.
void insertProbeCase05() {
    caseList::CaseList c(5);
    ll_get(c.list(), 2);
    test_addNode(c.list(), 0, c.staff[5]);
    utest_assertEqualsPointerMsg(ll_get(c.list(), 3), c.staff[2], SHIFTED_MSG);
    utest_assertEqualsPointerMsg(ll_get(c.list(), 2), c.staff[1], SHIFTED_MSG);
}
