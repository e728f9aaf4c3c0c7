#include "LinkedList.h"

#include <climits>
#include <cstdlib>

// Nodes and the header come from malloc and go back with free, because callers chain nodes of
// their own (allocated with malloc) into a list and the list frees them with its own.
//
// size is the authority on how many elements the list holds: walks never go past node size-1,
// and a walk that meets the end of the chain first reports failure instead of reading on.

namespace {

// Forgets the remembered tail and cursor when a caller has rewritten pFirstNode or size since the
// list last changed them, so that only positions the list itself recorded are ever trusted.
void refresh(LinkedList* list) {
    if (list->pFirstNode != list->pSeenFirstNode || list->size != list->seenSize) {
        list->pLastNode = nullptr;
        list->pCursorNode = nullptr;
        list->cursorIndex = 0;
        list->pSeenFirstNode = list->pFirstNode;
        list->seenSize = list->size;
    }
}

// Records the fields as the list has just left them, vouching for the tail and cursor.
void remember(LinkedList* list) {
    list->pSeenFirstNode = list->pFirstNode;
    list->seenSize = list->size;
}

// Moves the cursor to node, which sits at index.
void placeCursor(LinkedList* list, Node* node, int index) {
    list->pCursorNode = node;
    list->cursorIndex = index;
}

// The node at index (0..size-1), starting from the tail or the cursor when they are known and
// lie on the way; nullptr when the chain ends before index. Leaves the cursor on the node found.
Node* findNode(LinkedList* list, int index) {
    refresh(list);
    if (index == list->size - 1 && list->pLastNode != nullptr) {
        placeCursor(list, list->pLastNode, index);
        return list->pLastNode;
    }
    Node* node = list->pFirstNode;
    int position = 0;
    if (list->pCursorNode != nullptr && list->cursorIndex <= index) {
        node = list->pCursorNode;
        position = list->cursorIndex;
    }
    while (node != nullptr && position < index) {
        node = node->pNextNode;
        ++position;
    }
    if (node != nullptr) {
        placeCursor(list, node, index);
    }
    return node;
}

// A new unlinked node holding pElement, or nullptr when memory runs out.
Node* newNode(void* pElement) {
    auto* node = static_cast<Node*>(std::malloc(sizeof(Node)));
    if (node != nullptr) {
        node->pElement = pElement;
        node->pNextNode = nullptr;
    }
    return node;
}

// Links node in at index (0..size), keeping whatever followed that position behind it; -1, the
// list unchanged, when the node before index is missing from the chain.
int linkNode(LinkedList* list, int index, Node* node) {
    refresh(list);
    if (index == 0) {
        node->pNextNode = list->pFirstNode;
        list->pFirstNode = node;
        if (list->size == 0) {
            list->pLastNode = node;
        }
    } else {
        Node* previous = findNode(list, index - 1);
        if (previous == nullptr) {
            return -1;
        }
        node->pNextNode = previous->pNextNode;
        previous->pNextNode = node;
        if (index == list->size) {
            list->pLastNode = node;
        }
    }
    ++list->size;
    placeCursor(list, node, index);
    remember(list);
    return 0;
}

// Unlinks the node at index (0..size-1) and returns it; nullptr, the list unchanged, when the
// chain ends before index.
Node* unlinkNode(LinkedList* list, int index) {
    refresh(list);
    Node* previous = index > 0 ? findNode(list, index - 1) : nullptr;
    Node* node =
        index > 0 ? (previous != nullptr ? previous->pNextNode : nullptr) : list->pFirstNode;
    if (node == nullptr) {
        return nullptr;
    }
    if (previous != nullptr) {
        previous->pNextNode = node->pNextNode;
        placeCursor(list, previous, index - 1);
    } else {
        list->pFirstNode = node->pNextNode;
        placeCursor(list, nullptr, 0);
    }
    if (index == list->size - 1) {
        list->pLastNode = previous;
    }
    --list->size;
    remember(list);
    return node;
}

// Whether index names an element of the list (0..size-1).
bool holdsIndex(const LinkedList* list, int index) {
    return index >= 0 && index < list->size;
}

} // namespace

LinkedList* ll_newLinkedList(void) {
    return static_cast<LinkedList*>(std::calloc(1, sizeof(LinkedList)));
}

int ll_len(LinkedList* this_) {
    return this_ != nullptr ? this_->size : -1;
}

// Constant time while the tail is known.
int ll_add(LinkedList* this_, void* pElement) {
    return this_ != nullptr ? test_addNode(this_, this_->size, pElement) : -1;
}

int test_addNode(LinkedList* this_, int nodeIndex, void* pElement) {
    if (this_ == nullptr || nodeIndex < 0 || nodeIndex > this_->size || this_->size == INT_MAX) {
        return -1;
    }
    Node* node = newNode(pElement);
    if (node == nullptr) {
        return -1;
    }
    if (linkNode(this_, nodeIndex, node) != 0) {
        std::free(node);
        return -1;
    }
    return 0;
}

Node* test_getNode(LinkedList* this_, int nodeIndex) {
    if (this_ == nullptr || !holdsIndex(this_, nodeIndex)) {
        return nullptr;
    }
    return findNode(this_, nodeIndex);
}

void* ll_get(LinkedList* this_, int index) {
    Node* node = test_getNode(this_, index);
    return node != nullptr ? node->pElement : nullptr;
}

void* ll_pop(LinkedList* this_, int index) {
    if (this_ == nullptr || !holdsIndex(this_, index)) {
        return nullptr;
    }
    Node* node = unlinkNode(this_, index);
    if (node == nullptr) {
        return nullptr;
    }
    void* pElement = node->pElement;
    std::free(node);
    return pElement;
}

int ll_remove(LinkedList* this_, int index) {
    if (this_ == nullptr || !holdsIndex(this_, index)) {
        return -1;
    }
    Node* node = unlinkNode(this_, index);
    if (node == nullptr) {
        return -1;
    }
    std::free(node);
    return 0;
}

// One walk: the first node is found from the tail or the cursor, the rest followed from it.
LinkedList* ll_subList(LinkedList* this_, int from, int to) {
    if (this_ == nullptr || from < 0 || to > this_->size || from > to) {
        return nullptr;
    }
    LinkedList* slice = ll_newLinkedList();
    if (slice == nullptr) {
        return nullptr;
    }
    Node* node = from < to ? test_getNode(this_, from) : nullptr;
    for (int index = from; index < to; ++index) {
        if (node == nullptr || ll_add(slice, node->pElement) != 0) {
            ll_deleteLinkedList(slice);
            return nullptr;
        }
        node = node->pNextNode;
    }
    return slice;
}

int ll_contains(LinkedList* this_, void* pElement) {
    if (this_ == nullptr) {
        return -1;
    }
    return ll_indexOf(this_, pElement) >= 0 ? 1 : 0;
}

// O(n·m): one search of this_ for each element of list2.
int ll_containsAll(LinkedList* this_, LinkedList* list2) {
    if (this_ == nullptr || list2 == nullptr) {
        return -1;
    }
    Node* node = list2->pFirstNode;
    for (int index = 0; index < list2->size && node != nullptr; ++index) {
        if (ll_contains(this_, node->pElement) != 1) {
            return 0;
        }
        node = node->pNextNode;
    }
    return 1;
}

int ll_indexOf(LinkedList* this_, void* pElement) {
    if (this_ == nullptr) {
        return -1;
    }
    Node* node = this_->pFirstNode;
    for (int index = 0; index < this_->size && node != nullptr; ++index) {
        if (node->pElement == pElement) {
            return index;
        }
        node = node->pNextNode;
    }
    return -1;
}

// Nodes chained beyond size are the caller's: they stay.
int ll_deleteLinkedList(LinkedList* this_) {
    if (this_ == nullptr) {
        return -1;
    }
    Node* node = this_->pFirstNode;
    for (int index = 0; index < this_->size && node != nullptr; ++index) {
        Node* next = node->pNextNode;
        std::free(node);
        node = next;
    }
    std::free(this_);
    return 0;
}

int ll_map(LinkedList* this_, void (*pFunc)(void* pElement)) {
    if (this_ == nullptr || pFunc == nullptr) {
        return -1;
    }
    Node* node = this_->pFirstNode;
    for (int index = 0; index < this_->size && node != nullptr; ++index) {
        pFunc(node->pElement);
        node = node->pNextNode;
    }
    return 0;
}

// Summed in 64 bits, so that the saturation needs no overflow check per element.
int ll_count(LinkedList* this_, int (*pFunc)(void* pElement)) {
    if (this_ == nullptr || pFunc == nullptr) {
        return -1;
    }
    long long total = 0;
    Node* node = this_->pFirstNode;
    for (int index = 0; index < this_->size && node != nullptr; ++index) {
        int result = pFunc(node->pElement);
        if (result > 0 && total < INT_MAX) {
            total += result;
        }
        node = node->pNextNode;
    }
    return total < INT_MAX ? static_cast<int>(total) : INT_MAX;
}
