/* A correct list of another design, which every check must let pass: nodes taken out with
 * ll_pop and ll_remove are kept on the list's own chain of spare nodes and used again by the
 * next insertion, so that a list that shrinks and grows allocates little. The spare chain lives
 * in pCursorNode, one of the header's fields that are each implementation's own, and goes with
 * the list on disposal. */
#include "LinkedList.h"

#include <limits.h>
#include <stdlib.h>

static Node** spares(LinkedList* list) {
    return &list->pCursorNode;
}

/* A node for pElement: a spare one if there is one, else a new one; NULL when memory runs out. */
static Node* takeNode(LinkedList* list, void* pElement) {
    Node* node = *spares(list);
    if (node != NULL) {
        *spares(list) = node->pNextNode;
    } else {
        node = malloc(sizeof(Node));
    }
    if (node != NULL) {
        node->pElement = pElement;
        node->pNextNode = NULL;
    }
    return node;
}

static void keepNode(LinkedList* list, Node* node) {
    node->pElement = NULL;
    node->pNextNode = *spares(list);
    *spares(list) = node;
}

/* The node before position index (1..size), walking from the head; NULL when the chain ends. */
static Node* before(LinkedList* list, int index) {
    Node* node = list->pFirstNode;
    for (int i = 1; i < index && node != NULL; i++) {
        node = node->pNextNode;
    }
    return node;
}

static Node* nextOf(const Node* node) {
    return node == NULL ? NULL : node->pNextNode;
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
    Node* previous = nodeIndex > 0 ? before(this_, nodeIndex) : NULL;
    if (nodeIndex > 0 && previous == NULL) {
        return -1;
    }
    Node* node = takeNode(this_, pElement);
    if (node == NULL) {
        return -1;
    }
    Node** link = previous != NULL ? &previous->pNextNode : &this_->pFirstNode;
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
    return nodeIndex == 0 ? this_->pFirstNode : nextOf(before(this_, nodeIndex));
}

void* ll_get(LinkedList* this_, int index) {
    Node* node = test_getNode(this_, index);
    return node == NULL ? NULL : node->pElement;
}

/* Unlinks the node at index onto the spare chain and gives its element through pElement; -1
 * for a bad index or a chain that ends first. */
static int takeOut(LinkedList* list, int index, void** pElement) {
    if (list == NULL || index < 0 || index >= list->size) {
        return -1;
    }
    Node** link = &list->pFirstNode;
    if (index > 0) {
        Node* previous = before(list, index);
        if (previous == NULL) {
            return -1;
        }
        link = &previous->pNextNode;
    }
    Node* node = *link;
    if (node == NULL) {
        return -1;
    }
    *link = node->pNextNode;
    *pElement = node->pElement;
    keepNode(list, node);
    list->size--;
    return 0;
}

void* ll_pop(LinkedList* this_, int index) {
    void* pElement = NULL;
    takeOut(this_, index, &pElement);
    return pElement;
}

int ll_remove(LinkedList* this_, int index) {
    void* pElement = NULL;
    return takeOut(this_, index, &pElement);
}

LinkedList* ll_subList(LinkedList* this_, int from, int to) {
    if (this_ == NULL || from < 0 || to > this_->size || from > to) {
        return NULL;
    }
    LinkedList* list = ll_newLinkedList();
    Node* node = from < to ? test_getNode(this_, from) : NULL;
    Node* last = NULL;
    for (int i = from; list != NULL && i < to; i++, node = node->pNextNode) {
        Node* copy = node != NULL ? takeNode(list, node->pElement) : NULL;
        if (copy == NULL) {
            ll_deleteLinkedList(list);
            return NULL;
        }
        *(last != NULL ? &last->pNextNode : &list->pFirstNode) = copy;
        last = copy;
        list->size++;
    }
    return list;
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

static void freeChain(Node* node, int count) {
    for (int i = 0; i < count && node != NULL; i++) {
        Node* next = node->pNextNode;
        free(node);
        node = next;
    }
}

int ll_deleteLinkedList(LinkedList* this_) {
    if (this_ == NULL) {
        return -1;
    }
    freeChain(this_->pFirstNode, this_->size);
    freeChain(*spares(this_), INT_MAX);
    free(this_);
    return 0;
}

int ll_map(LinkedList* this_, void (*pFunc)(void* pElement)) {
    if (this_ == NULL || pFunc == NULL) {
        return -1;
    }
    Node* node = this_->pFirstNode;
    for (int i = 0; i < this_->size && node != NULL; i++, node = node->pNextNode) {
        pFunc(node->pElement);
    }
    return 0;
}

int ll_count(LinkedList* this_, int (*pFunc)(void* pElement)) {
    if (this_ == NULL || pFunc == NULL) {
        return -1;
    }
    long long total = 0;
    Node* node = this_->pFirstNode;
    for (int i = 0; i < this_->size && node != NULL; i++, node = node->pNextNode) {
        const int result = pFunc(node->pElement);
        total += result > 0 && total < INT_MAX ? result : 0;
    }
    return total < INT_MAX ? (int)total : INT_MAX;
}
