#ifndef LINKEDLIST_H
#define LINKEDLIST_H

/* A generic singly linked list of caller-owned void* elements, compared by identity; NULL is a
 * legal element. Indices are int, from 0.
 *
 * Editing by hand. Between calls a caller may edit the chain itself, with nodes it allocated with
 * malloc (the list frees them as its own). Writing size or pFirstNode, and chaining nodes behind
 * the node at size-1, need no word to the list: it notices them by itself. After relinking,
 * replacing or freeing a node at 0..size-1, the caller calls ll_len(list) before any other call
 * on the list, unless the edit left pFirstNode or size different from what the list's last call
 * left there (so a cut, ending the chain after node k-1 and writing size down to k, needs none).
 * ll_len is where a list that remembers positions in its chain forgets them, so that it never
 * reads a node the caller freed or moved: no list can see such an edit by itself without walking
 * the whole chain. The price is one walk from the head afterwards, so read the length once
 * before a walk by index, not at every step.
 *
 * This header compiles as C and as C++, so that a list written in either can stand behind it. */

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Node {
    void* pElement;
    struct Node* pNextNode;
} Node;

typedef struct LinkedList {
    Node* pFirstNode;
    int size;
    /* Private to the bundled implementation: lists built elsewhere need not have these.
     * pLastNode (the node at size-1) and pCursorNode (the node at cursorIndex, the last position
     * reached) are trusted only while pFirstNode and size still equal pSeenFirstNode and seenSize,
     * the values they had when the list last changed them, and until ll_len; NULL means not
     * known. */
    Node* pLastNode;
    Node* pCursorNode;
    int cursorIndex;
    Node* pSeenFirstNode;
    int seenSize;
} LinkedList;

/* A new empty list, or NULL when memory runs out. */
LinkedList* ll_newLinkedList(void);

/* The size field, not a count of nodes; -1 for a NULL list. Also the caller's word that it
 * edited the chain by hand (see above). */
int ll_len(LinkedList* this_);

/* Appends pElement; 0, or -1 for a NULL list, a full list (size INT_MAX), fewer nodes chained
 * than size says, or when memory runs out. */
int ll_add(LinkedList* this_, void* pElement);

/* Inserts pElement at nodeIndex (0 = front, size = end); 0, or -1 for a NULL list, an index
 * outside 0..size, a full list, fewer nodes chained than the index needs, or when memory runs
 * out. Nodes chained beyond size stay chained behind the new one. */
int test_addNode(LinkedList* this_, int nodeIndex, void* pElement);

/* The node at nodeIndex; NULL for a NULL list, an index outside 0..size-1, or fewer nodes
 * chained than the index needs. */
Node* test_getNode(LinkedList* this_, int nodeIndex);

/* The element at index; NULL for a NULL list, an index outside 0..size-1, or fewer nodes
 * chained than the index needs. */
void* ll_get(LinkedList* this_, int index);

/* Unlinks the element at index and returns it; NULL for a NULL list or a bad index. */
void* ll_pop(LinkedList* this_, int index);

/* Unlinks the element at index; 0, or -1 for a NULL list or a bad index. */
int ll_remove(LinkedList* this_, int index);

/* A new list of the elements from..to-1 (the same pointers, in nodes of its own); NULL for a
 * NULL list, from < 0, to > size, from > to, fewer nodes chained than to needs, or when memory
 * runs out. */
LinkedList* ll_subList(LinkedList* this_, int from, int to);

/* 1 if pElement is among the first size elements, 0 if not (an empty list holds nothing, not
 * even NULL), -1 for a NULL list. */
int ll_contains(LinkedList* this_, void* pElement);

/* 1 if this_ holds every element of list2, 0 if not, -1 if either is NULL. */
int ll_containsAll(LinkedList* this_, LinkedList* list2);

/* The index of the first node holding pElement, -1 if none or for a NULL list. */
int ll_indexOf(LinkedList* this_, void* pElement);

/* Frees the list and its first size nodes, never the elements; 0, or -1 for a NULL list. */
int ll_deleteLinkedList(LinkedList* this_);

/* Applies pFunc to every element in order; 0, or -1 for a NULL list or callback. */
int ll_map(LinkedList* this_, void (*pFunc)(void* pElement));

/* The sum of pFunc's results greater than 0 over every element, held at INT_MAX rather than
 * overflowing; -1 for a NULL list or callback. */
int ll_count(LinkedList* this_, int (*pFunc)(void* pElement));

#ifdef __cplusplus
}
#endif

#endif
