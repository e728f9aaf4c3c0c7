// Sub-lists with ll_subList: a new list of the same element pointers, end index exclusive.
#include "caseList.h"

// The fixture rows; the cases use the first LENGTH of them.
static char names[6][3] = {"Za", "Zb", "Xd", "Xb", "Ya", "Yc"};
static char* unsortedList[6] = {names[0], names[1], names[2], names[3], names[4], names[5]};
static int sector[6] = {1, 1, 2, 3, 4, 6};
static float salary[6] = {1000.0f, 1000.0f, 2000.0f, 3000.0f, 4000.0f, 8000.0f};
static int id[6] = {11, 20, 3, 4, 9, 99};
constexpr int LENGTH = 5;

// The messages the assertions report with.
static const char SUB_LIST_MSG[] = "\nError en el valor de retorno de <subList> si los parametros "
                                   "son correctos\nno debe retornar NULL\n";
static const char SAME_ELEMENTS_MSG[] = "Error: la sub lista no contiene los elementos solicitados";
static const char FROM_BELOW_MSG[] = "\nError en el valor de retorno de <subList> el from esta "
                                     "fuera de indice (< 0),\n se deberia retornar NULL\n";
static const char TO_PAST_MSG[] = "\nError en el valor de retorno de <subList> el to esta fuera de "
                                  "indice (> len()),\n se deberia retornar NULL\n";
static const char NULL_LIST_MSG[] =
    "\nError en el valor de retorno de <subList> si la lista pasada "
    "es NULL\n el valor a retornar es (NULL)\n";

// A new list of the fixture employees, created into pAux in row order and added with ll_add.
static LinkedList* listOfFixtureEmployees(Employee* pAux[LENGTH]) {
    LinkedList* list = ll_newLinkedList();
    for (int i = 0; i < LENGTH; i++) {
        pAux[i] = newEmployee(id[i], unsortedList[i], unsortedList[i], salary[i], sector[i]);
        caseList::nameEmployee(pAux[i], i);
        ll_add(list, pAux[i]);
    }
    return list;
}

void sliceProbeSetup() {
    utest_print("Setup...\r\n");
}

// A valid range of a list holding one null element yields a list.
void sliceProbeCase01() {
    LinkedList* list = ll_newLinkedList();
    ll_add(list, nullptr);
    utest_assertNotNullMsg(ll_subList(list, 0, 1), SUB_LIST_MSG);
}

// The range 0 to 2 holds the first two element pointers, in order.
void sliceProbeCase02() {
    Employee* pAux[LENGTH];
    LinkedList* list = listOfFixtureEmployees(pAux);
    LinkedList* pSubList = ll_subList(list, 0, 2);
    for (int i = 0; i < 2; i++) {
        utest_assertEqualsPointerMsg(ll_get(pSubList, i), ll_get(list, i), SAME_ELEMENTS_MSG);
    }
}

// A start below 0 or an end past the length yields null.
void sliceProbeCase03() {
    Employee* pAux[LENGTH];
    LinkedList* list = listOfFixtureEmployees(pAux);
    LinkedList* pSubList = ll_subList(list, -1, 2);
    utest_assertNullMsg(pSubList, FROM_BELOW_MSG);
    pSubList = ll_subList(list, 0, 6);
    utest_assertNullMsg(pSubList, TO_PAST_MSG);
}

// A null list yields null.
void sliceProbeCase04() {
    Employee* pAux[LENGTH];
    listOfFixtureEmployees(pAux);
    LinkedList* pSubList = ll_subList(nullptr, 0, 2);
    utest_assertNullMsg(pSubList, NULL_LIST_MSG);
}
