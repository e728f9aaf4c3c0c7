// Membership of one element with ll_contains, by pointer identity.
#include "caseList.h"

// The fixture rows; the cases use the first LENGTH of them.
static char names[6][3] = {"Za", "Zb", "Xd", "Xb", "Ya", "Yc"};
static char* unsortedList[6] = {names[0], names[1], names[2], names[3], names[4], names[5]};
static int sector[6] = {1, 1, 2, 3, 4, 6};
static float salary[6] = {1000.0f, 1000.0f, 2000.0f, 3000.0f, 4000.0f, 8000.0f};
static int id[6] = {11, 20, 3, 4, 9, 99};
constexpr int LENGTH = 5;

// The messages the assertions report with.
static const char EMPTY_MSG[] = "\nError en el valor de retorno de <contains> si los parametros "
                                "son correctos\n debe retornar 0 o 1\n";
static const char NOT_HELD_MSG[] =
    "\nError en el valor de retorno de <contains> si los parametros\n son correctos y NO contiene "
    "el elemento debe retornar 0\n";
static const char HELD_MSG[] = "\nError en el valor de retorno de <contains> si los parametros\n "
                               "son correctos y contiene el elemento debe retornar 1\n";
static const char NULL_LIST_MSG[] = "\nError en el valor de retorno de <contains> si la lista "
                                    "pasada es NULL\n el valor a retornar es -1\n";

void memberProbeSetup() {
    utest_print("Setup...\r\n");
}

// An empty list holds nothing, not even null.
void memberProbeCase01() {
    LinkedList* list = ll_newLinkedList();
    int r = ll_contains(list, nullptr);
    utest_assertEqualsIntMsg(r, 0, EMPTY_MSG);
}

// A list of employees does not hold null and holds each of its employees.
void memberProbeCase02() {
    Employee* pAux[LENGTH];
    LinkedList* list = ll_newLinkedList();
    for (int i = 0; i < LENGTH; i++) {
        pAux[i] = newEmployee(id[i], unsortedList[i], unsortedList[i], salary[i], sector[i]);
        caseList::nameEmployee(pAux[i], i);
        ll_add(list, pAux[i]);
    }
    int r = ll_contains(list, nullptr);
    utest_assertEqualsIntMsg(r, 0, NOT_HELD_MSG);
    for (int i = 0; i < LENGTH; i++) {
        r = ll_contains(list, pAux[i]);
        utest_assertEqualsIntMsg(r, 1, HELD_MSG);
    }
}

// A null list answers -1.
void memberProbeCase03() {
    utest_assertEqualsIntMsg(ll_contains(nullptr, nullptr), -1, NULL_LIST_MSG);
}
