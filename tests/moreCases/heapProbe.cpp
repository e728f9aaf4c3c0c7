// An extended case group for the runner's own tests: cases that free everything they create, so
// that a block left at the end is the list's.
#include "LinkedList.h"
#include "utest.h"

#include <cstdlib>

void heapProbeSetup() {
    utest_print("Setup...\r\n");
}

// A list of two null elements, disposed of.
void heapProbeCase01() {
    LinkedList* list = ll_newLinkedList();
    ll_add(list, nullptr);
    ll_add(list, nullptr);
    utest_assertEqualsIntMsg(ll_deleteLinkedList(list), 0, "\nError al borrar la lista\n");
}

static void touch(void* /*element*/) {}

static int one(void* /*element*/) {
    return 1;
}

// An element of the case's own, mapped, counted, popped and freed, and its list disposed of.
void heapProbeCase02() {
    LinkedList* list = ll_newLinkedList();
    void* element = malloc(24);
    ll_add(list, element);
    ll_map(list, touch);
    utest_assertEqualsIntMsg(ll_count(list, one), 1, "\nError al contar\n");
    free(ll_pop(list, 0));
    utest_assertEqualsIntMsg(ll_deleteLinkedList(list), 0, "\nError al borrar la lista\n");
}
