// Fetching nodes with test_getNode from lists whose nodes are chained by hand.
#include "LinkedList.h"
#include "utest.h"

#include <cstdlib>

// The messages the assertions report with.
static const char NODE_MSG[] =
    "\nError en el valor de retorno de <getNode> si los parametros son correctos\n y la lista "
    "tiene elementos la funcion retorna el puntero al nodo\n";
static const char FIRST_NODE_MSG[] =
    "\nError en el valor de retorno de <getNode> al solicitar el primer elemento\n";
static const char LAST_NODE_MSG[] =
    "\nError en el valor de retorno de <getNode> al solicitar el ultimo elemento\n";
static const char BELOW_RANGE_MSG[] = "\nError en el valor de retorno de <getNode> al solicitar un "
                                      "elemento fuera de indice (-1),\n se deberia retornar NULL\n";
static const char PAST_SIZE_MSG[] =
    "\nError en el valor de retorno de <getNode> al solicitar un elemento fuera de indice (>= a "
    "ll_len),\n se deberia retornar NULL\n";
static const char NULL_LIST_MSG[] = "\nError en el valor de retorno de <get> si la lista pasada es "
                                    "NULL\n el valor a retornar es NULL\n";

// A node from malloc, as a caller of the list may make one itself.
static Node* newBareNode() {
    return static_cast<Node*>(malloc(sizeof(Node)));
}

// A new list whose two hand-made nodes are chained, with size written directly; the elements
// are left unset.
static LinkedList* chainTwoNodes(Node*& nodo1, Node*& nodo2, int size) {
    LinkedList* list = ll_newLinkedList();
    nodo1 = newBareNode();
    nodo2 = newBareNode();
    if (nodo1 == nullptr || nodo2 == nullptr) {
        abort(); // the cases have nothing to check without both nodes
    }
    nodo1->pNextNode = nodo2;
    nodo2->pNextNode = nullptr;
    list->pFirstNode = nodo1;
    list->size = size;
    return list;
}

void fetchProbeSetup() {
    utest_print("Setup...\r\n");
}

// A list with nodes hands out its first node.
void fetchProbeCase01() {
    Node* nodo1;
    Node* nodo2;
    LinkedList* list = chainTwoNodes(nodo1, nodo2, 2);
    Node* nodoAux = test_getNode(list, 0);
    utest_assertNotNullMsg(nodoAux, NODE_MSG);
}

// Index 0 is the first node itself.
void fetchProbeCase02() {
    Node* nodo1;
    Node* nodo2;
    LinkedList* list = chainTwoNodes(nodo1, nodo2, 2);
    Node* nodoAux = test_getNode(list, 0);
    utest_assertEqualsPointerMsg(nodoAux, nodo1, FIRST_NODE_MSG);
}

// The last index is the last node itself.
void fetchProbeCase03() {
    Node* nodo1;
    Node* nodo2;
    LinkedList* list = chainTwoNodes(nodo1, nodo2, 2);
    Node* nodoAux = test_getNode(list, 1);
    utest_assertEqualsPointerMsg(nodoAux, nodo2, LAST_NODE_MSG);
}

// Indices outside 0..size-1 give null, even with more nodes chained than size says.
void fetchProbeCase04() {
    Node* nodo1;
    Node* nodo2;
    LinkedList* list = chainTwoNodes(nodo1, nodo2, 1);
    Node* nodoAux = test_getNode(list, -1);
    utest_assertNullMsg(nodoAux, BELOW_RANGE_MSG);
    nodoAux = test_getNode(list, 1);
    utest_assertNullMsg(nodoAux, PAST_SIZE_MSG);
}

// A null list has no nodes.
void fetchProbeCase05() {
    utest_assertNullMsg(test_getNode(nullptr, 0), NULL_LIST_MSG);
}
