// What the extended case groups share: a case's list and employees, freed however the case ends,
// the reading of a whole list back, and the caller's own edits of a list.
#ifndef CASELIST_H
#define CASELIST_H

#include "Employee.h"
#include "LinkedList.h"
#include "utest.h"

#include <cstdio>
#include <cstdlib>

namespace caseList {

// Names an employee in the runner's notes as the case's fixture numbers it: "employee 3".
inline void nameEmployee(const void* employee, int number) {
    char name[24];
    snprintf(name, sizeof name, "employee %d", number);
    utest_name(employee, name);
}

// Names a callback in the runner's notes as the case's report calls it, where a case has another
// beside the one the notes call f: "ll_map(list, g)".
template <typename Result> void nameCallback(Result (*callback)(void*), const char* name) {
    utest_name(reinterpret_cast<const void*>(callback), name);
}

// Employees each case has at hand: the longest list the cases build and a few more to insert.
constexpr int STAFF = 8;

// Pops every element and then disposes of the list, so that disposal meets no element: whether a
// list frees its elements there is its own choice, and the elements stay the case's. Once the
// case has failed the list is left alone, since a faulty list may not survive its own disposal
// and the report must reach the runner. Bounded by the length, so a pop that never shortens the
// list cannot keep it going.
inline void disposeEmptied(LinkedList* list) {
    if (list == nullptr || utest_flagTestError != 0) {
        return;
    }
    for (int left = ll_len(list); left > 0 && ll_len(list) > 0; left--) {
        ll_pop(list, 0);
    }
    ll_deleteLinkedList(list);
}

// A list that disposeEmptied disposes of when the case ends; named, the runner's notes call it
// by the case's name for it instead of the one the call that made it gives.
class ListGuard {
  public:
    explicit ListGuard(LinkedList* list) : list(list) {}
    ListGuard(LinkedList* list, const char* name) : list(list) {
        if (list != nullptr) {
            utest_name(list, name);
        }
    }
    ~ListGuard() {
        disposeEmptied(list);
    }
    ListGuard(const ListGuard&) = delete;
    ListGuard& operator=(const ListGuard&) = delete;

    LinkedList* const list;
};

// STAFF new employees, distinct and told apart by their sector (0 to STAFF-1), freed with free
// when the case ends.
class Staff {
  public:
    Staff() {
        static char name[] = "ANA";
        static char lastName[] = "GOMEZ";
        for (int i = 0; i < STAFF; i++) {
            employees[i] = newEmployee(100 + i, name, lastName, 1000.0f, i);
            if (employees[i] == nullptr) {
                abort(); // a case has nothing to check without its employees
            }
            nameEmployee(employees[i], i);
        }
    }
    ~Staff() {
        for (Employee* employee : employees) {
            free(employee);
        }
    }
    Staff(const Staff&) = delete;
    Staff& operator=(const Staff&) = delete;

    Employee* operator[](int i) const {
        return employees[i];
    }

  private:
    Employee* employees[STAFF];
};

// A case's employees and a new list holding the first `count` of them, appended with ll_add in
// order. The list goes first when the case ends, then the employees.
struct CaseList {
    explicit CaseList(int count) : holder(ll_newLinkedList()) {
        for (int i = 0; i < count; i++) {
            ll_add(holder.list, staff[i]);
        }
    }
    LinkedList* list() const {
        return holder.list;
    }

    Staff staff;
    ListGuard holder;
};

// The first position at which the list does not hold expected[0..count-1] in that order, read
// with ll_get and found with ll_indexOf (the first index holding that element); count when
// something is read past the end; -1 when every position holds what it should. The length is the
// caller's to check.
inline int firstMisplaced(LinkedList* list, void* const* expected, int count) {
    for (int i = 0; i < count; i++) {
        int first = 0;
        while (expected[first] != expected[i]) {
            first++;
        }
        if (ll_get(list, i) != expected[i] || ll_indexOf(list, expected[i]) != first) {
            return i;
        }
    }
    return ll_get(list, count) == nullptr ? -1 : count;
}

// The caller's own edits of a list. Nodes come from malloc, the caller's and the list's alike
// (the list frees either kind), so the caller may free the list's. The edits that change
// pFirstNode or size the list must notice by itself; they hand back the nodes they take off
// instead of freeing them, since a node freed during an edit could come back from malloc at the
// same address, leaving pFirstNode and size as they were with a different chain behind them.
// The edits inside the chain (replaceNode, swapNext) leave both fields as they were: the caller
// must call ll_len after them, as inc/LinkedList.h asks, and then may free what it took off.

// A new node from malloc holding element, chained in front of next.
inline Node* newNode(void* element, Node* next) {
    auto* node = static_cast<Node*>(malloc(sizeof(Node)));
    if (node == nullptr) {
        abort(); // the edit cannot be made without it
    }
    node->pElement = element;
    node->pNextNode = next;
    return node;
}

// Frees the nodes of a chain.
inline void freeChain(Node* node) {
    while (node != nullptr) {
        Node* next = node->pNextNode;
        free(node);
        node = next;
    }
}

// Keeps the first `count` nodes (at most size) and writes size: the list cut short by hand.
// Returns the nodes cut off, a chain of at most the size - count that size counted.
inline Node* cutAfter(LinkedList* list, int count) {
    count = count < list->size ? count : list->size;
    Node** link = &list->pFirstNode;
    for (int i = 0; i < count && *link != nullptr; i++) {
        link = &(*link)->pNextNode;
    }
    Node* rest = *link;
    *link = nullptr;
    Node* last = rest;
    for (int i = count + 1; i < list->size && last != nullptr; i++) {
        last = last->pNextNode;
    }
    if (last != nullptr) {
        last->pNextNode = nullptr;
    }
    list->size = count;
    return rest;
}

// Chains a node of the caller's in front and counts it in size.
inline void pushFront(LinkedList* list, void* element) {
    list->pFirstNode = newNode(element, list->pFirstNode);
    list->size++;
}

// Replaces the first node, if there is one, with a new one holding element: pFirstNode changes,
// size does not. Returns the old first node, unchained, or nullptr.
inline Node* swapHead(LinkedList* list, void* element) {
    Node* old = list->pFirstNode;
    if (old != nullptr) {
        list->pFirstNode = newNode(element, old->pNextNode);
        old->pNextNode = nullptr;
    }
    return old;
}

// The link that points to the node at index (pFirstNode for 0), or the null link that ends the
// chain before it.
inline Node** linkTo(LinkedList* list, int index) {
    Node** link = &list->pFirstNode;
    for (int i = 0; i < index && *link != nullptr; i++) {
        link = &(*link)->pNextNode;
    }
    return link;
}

// Replaces the node at index (0..size-1), if it is chained, with a new one holding element, and
// frees the old one: only the node's address changes, and pFirstNode with it where index is 0.
inline void replaceNode(LinkedList* list, int index, void* element) {
    Node** link = linkTo(list, index);
    if (index >= 0 && index < list->size && *link != nullptr) {
        Node* old = *link;
        *link = newNode(element, old->pNextNode);
        free(old);
    }
}

// Relinks the nodes at index and index+1 (both below size), if they are chained, so that they
// change places.
inline void swapNext(LinkedList* list, int index) {
    Node** link = linkTo(list, index);
    if (index >= 0 && index + 1 < list->size && *link != nullptr && (*link)->pNextNode != nullptr) {
        Node* first = *link;
        Node* second = first->pNextNode;
        first->pNextNode = second->pNextNode;
        second->pNextNode = first;
        *link = second;
    }
}

} // namespace caseList

#endif
