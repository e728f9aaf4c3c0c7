// Disposal with ll_deleteLinkedList frees every node: the runner counts the heap blocks a case
// leaves behind. The elements are null, so that a list that frees its elements on disposal, as
// it may, frees nothing of the case's.
#include "caseList.h"

// The messages the assertions report with.
static const char DISPOSED_MSG[] = "\nError en el valor de retorno de <deleteLinkedList> si los "
                                   "parametros son correctos es 0\n";

void releaseProbeSetup() {
    utest_print("Setup...\r\n");
}

// A list of a hundred appended elements.
void releaseProbeCase01() {
    LinkedList* list = ll_newLinkedList();
    for (int i = 0; i < 100; i++) {
        ll_add(list, nullptr);
    }
    int r = ll_deleteLinkedList(list);
    utest_assertEqualsIntMsg(r, 0, DISPOSED_MSG);
}

// A list of three nodes the caller chained by hand.
void releaseProbeCase02() {
    LinkedList* list = ll_newLinkedList();
    list->pFirstNode =
        caseList::newNode(nullptr, caseList::newNode(nullptr, caseList::newNode(nullptr, nullptr)));
    list->size = 3;
    int r = ll_deleteLinkedList(list);
    utest_assertEqualsIntMsg(r, 0, DISPOSED_MSG);
}

// A list after inserts at the front and in the middle, a pop and a removal.
void releaseProbeCase03() {
    LinkedList* list = ll_newLinkedList();
    for (int i = 0; i < 4; i++) {
        ll_add(list, nullptr);
    }
    test_addNode(list, 0, nullptr);
    test_addNode(list, 2, nullptr);
    ll_pop(list, 1);
    ll_remove(list, 3);
    int r = ll_deleteLinkedList(list);
    utest_assertEqualsIntMsg(r, 0, DISPOSED_MSG);
}
