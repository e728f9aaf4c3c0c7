// Insertion by index: test_addNode, with the nodes read back through test_getNode.
#include "caseList.h"

#include <cstdio>

// The fixture rows; the cases use the first LENGTH of them.
static char names[6][3] = {"Za", "Zb", "Xd", "Xb", "Ya", "Yc"};
static char* unsortedList[6] = {names[0], names[1], names[2], names[3], names[4], names[5]};
static int sector[6] = {1, 1, 2, 3, 4, 6};
static float salary[6] = {1000.0f, 1000.0f, 2000.0f, 3000.0f, 4000.0f, 8000.0f};
static int id[6] = {11, 20, 3, 4, 9, 99};
constexpr int LENGTH = 5;

static char otherName[] = "99";

// The messages the assertions report with.
static const char NOT_NULL_NODE_MSG[] =
    "\nExiste un error al intentar obtener el nodo.\n El valor de retorno no puede ser NULL\n";
static const char POSITION_MSG[] =
    "\nError en el valor de retorno de <getNode> al solicitar el elemento en la  posicion %i\n";
static const char SIZE_MSG[] =
    "\nError en el valor de size de la lista se debe incrementar al agregar nodos\n";
static const char ADD_RESULT_MSG[] = "\nError en el valor de retorno de <addNode> si se agrego un "
                                     "nodo correctamente\n el valor a retornar es (0)\n";
static const char NULL_LIST_MSG[] =
    "\nError en el valor de retorno de <addNode> si la lista pasada "
    "es NULL\n el valor a retornar es (-1)\n";
static const char FRONT_MSG[] = "El puntero al employee agregado en la pos 0 no corresponde\n";

// A new employee from fixture row i; the name doubles as the last name.
static Employee* fixtureEmployee(int i) {
    Employee* employee = newEmployee(id[i], unsortedList[i], unsortedList[i], salary[i], sector[i]);
    caseList::nameEmployee(employee, i);
    return employee;
}

// Creates the fixture employees into pAux and inserts each at the end, read from the size field.
static void appendFixtureEmployees(LinkedList* list, Employee* pAux[LENGTH]) {
    for (int i = 0; i < LENGTH; i++) {
        pAux[i] = fixtureEmployee(i);
        test_addNode(list, list->size, pAux[i]);
    }
}

void appendProbeSetup() {
    utest_print("Setup...\r\n");
}

// Inserting a null element still counts as a node.
void appendProbeCase01() {
    LinkedList* list = ll_newLinkedList();
    test_addNode(list, 0, nullptr);
    utest_assertEqualsIntMsg(1, list->size, SIZE_MSG);
}

// Every insertion at the end answers 0.
void appendProbeCase02() {
    Employee* pAux[LENGTH];
    LinkedList* list = ll_newLinkedList();
    for (int i = 0; i < LENGTH; i++) {
        pAux[i] = fixtureEmployee(i);
        int r = test_addNode(list, list->size, pAux[i]);
        utest_assertEqualsIntMsg(r, 0, ADD_RESULT_MSG);
    }
}

// The nodes hold the elements in insertion order.
void appendProbeCase03() {
    Employee* pAux[LENGTH];
    char msg[256];
    LinkedList* list = ll_newLinkedList();
    appendFixtureEmployees(list, pAux);
    for (int i = 0; i < LENGTH; i++) {
        Node* nodoAux = test_getNode(list, i);
        utest_assertNotNullMsg(nodoAux, NOT_NULL_NODE_MSG);
        snprintf(msg, sizeof msg, POSITION_MSG, i);
        utest_assertEqualsPointerMsg(nodoAux->pElement, pAux[i], msg);
    }
}

// A null list is refused with -1.
void appendProbeCase04() {
    int r = test_addNode(nullptr, 0, nullptr);
    utest_assertEqualsIntMsg(r, -1, NULL_LIST_MSG);
}

// Insertion at 0 goes to the front and shifts every node one place on.
void appendProbeCase05() {
    Employee* pAux[LENGTH];
    char msg[256];
    LinkedList* list = ll_newLinkedList();
    appendFixtureEmployees(list, pAux);
    Employee* other = newEmployee(99, otherName, otherName, 99.0f, 99);
    test_addNode(list, 0, other);
    Node* nodoAux = test_getNode(list, 0);
    utest_assertNotNullMsg(nodoAux, NOT_NULL_NODE_MSG);
    utest_assertEqualsPointerMsg(nodoAux->pElement, other, FRONT_MSG);
    for (int i = 0; i < LENGTH; i++) {
        nodoAux = test_getNode(list, i + 1);
        utest_assertNotNullMsg(nodoAux, NOT_NULL_NODE_MSG);
        snprintf(msg, sizeof msg, POSITION_MSG, i);
        utest_assertEqualsPointerMsg(nodoAux->pElement, pAux[i], msg);
    }
}
