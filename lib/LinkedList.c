#include "LinkedList.h"

#include <limits.h>
#include <stdbool.h>
#include <stdlib.h>

/* Nodes and the header come from malloc and go back with free, because callers chain nodes of
 * their own (allocated with malloc) into a list and the list frees them with its own.
 *
 * size is the authority on how many elements the list holds: walks never go past node size-1,
 * and a walk that meets the end of the chain first reports failure instead of reading on. */

/* Records the fields as the list has just left them, vouching for the tail and cursor. */
static void remember(LinkedList* list) {
    list->pSeenFirstNode = list->pFirstNode;
    list->seenSize = list->size;
}

/* Drops the remembered tail and cursor, so that the next walk starts from the head. */
static void forget(LinkedList* list) {
    list->pLastNode = NULL;
    list->pCursorNode = NULL;
    list->cursorIndex = 0;
    remember(list);
}

/* Forgets the remembered tail and cursor when a caller has rewritten pFirstNode or size since the
 * list last changed them, so that only positions the list itself recorded are ever trusted. */
static void refresh(LinkedList* list) {
    if (list->pFirstNode != list->pSeenFirstNode || list->size != list->seenSize) {
        forget(list);
    }
}

/* Moves the cursor to node, which sits at index. */
static void placeCursor(LinkedList* list, Node* node, int index) {
    list->pCursorNode = node;
    list->cursorIndex = index;
}

/* The node at index (0..size-1), starting from the tail or the cursor when they are known and
 * lie on the way; NULL when the chain ends before index. Leaves the cursor on the node found. */
static Node* findNode(LinkedList* list, int index) {
    refresh(list);
    if (index == list->size - 1 && list->pLastNode != NULL) {
        placeCursor(list, list->pLastNode, index);
        return list->pLastNode;
    }
    Node* node = list->pFirstNode;
    int position = 0;
    if (list->pCursorNode != NULL && list->cursorIndex <= index) {
        node = list->pCursorNode;
        position = list->cursorIndex;
    }
    while (node != NULL && position < index) {
        node = node->pNextNode;
        ++position;
    }
    if (node != NULL) {
        placeCursor(list, node, index);
    }
    return node;
}

/* A new unlinked node holding pElement, or NULL when memory runs out. */
static Node* newNode(void* pElement) {
    Node* node = malloc(sizeof(Node));
    if (node != NULL) {
        node->pElement = pElement;
        node->pNextNode = NULL;
    }
    return node;
}

/* Links node in at index (0..size), keeping whatever followed that position behind it; -1, the
 * list unchanged, when the node before index is missing from the chain. */
static int linkNode(LinkedList* list, int index, Node* node) {
    refresh(list);
    if (index == 0) {
        node->pNextNode = list->pFirstNode;
        list->pFirstNode = node;
        if (list->size == 0) {
            list->pLastNode = node;
        }
    } else {
        Node* previous = findNode(list, index - 1);
        if (previous == NULL) {
            return -1;
        }
        node->pNextNode = previous->pNextNode;
        previous->pNextNode = node;
        if (index == list->size) {
            list->pLastNode = node;
        }
    }
    list->size++;
    placeCursor(list, node, index);
    remember(list);
    return 0;
}

/* Unlinks the node at index (0..size-1) and returns it; NULL, the list unchanged, when the
 * chain ends before index. */
static Node* unlinkNode(LinkedList* list, int index) {
    refresh(list);
    Node* previous = index > 0 ? findNode(list, index - 1) : NULL;
    Node* node = index > 0 ? (previous != NULL ? previous->pNextNode : NULL) : list->pFirstNode;
    if (node == NULL) {
        return NULL;
    }
    if (previous != NULL) {
        previous->pNextNode = node->pNextNode;
        placeCursor(list, previous, index - 1);
    } else {
        list->pFirstNode = node->pNextNode;
        placeCursor(list, NULL, 0);
    }
    if (index == list->size - 1) {
        list->pLastNode = previous;
    }
    list->size--;
    remember(list);
    return node;
}

/* Whether index names an element of the list (0..size-1). */
static bool holdsIndex(const LinkedList* list, int index) {
    return index >= 0 && index < list->size;
}

LinkedList* ll_newLinkedList(void) {
    return calloc(1, sizeof(LinkedList));
}

/* Callers call this after relinking, replacing or freeing nodes by hand, with pFirstNode and size
 * perhaps as they were: the tail and cursor may name nodes gone or moved, so they are dropped.
 * A walk that reads the length once before it stays linear. */
int ll_len(LinkedList* this_) {
    if (this_ == NULL) {
        return -1;
    }
    forget(this_);
    return this_->size;
}

/* Constant time while the tail is known. */
int ll_add(LinkedList* this_, void* pElement) {
    return this_ != NULL ? test_addNode(this_, this_->size, pElement) : -1;
}

int test_addNode(LinkedList* this_, int nodeIndex, void* pElement) {
    if (this_ == NULL || nodeIndex < 0 || nodeIndex > this_->size || this_->size == INT_MAX) {
        return -1;
    }
    Node* node = newNode(pElement);
    if (node == NULL) {
        return -1;
    }
    if (linkNode(this_, nodeIndex, node) != 0) {
        free(node);
        return -1;
    }
    return 0;
}

Node* test_getNode(LinkedList* this_, int nodeIndex) {
    if (this_ == NULL || !holdsIndex(this_, nodeIndex)) {
        return NULL;
    }
    return findNode(this_, nodeIndex);
}

void* ll_get(LinkedList* this_, int index) {
    Node* node = test_getNode(this_, index);
    return node != NULL ? node->pElement : NULL;
}

void* ll_pop(LinkedList* this_, int index) {
    if (this_ == NULL || !holdsIndex(this_, index)) {
        return NULL;
    }
    Node* node = unlinkNode(this_, index);
    if (node == NULL) {
        return NULL;
    }
    void* pElement = node->pElement;
    free(node);
    return pElement;
}

int ll_remove(LinkedList* this_, int index) {
    if (this_ == NULL || !holdsIndex(this_, index)) {
        return -1;
    }
    Node* node = unlinkNode(this_, index);
    if (node == NULL) {
        return -1;
    }
    free(node);
    return 0;
}

/* One walk: the first node is found from the tail or the cursor, the rest followed from it. */
LinkedList* ll_subList(LinkedList* this_, int from, int to) {
    if (this_ == NULL || from < 0 || to > this_->size || from > to) {
        return NULL;
    }
    LinkedList* slice = ll_newLinkedList();
    if (slice == NULL) {
        return NULL;
    }
    Node* node = from < to ? test_getNode(this_, from) : NULL;
    for (int index = from; index < to; index++) {
        if (node == NULL || ll_add(slice, node->pElement) != 0) {
            ll_deleteLinkedList(slice);
            return NULL;
        }
        node = node->pNextNode;
    }
    return slice;
}

int ll_contains(LinkedList* this_, void* pElement) {
    if (this_ == NULL) {
        return -1;
    }
    return ll_indexOf(this_, pElement) >= 0 ? 1 : 0;
}

/* O(n·m): one search of this_ for each element of list2. */
int ll_containsAll(LinkedList* this_, LinkedList* list2) {
    if (this_ == NULL || list2 == NULL) {
        return -1;
    }
    Node* node = list2->pFirstNode;
    for (int index = 0; index < list2->size && node != NULL; index++) {
        if (ll_contains(this_, node->pElement) != 1) {
            return 0;
        }
        node = node->pNextNode;
    }
    return 1;
}

int ll_indexOf(LinkedList* this_, void* pElement) {
    if (this_ == NULL) {
        return -1;
    }
    Node* node = this_->pFirstNode;
    for (int index = 0; index < this_->size && node != NULL; index++) {
        if (node->pElement == pElement) {
            return index;
        }
        node = node->pNextNode;
    }
    return -1;
}

/* Nodes chained beyond size are the caller's: they stay. */
int ll_deleteLinkedList(LinkedList* this_) {
    if (this_ == NULL) {
        return -1;
    }
    Node* node = this_->pFirstNode;
    for (int index = 0; index < this_->size && node != NULL; index++) {
        Node* next = node->pNextNode;
        free(node);
        node = next;
    }
    free(this_);
    return 0;
}

int ll_map(LinkedList* this_, void (*pFunc)(void* pElement)) {
    if (this_ == NULL || pFunc == NULL) {
        return -1;
    }
    Node* node = this_->pFirstNode;
    for (int index = 0; index < this_->size && node != NULL; index++) {
        pFunc(node->pElement);
        node = node->pNextNode;
    }
    return 0;
}

/* Summed in 64 bits, so that the saturation needs no overflow check per element. */
int ll_count(LinkedList* this_, int (*pFunc)(void* pElement)) {
    if (this_ == NULL || pFunc == NULL) {
        return -1;
    }
    long long total = 0;
    Node* node = this_->pFirstNode;
    for (int index = 0; index < this_->size && node != NULL; index++) {
        int result = pFunc(node->pElement);
        if (result > 0 && total < INT_MAX) {
            total += result;
        }
        node = node->pNextNode;
    }
    return total < INT_MAX ? (int)total : INT_MAX;
}
