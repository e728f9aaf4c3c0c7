/* A correct list of another design, which every check must let pass: every walk is recursive,
 * each call handing the rest of the chain, one position shorter, to itself. Positions are
 * reached through links (the pointer that points to a node), so that inserting and unlinking at
 * the front need no case of their own. */
#include "LinkedList.h"

#include <limits.h>
#include <stdlib.h>

/* The link to position steps after the one given; NULL when the chain ends before it. */
static Node** linkAt(Node** link, int steps) {
    if (steps == 0) {
        return link;
    }
    return *link == NULL ? NULL : linkAt(&(*link)->pNextNode, steps - 1);
}

/* The index of the first of the count nodes from node holding pElement, counted from index. */
static int find(const Node* node, int count, int index, const void* pElement) {
    if (count == 0 || node == NULL) {
        return -1;
    }
    return node->pElement == pElement ? index
                                      : find(node->pNextNode, count - 1, index + 1, pElement);
}

static void freeNodes(Node* node, int count) {
    if (count > 0 && node != NULL) {
        Node* next = node->pNextNode;
        free(node);
        freeNodes(next, count - 1);
    }
}

static void apply(Node* node, int count, void (*pFunc)(void*)) {
    if (count > 0 && node != NULL) {
        pFunc(node->pElement);
        apply(node->pNextNode, count - 1, pFunc);
    }
}

/* The sum of the positive results, held at INT_MAX. */
static long long sum(Node* node, int count, int (*pFunc)(void*)) {
    if (count == 0 || node == NULL) {
        return 0;
    }
    const int result = pFunc(node->pElement);
    const long long rest = sum(node->pNextNode, count - 1, pFunc);
    const long long total = (result > 0 ? result : 0) + rest;
    return total < INT_MAX ? total : INT_MAX;
}

/* Whether list holds each of the count elements from node on. */
static int holdsAll(LinkedList* list, const Node* node, int count) {
    if (count == 0 || node == NULL) {
        return 1;
    }
    return ll_contains(list, node->pElement) == 1 && holdsAll(list, node->pNextNode, count - 1);
}

/* Appends the count elements from node on to list; -1 when the chain ends first. */
static int copy(LinkedList* list, const Node* node, int count) {
    if (count == 0) {
        return 0;
    }
    if (node == NULL || ll_add(list, node->pElement) != 0) {
        return -1;
    }
    return copy(list, node->pNextNode, count - 1);
}

LinkedList* ll_newLinkedList(void) {
    return calloc(1, sizeof(LinkedList));
}

int ll_len(LinkedList* this_) {
    return this_ == NULL ? -1 : this_->size;
}

int test_addNode(LinkedList* this_, int nodeIndex, void* pElement) {
    if (this_ == NULL || nodeIndex < 0 || nodeIndex > this_->size || this_->size == INT_MAX) {
        return -1;
    }
    Node** link = linkAt(&this_->pFirstNode, nodeIndex);
    Node* node = link == NULL ? NULL : malloc(sizeof(Node));
    if (node == NULL) {
        return -1;
    }
    node->pElement = pElement;
    node->pNextNode = *link;
    *link = node;
    this_->size++;
    return 0;
}

int ll_add(LinkedList* this_, void* pElement) {
    return this_ == NULL ? -1 : test_addNode(this_, this_->size, pElement);
}

Node* test_getNode(LinkedList* this_, int nodeIndex) {
    if (this_ == NULL || nodeIndex < 0 || nodeIndex >= this_->size) {
        return NULL;
    }
    Node** link = linkAt(&this_->pFirstNode, nodeIndex);
    return link == NULL ? NULL : *link;
}

void* ll_get(LinkedList* this_, int index) {
    Node* node = test_getNode(this_, index);
    return node == NULL ? NULL : node->pElement;
}

/* Unlinks the node at index and returns it; NULL for a bad index or a chain that ends first. */
static Node* takeOut(LinkedList* list, int index) {
    if (list == NULL || index < 0 || index >= list->size) {
        return NULL;
    }
    Node** link = linkAt(&list->pFirstNode, index);
    Node* node = link == NULL ? NULL : *link;
    if (node != NULL) {
        *link = node->pNextNode;
        list->size--;
    }
    return node;
}

void* ll_pop(LinkedList* this_, int index) {
    Node* node = takeOut(this_, index);
    void* pElement = node == NULL ? NULL : node->pElement;
    free(node);
    return pElement;
}

int ll_remove(LinkedList* this_, int index) {
    Node* node = takeOut(this_, index);
    free(node);
    return node == NULL ? -1 : 0;
}

LinkedList* ll_subList(LinkedList* this_, int from, int to) {
    if (this_ == NULL || from < 0 || to > this_->size || from > to) {
        return NULL;
    }
    LinkedList* list = ll_newLinkedList();
    Node** start = linkAt(&this_->pFirstNode, from);
    if (list != NULL && (start == NULL || copy(list, *start, to - from) != 0)) {
        ll_deleteLinkedList(list);
        return NULL;
    }
    return list;
}

int ll_indexOf(LinkedList* this_, void* pElement) {
    return this_ == NULL ? -1 : find(this_->pFirstNode, this_->size, 0, pElement);
}

int ll_contains(LinkedList* this_, void* pElement) {
    return this_ == NULL ? -1 : ll_indexOf(this_, pElement) >= 0;
}

int ll_containsAll(LinkedList* this_, LinkedList* list2) {
    if (this_ == NULL || list2 == NULL) {
        return -1;
    }
    return holdsAll(this_, list2->pFirstNode, list2->size);
}

int ll_deleteLinkedList(LinkedList* this_) {
    if (this_ == NULL) {
        return -1;
    }
    freeNodes(this_->pFirstNode, this_->size);
    free(this_);
    return 0;
}

int ll_map(LinkedList* this_, void (*pFunc)(void* pElement)) {
    if (this_ == NULL || pFunc == NULL) {
        return -1;
    }
    apply(this_->pFirstNode, this_->size, pFunc);
    return 0;
}

int ll_count(LinkedList* this_, int (*pFunc)(void* pElement)) {
    if (this_ == NULL || pFunc == NULL) {
        return -1;
    }
    return (int)sum(this_->pFirstNode, this_->size, pFunc);
}
