/* A singly linked list in C that remembers its last node, so that appending takes constant time,
 * and the last position it reached (the cursor), so that reading in order steps one node at a
 * time. Both are trusted only while pFirstNode and size are what the list itself last left there
 * (pSeenFirstNode, seenSize): a caller that rewrote either has them forgotten. One realistic
 * fault is switched on per build with a FAULT_<name> macro (tests/lists/faults.md lists them);
 * with none it keeps the list's contract. */
#include "LinkedList.h"

#include <limits.h>
#include <stdlib.h>

/* Records pFirstNode and size as they stand, vouching for the tail and the cursor. */
static void settle(LinkedList* list) {
    list->pSeenFirstNode = list->pFirstNode;
    list->seenSize = list->size;
}

/* Drops the tail and the cursor, taking pFirstNode and size as they stand as seen. */
static void forget(LinkedList* list) {
    list->pLastNode = NULL;
    list->pCursorNode = NULL;
    settle(list);
}

/* Forgets the tail and the cursor when the caller has rewritten pFirstNode or size, and takes
 * the new values as seen, so that a later rewrite back to the old ones is noticed too. */
static void forgetIfRewritten(LinkedList* list) {
#if defined(FAULT_staleAfterSizeRewrite)
    /* Only a new first node is noticed. */
    int rewritten = list->pFirstNode != list->pSeenFirstNode;
#elif defined(FAULT_staleAfterHeadRewrite)
    /* Only a new size is noticed. */
    int rewritten = list->size != list->seenSize;
#else
    int rewritten = list->pFirstNode != list->pSeenFirstNode || list->size != list->seenSize;
#endif
    if (rewritten) {
        forget(list);
    }
}

/* The node at index (0..size-1), from the tail, the cursor or the head; NULL when the chain ends
 * first. Leaves the cursor on the node found. */
static Node* findNode(LinkedList* list, int index) {
    forgetIfRewritten(list);
    Node* node = list->pFirstNode;
    int position = 0;
    if (index == list->size - 1 && list->pLastNode != NULL) {
        node = list->pLastNode;
        position = index;
#ifdef FAULT_cursorUsedBehind
        /* The cursor is taken up wherever it stands, even past the index. */
    } else if (list->pCursorNode != NULL) {
#else
    } else if (list->pCursorNode != NULL && list->cursorIndex <= index) {
#endif
        node = list->pCursorNode;
        position = list->cursorIndex;
    }
    while (node != NULL && position < index) {
        node = node->pNextNode;
        position++;
    }
    if (node != NULL) {
        list->pCursorNode = node;
        list->cursorIndex = index;
    }
    return node;
}

LinkedList* ll_newLinkedList(void) {
    return calloc(1, sizeof(LinkedList));
}

/* The caller's word that it relinked, replaced or freed nodes by hand: the tail and the cursor
 * may name nodes gone or moved. */
int ll_len(LinkedList* this_) {
    if (this_ == NULL) {
        return -1;
    }
#ifndef FAULT_lenKeepsPositions
    forget(this_);
#endif
    return this_->size;
}

Node* test_getNode(LinkedList* this_, int nodeIndex) {
    if (this_ == NULL || nodeIndex < 0 || nodeIndex >= this_->size) {
        return NULL;
    }
    return findNode(this_, nodeIndex);
}

void* ll_get(LinkedList* this_, int index) {
    Node* node = test_getNode(this_, index);
    return node == NULL ? NULL : node->pElement;
}

int test_addNode(LinkedList* this_, int nodeIndex, void* pElement) {
    if (this_ == NULL || nodeIndex < 0 || nodeIndex > this_->size || this_->size == INT_MAX) {
        return -1;
    }
    forgetIfRewritten(this_);
    Node* previous = nodeIndex > 0 ? findNode(this_, nodeIndex - 1) : NULL;
    if (nodeIndex > 0 && previous == NULL) {
        return -1;
    }
    Node* node = malloc(sizeof(Node));
    if (node == NULL) {
        return -1;
    }
    node->pElement = pElement;
    if (previous == NULL) {
        node->pNextNode = this_->pFirstNode;
        this_->pFirstNode = node;
#ifndef FAULT_cursorNotShiftedOnInsert
        /* The faulty list leaves the cursor where it was, one position short of its node. */
        this_->pCursorNode = node;
        this_->cursorIndex = 0;
#endif
    } else {
        node->pNextNode = previous->pNextNode;
        previous->pNextNode = node;
        this_->pCursorNode = node;
        this_->cursorIndex = nodeIndex;
    }
#ifndef FAULT_tailNotSetOnInsertAtEnd
    /* The faulty list leaves keeping the tail to ll_add. */
    if (nodeIndex == this_->size) {
        this_->pLastNode = node;
    }
#endif
    this_->size++;
    settle(this_);
    return 0;
}

int ll_add(LinkedList* this_, void* pElement) {
    if (this_ == NULL) {
        return -1;
    }
    forgetIfRewritten(this_);
    if (this_->pLastNode == NULL || this_->size == INT_MAX) {
        int result = test_addNode(this_, this_->size, pElement);
#ifdef FAULT_tailNotSetOnInsertAtEnd
        this_->pLastNode = result == 0 ? findNode(this_, this_->size - 1) : NULL;
#endif
        return result;
    }
    Node* node = malloc(sizeof(Node));
    if (node == NULL) {
        return -1;
    }
    node->pElement = pElement;
    node->pNextNode = this_->pLastNode->pNextNode;
    this_->pLastNode->pNextNode = node;
    this_->pLastNode = node;
    this_->size++;
    settle(this_);
    return 0;
}

/* Unlinks the node at index and returns it; NULL for a bad index or a chain that ends first. */
static Node* unlinkNode(LinkedList* list, int index) {
    if (list == NULL || index < 0 || index >= list->size) {
        return NULL;
    }
    forgetIfRewritten(list);
    Node* previous = index > 0 ? findNode(list, index - 1) : NULL;
    Node* node = index > 0 ? (previous != NULL ? previous->pNextNode : NULL) : list->pFirstNode;
    if (node == NULL) {
        return NULL;
    }
    if (previous == NULL) {
        list->pFirstNode = node->pNextNode;
#ifndef FAULT_cursorKeptAfterFrontPop
        /* The faulty list keeps its cursor: its node now sits one position before the index it
         * records, or is the very node about to be freed. */
        list->pCursorNode = NULL;
#endif
    } else {
        previous->pNextNode = node->pNextNode;
    }
#ifndef FAULT_tailLeftOnFreedNode
    /* The faulty list keeps its tail on the last node after unlinking it. */
    if (index == list->size - 1) {
        list->pLastNode = previous;
    }
#endif
    list->size--;
    settle(list);
    return node;
}

void* ll_pop(LinkedList* this_, int index) {
    Node* node = unlinkNode(this_, index);
    if (node == NULL) {
        return NULL;
    }
    void* pElement = node->pElement;
    free(node);
    return pElement;
}

int ll_remove(LinkedList* this_, int index) {
    Node* node = unlinkNode(this_, index);
    if (node == NULL) {
        return -1;
    }
    free(node);
    return 0;
}

LinkedList* ll_subList(LinkedList* this_, int from, int to) {
    if (this_ == NULL || from < 0 || to > this_->size || from > to) {
        return NULL;
    }
    LinkedList* subList = ll_newLinkedList();
    if (subList == NULL) {
        return NULL;
    }
    for (int i = from; i < to; i++) {
        Node* node = test_getNode(this_, i);
        if (node == NULL || ll_add(subList, node->pElement) != 0) {
            ll_deleteLinkedList(subList);
            return NULL;
        }
    }
    return subList;
}

int ll_indexOf(LinkedList* this_, void* pElement) {
    if (this_ == NULL) {
        return -1;
    }
    Node* node = this_->pFirstNode;
    for (int i = 0; i < this_->size && node != NULL; i++, node = node->pNextNode) {
        if (node->pElement == pElement) {
            return i;
        }
    }
    return -1;
}

int ll_contains(LinkedList* this_, void* pElement) {
    return this_ == NULL ? -1 : ll_indexOf(this_, pElement) >= 0;
}

int ll_containsAll(LinkedList* this_, LinkedList* list2) {
    if (this_ == NULL || list2 == NULL) {
        return -1;
    }
    Node* node = list2->pFirstNode;
    for (int i = 0; i < list2->size && node != NULL; i++, node = node->pNextNode) {
        if (ll_contains(this_, node->pElement) != 1) {
            return 0;
        }
    }
    return 1;
}

int ll_deleteLinkedList(LinkedList* this_) {
    if (this_ == NULL) {
        return -1;
    }
    Node* node = this_->pFirstNode;
    for (int i = 0; i < this_->size && node != NULL; i++) {
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
#ifdef FAULT_mapWalksOnCursor
    /* The walk steps on the list's own cursor, which any call the callback makes may move. */
    forgetIfRewritten(this_);
    this_->pCursorNode = this_->pFirstNode;
    for (this_->cursorIndex = 0; this_->cursorIndex < this_->size && this_->pCursorNode != NULL;
         this_->cursorIndex++) {
        pFunc(this_->pCursorNode->pElement);
        this_->pCursorNode = this_->pCursorNode->pNextNode;
    }
#else
    Node* node = this_->pFirstNode;
    for (int i = 0; i < this_->size && node != NULL; i++, node = node->pNextNode) {
        pFunc(node->pElement);
    }
#endif
    return 0;
}

int ll_count(LinkedList* this_, int (*pFunc)(void* pElement)) {
    if (this_ == NULL || pFunc == NULL) {
        return -1;
    }
    int total = 0;
    Node* node = this_->pFirstNode;
    for (int i = 0; i < this_->size && node != NULL; i++, node = node->pNextNode) {
        int result = pFunc(node->pElement);
        if (result > 0) {
            /* Held at INT_MAX: what is left below it is all a result may still add. */
            total += result < INT_MAX - total ? result : INT_MAX - total;
        }
    }
    return total;
}
