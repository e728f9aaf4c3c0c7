// Membership of every element of a second list with ll_containsAll, by pointer identity.
#include "caseList.h"

// The fixture rows; the cases use the first LENGTH of them.
static char names[6][3] = {"Za", "Zb", "Xd", "Xb", "Ya", "Yc"};
static char* unsortedList[6] = {names[0], names[1], names[2], names[3], names[4], names[5]};
static int sector[6] = {1, 1, 2, 3, 4, 6};
static float salary[6] = {1000.0f, 1000.0f, 2000.0f, 3000.0f, 4000.0f, 8000.0f};
static int id[6] = {11, 20, 3, 4, 9, 99};
constexpr int LENGTH = 5;

// The messages the assertions report with.
static const char ANSWER_MSG[] = "\nError en el valor de retorno de <containsAll> si los "
                                 "parametros son correctos\n debe retornar 0 o 1\n";
static const char NOT_ALL_HELD_MSG[] =
    "Error en el valor de retorno <containsAll> si la lista2 no esta contenida se debe retornar 0";
static const char NULL_SECOND_MSG[] = "\nError en el valor de retorno de <containsAll> si la lista "
                                      "(this2) pasada es NULL\n el valor a retornar es -1\n";
static const char NULL_FIRST_MSG[] = "\nError en el valor de retorno de <containsAll> si la lista "
                                     "(this) pasada es NULL\n el valor a retornar es -1\n";

// Creates the fixture employees into pAux, adding each to list and then to pOtherList.
static void addFixtureEmployeesToBoth(LinkedList* list, LinkedList* pOtherList,
                                      Employee* pAux[LENGTH]) {
    for (int i = 0; i < LENGTH; i++) {
        pAux[i] = newEmployee(id[i], unsortedList[i], unsortedList[i], salary[i], sector[i]);
        caseList::nameEmployee(pAux[i], i);
        ll_add(list, pAux[i]);
        ll_add(pOtherList, pAux[i]);
    }
}

void supersetProbeSetup() {
    utest_print("Setup...\r\n");
}

// An empty list asked about itself answers 0 or 1.
void supersetProbeCase01() {
    LinkedList* list = ll_newLinkedList();
    int r = ll_containsAll(list, list);
    utest_assertNotEqualsIntMsg(r, -1, ANSWER_MSG);
}

// Once its first element is removed, a list no longer holds all of its twin.
void supersetProbeCase02() {
    Employee* pAux[LENGTH];
    LinkedList* list = ll_newLinkedList();
    LinkedList* pOtherList = ll_newLinkedList();
    addFixtureEmployeesToBoth(list, pOtherList, pAux);
    ll_remove(list, 0);
    int r = ll_containsAll(list, pOtherList);
    utest_assertEqualsIntMsg(r, 0, NOT_ALL_HELD_MSG);
}

// Two lists of the same pointers hold each other.
void supersetProbeCase03() {
    Employee* pAux[LENGTH];
    LinkedList* list = ll_newLinkedList();
    LinkedList* pOtherList = ll_newLinkedList();
    addFixtureEmployeesToBoth(list, pOtherList, pAux);
    int r = ll_containsAll(list, pOtherList);
    utest_assertEqualsInt(r, 1);
}

// A null list on either side answers -1.
void supersetProbeCase04() {
    LinkedList* list = ll_newLinkedList();
    utest_assertEqualsIntMsg(ll_containsAll(list, nullptr), -1, NULL_SECOND_MSG);
    utest_assertEqualsIntMsg(ll_containsAll(nullptr, list), -1, NULL_FIRST_MSG);
}
