/* A plain singly linked list in C that walks from the head for every operation, with one
 * realistic fault switched on at compile time, so that the conformance suite and the extended
 * checks can be seen to catch it: define one FAULT_<name> macro (tests/lists/faults.md lists
 * them). With none it keeps the list's contract, which shows that each fault alone makes the
 * difference. FAULT_slowOnce is no fault but a busy machine: the first ll_indexOf of a run takes a
 * second and a half unless the file named by PROBE_TEST_SLOWED is there, and creates it. */
#include "LinkedList.h"

#include <errno.h>
#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#ifdef FAULT_containsSharesWalk
/* One walking position for the whole program, shared by ll_map and ll_contains. */
static Node* walk;
#endif

#ifdef FAULT_tailSharedByLists
/* The node ll_add last appended, and the size it left behind: one remembered tail for every list,
 * trusted by whichever list has that size. */
static Node* lastAppended;
static int sizeAfterAppend;
#endif

#ifdef FAULT_subListCopiesRecords
/* How much of a record the faulty sub-list copies: every record the cases use is longer. */
enum { RECORD_BYTES = 16 };
#endif

LinkedList* ll_newLinkedList(void) {
    return calloc(1, sizeof(LinkedList));
}

int ll_len(LinkedList* this_) {
    if (this_ == NULL) {
        return -1;
    }
#ifdef FAULT_lenCountsNodes
    /* Counts the chained nodes instead of answering from the size field. */
    int count = 0;
    for (Node* node = this_->pFirstNode; node != NULL; node = node->pNextNode) {
        count++;
    }
    return count;
#else
    return this_->size;
#endif
}

Node* test_getNode(LinkedList* this_, int nodeIndex) {
    if (this_ == NULL || nodeIndex < 0) {
        return NULL;
    }
#ifndef FAULT_getNodePastSize
    /* The faulty list trusts the chain to end where size says, and follows it past size. */
    if (nodeIndex >= this_->size) {
        return NULL;
    }
#endif
    Node* node = this_->pFirstNode;
    for (int i = 0; i < nodeIndex && node != NULL; i++) {
        node = node->pNextNode;
#ifdef FAULT_getRewritesSize
        /* A chain that ends before size says is taken as size's mistake, and size is put right. */
        if (node == NULL) {
            this_->size = i + 1;
        }
#endif
    }
    return node;
}

int test_addNode(LinkedList* this_, int nodeIndex, void* pElement) {
#ifdef FAULT_crashOnNullList
    /* No null check: a null list is read through. */
    if (nodeIndex < 0 || nodeIndex > this_->size) {
#elif defined(FAULT_insertPastEndAppends)
    /* Any index past the end taken to mean the end. */
    if (this_ != NULL && nodeIndex > this_->size) {
        nodeIndex = this_->size;
    }
    if (this_ == NULL || nodeIndex < 0) {
#else
    if (this_ == NULL || nodeIndex < 0 || nodeIndex > this_->size) {
#endif
        return -1;
    }
#ifndef FAULT_fullListOverflows
    /* The faulty list has no room check: inserting into a full list takes size past INT_MAX. */
    if (this_->size == INT_MAX) {
        return -1;
    }
#endif
#ifdef FAULT_insertAtZeroAppends
    /* Index 0 taken to mean "no position given": the element goes to the end. */
    if (nodeIndex == 0) {
        nodeIndex = this_->size;
    }
#endif
    Node* previous = nodeIndex > 0 ? test_getNode(this_, nodeIndex - 1) : NULL;
#ifndef FAULT_insertTrustsSize
    /* The faulty list takes size's word that the node before the index is there. */
    if (nodeIndex > 0 && previous == NULL) {
        return -1;
    }
#endif
    Node* node = malloc(sizeof(Node));
#ifdef FAULT_addTrustsErrno
    /* Failure read from errno, which malloc sets on failure but never clears on success. */
    if (errno == ENOMEM) {
        free(node);
        return -1;
    }
#endif
    if (node == NULL) {
        return -1;
    }
    node->pElement = pElement;
    if (nodeIndex == 0) {
        node->pNextNode = this_->pFirstNode;
        this_->pFirstNode = node;
    } else {
#ifdef FAULT_insertMiddleDropsRest
        /* The new node is taken to be the last: whatever followed its place is dropped. */
        node->pNextNode = NULL;
#else
        node->pNextNode = previous->pNextNode;
#endif
        previous->pNextNode = node;
    }
#ifdef FAULT_nullNotCounted
    /* A null element taken for an empty slot, not an element. */
    if (pElement != NULL)
#endif
        this_->size++;
    return 0;
}

int ll_add(LinkedList* this_, void* pElement) {
#ifdef FAULT_tailSharedByLists
    if (this_ == NULL) {
        return -1;
    }
    if (lastAppended != NULL && this_->size == sizeAfterAppend && this_->size < INT_MAX) {
        Node* node = malloc(sizeof(Node));
        if (node == NULL) {
            return -1;
        }
        node->pElement = pElement;
        node->pNextNode = NULL;
        lastAppended->pNextNode = node;
        lastAppended = node;
        sizeAfterAppend = ++this_->size;
        return 0;
    }
    const int added = test_addNode(this_, this_->size, pElement);
    if (added == 0) {
        lastAppended = test_getNode(this_, this_->size - 1);
        sizeAfterAppend = this_->size;
    }
    return added;
#else
    return this_ == NULL ? -1 : test_addNode(this_, this_->size, pElement);
#endif
}

void* ll_get(LinkedList* this_, int index) {
#ifdef FAULT_getBelowZeroGivesFirst
    /* Only the upper bound is checked: the walk to a negative index never leaves the head. */
    if (this_ != NULL && index < 0 && this_->size > 0) {
        return this_->pFirstNode->pElement;
    }
#endif
    Node* node = test_getNode(this_, index);
    return node == NULL ? NULL : node->pElement;
}

/* Unlinks the node at index and returns it, leaving size to the caller; NULL for a bad index. */
static Node* unlinkNode(LinkedList* this_, int index) {
    Node* node = test_getNode(this_, index);
    if (node == NULL) {
        return NULL;
    }
    if (index == 0) {
        this_->pFirstNode = node->pNextNode;
#ifdef FAULT_popLastLeavesLink
        /* Nothing is taken to follow the last node, so the one before it is not relinked. */
    } else if (index == this_->size - 1) {
#endif
    } else {
        test_getNode(this_, index - 1)->pNextNode = node->pNextNode;
    }
    return node;
}

void* ll_pop(LinkedList* this_, int index) {
    Node* node = unlinkNode(this_, index);
    if (node == NULL) {
        return NULL;
    }
#ifdef FAULT_popFrontDropsRest
    /* The front taken to be the only node: popping it leaves the list without a chain. */
    if (index == 0) {
        this_->pFirstNode = NULL;
    }
#endif
#ifndef FAULT_popKeepsLength
    /* The faulty list forgets to shorten the list. */
    this_->size--;
#endif
#ifdef FAULT_popReturnsNode
    /* The node is handed back where its element was asked for. */
    return node;
#else
    void* pElement = node->pElement;
    free(node);
    return pElement;
#endif
}

int ll_remove(LinkedList* this_, int index) {
#ifdef FAULT_removeAtSizeReadsPast
    /* The bound lets the length through, and the unlinking reads the node after the last. */
    if (this_ == NULL || index < 0 || index > this_->size) {
        return -1;
    }
    Node* previous = index > 0 ? test_getNode(this_, index - 1) : NULL;
    Node* node = previous != NULL ? previous->pNextNode : this_->pFirstNode;
    if (previous != NULL) {
        previous->pNextNode = node->pNextNode;
    } else {
        this_->pFirstNode = node->pNextNode;
    }
#else
#ifdef FAULT_removeLastRefused
    /* The bound is one short: the last element cannot be removed. */
    if (this_ != NULL && index == this_->size - 1) {
        return -1;
    }
#endif
    Node* node = unlinkNode(this_, index);
    if (node == NULL) {
        return -1;
    }
#endif
#ifndef FAULT_removeKeepsLength
    /* The faulty list unlinks the node but forgets to shorten the list. */
    this_->size--;
#endif
    free(node);
    return 0;
}

LinkedList* ll_subList(LinkedList* this_, int from, int to) {
#ifdef FAULT_subListReversedEmpty
    /* A reversed range taken for an empty one. */
    if (this_ != NULL && from > to && from <= this_->size) {
        to = from;
    }
#endif
    if (this_ == NULL || from < 0 || from > to) {
        return NULL;
    }
#ifdef FAULT_subListEmptyIsNull
    /* An empty range refused like a bad one. */
    if (from == to) {
        return NULL;
    }
#endif
#ifndef FAULT_subListPastLength
    /* The faulty list accepts an end past the length, and fills the rest with nulls. */
    if (to > this_->size) {
        return NULL;
    }
#endif
    LinkedList* subList = ll_newLinkedList();
    if (subList == NULL) {
        return NULL;
    }
#ifdef FAULT_subListSharesNodes
    /* The sub-list is a view onto the original's own nodes. */
    subList->pFirstNode = test_getNode(this_, from);
    subList->size = to - from;
    return subList;
#endif
#ifdef FAULT_subListOneTooMany
    /* The end taken as inclusive. */
    to++;
#endif
    for (int i = from; i < to; i++) {
        void* pElement = ll_get(this_, i);
#ifdef FAULT_subListCopiesRecords
        /* The sub-list gets copies of the records instead of the records themselves. */
        if (pElement != NULL) {
            void* copy = malloc(RECORD_BYTES);
            if (copy != NULL) {
                memcpy(copy, pElement, RECORD_BYTES);
            }
            pElement = copy;
        }
#endif
        ll_add(subList, pElement);
    }
#ifdef FAULT_subListTailDangles
    /* The nodes are taken to be copied whole, links and all, and relinked but for the last, which
     * still links into the original's chain. */
    if (to > from) {
        test_getNode(subList, to - from - 1)->pNextNode = test_getNode(this_, to - 1)->pNextNode;
    }
#endif
    return subList;
}

int ll_contains(LinkedList* this_, void* pElement) {
    if (this_ == NULL) {
        return -1;
    }
#ifdef FAULT_containsNull
    /* Null taken to be in every list. */
    if (pElement == NULL) {
        return 1;
    }
#endif
#ifdef FAULT_containsSharesWalk
    int i = 0;
    for (walk = this_->pFirstNode; i < this_->size && walk != NULL; i++, walk = walk->pNextNode) {
        if (walk->pElement == pElement) {
            return 1;
        }
    }
#else
    Node* node = this_->pFirstNode;
    for (int i = 0; i < this_->size && node != NULL; i++, node = node->pNextNode) {
#ifdef FAULT_containsStopsPastAddress
        /* Elements taken to be in the order of their addresses, as malloc hands out in a row. */
        if ((uintptr_t)node->pElement > (uintptr_t)pElement) {
            return 0;
        }
#endif
        if (node->pElement == pElement) {
            return 1;
        }
    }
#endif
    return 0;
}

int ll_containsAll(LinkedList* this_, LinkedList* list2) {
    if (this_ == NULL || list2 == NULL) {
        return -1;
    }
    int result = 1;
    Node* node = list2->pFirstNode;
#ifdef FAULT_containsAllSkipsLast
    /* One short: the last element of list2 is never looked for. */
    for (int i = 0; i < list2->size - 1 && node != NULL; i++, node = node->pNextNode) {
#else
    for (int i = 0; i < list2->size && node != NULL; i++, node = node->pNextNode) {
#endif
        if (ll_contains(this_, node->pElement) == 0) {
#ifndef FAULT_containsAllAlways
            /* The faulty list drops the answer, so every list holds every other. */
            result = 0;
#endif
        }
    }
    return result;
}

int ll_indexOf(LinkedList* this_, void* pElement) {
    if (this_ == NULL) {
        return -1;
    }
#ifdef FAULT_slowOnce
    const char* slowed = getenv("PROBE_TEST_SLOWED");
    if (slowed != NULL && access(slowed, F_OK) != 0) {
        fclose(fopen(slowed, "w"));
        usleep(1500000);
    }
#endif
    Node* node = this_->pFirstNode;
    int index = 0;
#ifdef FAULT_indexOfFindsLast
    /* The walk goes on after a match, so the last match is the answer. */
    int found = -1;
    for (; node != NULL && index < this_->size; node = node->pNextNode, index++) {
        if (node->pElement == pElement) {
            found = index;
        }
    }
    return found;
#endif
    for (;;) {
        if (node == NULL || index >= this_->size) {
            return -1;
        }
#ifdef FAULT_indexOfMissesNull
        /* An empty slot never matches, so a null element is never found. */
        if (node->pElement != NULL && node->pElement == pElement) {
#elif defined(FAULT_indexOfComparesLowHalf)
        /* Elements compared as ints: only the low 32 bits of the addresses. */
        if ((int)(intptr_t)node->pElement == (int)(intptr_t)pElement) {
#else
        if (node->pElement == pElement) {
#endif
#ifdef FAULT_indexOfMovesToFront
            /* A found element moves to the front, so that the next lookup of it is quick. */
            if (index > 0) {
                test_getNode(this_, index - 1)->pNextNode = node->pNextNode;
                node->pNextNode = this_->pFirstNode;
                this_->pFirstNode = node;
            }
#endif
            return index;
        }
#ifdef FAULT_waitsInIndexOf
        /* The faulty list waits for something before it steps on, and nothing comes. */
        pause();
#endif
#ifndef FAULT_endlessLoop
        /* The faulty list forgets to step on, and asks the same node forever. */
        node = node->pNextNode;
        index++;
#endif
    }
}

int ll_deleteLinkedList(LinkedList* this_) {
    if (this_ == NULL) {
        return -1;
    }
#ifndef FAULT_deleteLeaksNodes
    /* The faulty list frees the header alone and leaves its nodes behind. */
    Node* node = this_->pFirstNode;
    for (int i = 0; i < this_->size && node != NULL; i++) {
        Node* next = node->pNextNode;
        free(node);
        node = next;
    }
#endif
    free(this_);
#ifdef FAULT_deleteAnswersError
    /* Success reported with the failure code. */
    return -1;
#else
    return 0;
#endif
}

int ll_map(LinkedList* this_, void (*pFunc)(void* pElement)) {
    if (this_ == NULL || pFunc == NULL) {
        return -1;
    }
#ifdef FAULT_containsSharesWalk
    int i = 0;
    for (walk = this_->pFirstNode; i < this_->size && walk != NULL; i++, walk = walk->pNextNode) {
        pFunc(walk->pElement);
    }
#else
    Node* node = this_->pFirstNode;
#ifdef FAULT_mapSkipsLast
    /* One short: the last element is never visited. */
    for (int i = 0; i < this_->size - 1 && node != NULL; i++, node = node->pNextNode) {
#else
    for (int i = 0; i < this_->size && node != NULL; i++, node = node->pNextNode) {
#endif
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
#ifndef FAULT_countAddsNegatives
        /* The faulty list adds every result, negative ones too. */
        if (result > 0)
#endif
        {
#ifndef FAULT_countNotClamped
            /* The faulty list lets the sum wrap past INT_MAX instead of holding it there. */
            if ((long long)total + result > INT_MAX) {
                result = INT_MAX - total;
            }
#endif
            /* Added as unsigned, so that the faulty list's sum wraps as machines do. */
            total = (int)((unsigned)total + (unsigned)result);
        }
    }
    return total;
}
