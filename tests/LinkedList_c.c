/* The list used from C: the header must compile as C and its functions link with C names. */
#include "LinkedList.h"

#include <stddef.h>

static int negated(void* element) {
    return -*(int*)element;
}

/* The list's size and the offset of its size field as C lays them out. */
size_t cListLayout(size_t* sizeOffset) {
    *sizeOffset = offsetof(LinkedList, size);
    return sizeof(LinkedList);
}

/* Builds, reads, slices and disposes of a list; 0 when every answer was right, else the number
 * of the first wrong one. */
int cListRoundTrip(void) {
    int values[3] = {1, 2, 3};
    LinkedList* list = ll_newLinkedList();
    LinkedList* slice = NULL;
    int wrong = 0;
    for (int i = 0; i < 3; ++i) {
        ll_add(list, &values[i]);
    }
    if (ll_len(list) != 3 || ll_get(list, 2) != &values[2]) {
        wrong = 1;
    } else if (test_addNode(list, 0, NULL) != 0 || list->pFirstNode->pElement != NULL) {
        wrong = 2;
    } else if ((slice = ll_subList(list, 1, 3)) == NULL || ll_containsAll(list, slice) != 1) {
        wrong = 3;
    } else if (ll_indexOf(slice, &values[1]) != 1 || ll_pop(list, 0) != NULL) {
        wrong = 4;
    } else if (ll_count(list, negated) != 0) {
        wrong = 5;
    }
    ll_deleteLinkedList(slice);
    ll_deleteLinkedList(list);
    return wrong;
}
