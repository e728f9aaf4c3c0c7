// Disposal with ll_deleteLinkedList.
#include "LinkedList.h"
#include "utest.h"

// The messages the assertions report with.
static const char DISPOSED_MSG[] =
    "\nError en el valor de retorno de <deleteLinkedList> si los parametros son correctos es 0\n";
static const char NULL_LIST_MSG[] = "\nError en el valor de retorno de <deleteLinkedList> si la "
                                    "lista pasada es NULL\n el valor a retornar es (-1)\n";

void disposeProbeSetup() {
    utest_print("Setup...\r\n");
}

// A list holding a null element is disposed of with 0; the list is not touched afterwards.
void disposeProbeCase01() {
    LinkedList* list = ll_newLinkedList();
    ll_add(list, nullptr);
    int r = ll_deleteLinkedList(list);
    utest_assertEqualsIntMsg(r, 0, DISPOSED_MSG);
}

// A null list answers -1.
void disposeProbeCase02() {
    int r = ll_deleteLinkedList(nullptr);
    utest_assertEqualsIntMsg(r, -1, NULL_LIST_MSG);
}
