#include "LinkedList.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

extern "C" int cListRoundTrip(void);
extern "C" size_t cListLayout(size_t* sizeOffset);

namespace {

std::array<int, 8> items{};

void* item(int i) {
    return &items.at(static_cast<size_t>(i));
}

// A list holding the given elements, appended in order.
LinkedList* listOf(std::initializer_list<void*> elements) {
    LinkedList* list = ll_newLinkedList();
    for (void* element : elements) {
        EXPECT_EQ(ll_add(list, element), 0);
    }
    return list;
}

// The elements the list reports through ll_len and ll_get.
std::vector<void*> elementsOf(LinkedList* list) {
    std::vector<void*> elements;
    for (int i = 0; i < ll_len(list); ++i) {
        elements.push_back(ll_get(list, i));
    }
    return elements;
}

// A node from malloc, as callers chain them by hand.
Node* handNode(void* element, Node* next) {
    auto* node = static_cast<Node*>(std::malloc(sizeof(Node)));
    node->pElement = element;
    node->pNextNode = next;
    return node;
}

int countCall(void* element) {
    return *static_cast<int*>(element);
}

std::vector<void*> mapped;
void recordCall(void* element) {
    mapped.push_back(element);
}

TEST(LinkedListNull, EveryOperationAnswersMinusOneOrNull) {
    EXPECT_EQ(ll_len(nullptr), -1);
    EXPECT_EQ(ll_add(nullptr, item(0)), -1);
    EXPECT_EQ(test_addNode(nullptr, 0, nullptr), -1);
    EXPECT_EQ(test_getNode(nullptr, 0), nullptr);
    EXPECT_EQ(ll_get(nullptr, 0), nullptr);
    EXPECT_EQ(ll_pop(nullptr, 0), nullptr);
    EXPECT_EQ(ll_remove(nullptr, 0), -1);
    EXPECT_EQ(ll_subList(nullptr, 0, 0), nullptr);
    EXPECT_EQ(ll_contains(nullptr, nullptr), -1);
    EXPECT_EQ(ll_indexOf(nullptr, nullptr), -1);
    EXPECT_EQ(ll_deleteLinkedList(nullptr), -1);
    EXPECT_EQ(ll_map(nullptr, recordCall), -1);
    EXPECT_EQ(ll_count(nullptr, countCall), -1);
    LinkedList* list = listOf({});
    EXPECT_EQ(ll_containsAll(list, nullptr), -1);
    EXPECT_EQ(ll_containsAll(nullptr, list), -1);
    EXPECT_EQ(ll_map(list, nullptr), -1);
    EXPECT_EQ(ll_count(list, nullptr), -1);
    ll_deleteLinkedList(list);
}

TEST(LinkedList, StartsEmptyAndAppendsInOrderCountingNullElements) {
    LinkedList* list = ll_newLinkedList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->pFirstNode, nullptr);
    EXPECT_EQ(ll_len(list), 0);
    EXPECT_EQ(ll_add(list, item(0)), 0);
    EXPECT_EQ(ll_add(list, nullptr), 0);
    EXPECT_EQ(ll_add(list, item(2)), 0);
    EXPECT_EQ(list->size, 3);
    EXPECT_EQ(list->pFirstNode->pElement, item(0));
    EXPECT_EQ(elementsOf(list), (std::vector<void*>{item(0), nullptr, item(2)}));
    EXPECT_EQ(ll_get(list, -1), nullptr);
    EXPECT_EQ(ll_get(list, 3), nullptr);
    ll_deleteLinkedList(list);
}

TEST(LinkedList, InsertsAtFrontMiddleAndEndAndRefusesIndicesOutside) {
    LinkedList* list = listOf({item(1), item(3)});
    EXPECT_EQ(test_addNode(list, 0, item(0)), 0);
    EXPECT_EQ(test_addNode(list, 2, item(2)), 0);
    EXPECT_EQ(test_addNode(list, list->size, item(4)), 0);
    EXPECT_EQ(test_addNode(list, -1, item(5)), -1);
    EXPECT_EQ(test_addNode(list, 6, item(5)), -1);
    EXPECT_EQ(elementsOf(list), (std::vector<void*>{item(0), item(1), item(2), item(3), item(4)}));
    EXPECT_EQ(test_getNode(list, 0), list->pFirstNode);
    EXPECT_EQ(test_getNode(list, 4)->pNextNode, nullptr);
    ll_deleteLinkedList(list);
}

TEST(LinkedList, PopAndRemoveUnlinkByIndexAndKeepAppendingAtTheRightEnd) {
    LinkedList* list = listOf({item(0), nullptr, item(2), item(3)});
    EXPECT_EQ(ll_pop(list, 3), item(3));
    EXPECT_EQ(ll_add(list, item(4)), 0);
    EXPECT_EQ(ll_pop(list, 1), nullptr);
    EXPECT_EQ(ll_remove(list, 0), 0);
    EXPECT_EQ(elementsOf(list), (std::vector<void*>{item(2), item(4)}));
    EXPECT_EQ(ll_pop(list, -1), nullptr);
    EXPECT_EQ(ll_pop(list, 2), nullptr);
    EXPECT_EQ(ll_remove(list, 2), -1);
    EXPECT_EQ(ll_len(list), 2);
    EXPECT_EQ(ll_pop(list, 1), item(4));
    EXPECT_EQ(ll_pop(list, 0), item(2));
    EXPECT_EQ(list->pFirstNode, nullptr);
    EXPECT_EQ(ll_add(list, item(5)), 0);
    EXPECT_EQ(elementsOf(list), (std::vector<void*>{item(5)}));
    ll_deleteLinkedList(list);
}

TEST(LinkedList, SubListIsANewListOfTheSamePointersWithAnExclusiveEnd) {
    LinkedList* list = listOf({item(0), item(1), item(2), item(3), item(4)});
    LinkedList* slice = ll_subList(list, 1, 3);
    ASSERT_NE(slice, nullptr);
    EXPECT_EQ(elementsOf(slice), (std::vector<void*>{item(1), item(2)}));
    EXPECT_EQ(ll_pop(slice, 0), item(1));
    EXPECT_EQ(ll_len(list), 5);
    LinkedList* whole = ll_subList(list, 0, 5);
    EXPECT_EQ(elementsOf(whole), elementsOf(list));
    LinkedList* empty = ll_subList(list, 2, 2);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(ll_len(empty), 0);
    EXPECT_EQ(ll_subList(list, -1, 2), nullptr);
    EXPECT_EQ(ll_subList(list, 0, 6), nullptr);
    EXPECT_EQ(ll_subList(list, 3, 2), nullptr);
    for (LinkedList* each : {slice, whole, empty, list}) {
        ll_deleteLinkedList(each);
    }
}

TEST(LinkedList, MembershipIsByIdentityAndNullIsAnElementLikeAnyOther) {
    int twin = items[1];
    LinkedList* empty = listOf({});
    LinkedList* list = listOf({item(0), item(1), nullptr, item(1)});
    EXPECT_EQ(ll_contains(empty, nullptr), 0);
    EXPECT_EQ(ll_contains(list, nullptr), 1);
    EXPECT_EQ(ll_contains(list, &twin), 0);
    EXPECT_EQ(ll_indexOf(list, item(1)), 1);
    EXPECT_EQ(ll_indexOf(list, nullptr), 2);
    EXPECT_EQ(ll_indexOf(list, &twin), -1);
    LinkedList* part = listOf({item(1), nullptr});
    EXPECT_EQ(ll_containsAll(list, part), 1);
    EXPECT_EQ(ll_containsAll(part, list), 0);
    EXPECT_EQ(ll_containsAll(list, empty), 1);
    EXPECT_EQ(ll_containsAll(empty, empty), 1);
    for (LinkedList* each : {empty, list, part}) {
        ll_deleteLinkedList(each);
    }
}

TEST(LinkedList, MapVisitsInOrderAndCountSumsOnlyPositiveResultsWithoutOverflow) {
    std::array<int, 4> values{3, -7, 0, 4};
    LinkedList* list = listOf({&values[0], &values[1], &values[2], &values[3]});
    mapped.clear();
    EXPECT_EQ(ll_map(list, recordCall), 0);
    EXPECT_EQ(mapped, elementsOf(list));
    EXPECT_EQ(ll_count(list, countCall), 7);
    values = {INT_MAX, INT_MAX, 1, 1};
    EXPECT_EQ(ll_count(list, countCall), INT_MAX);
    ll_deleteLinkedList(list);
}

TEST(LinkedList, DeletionFreesNodesButNeverTheElements) {
    auto* element = static_cast<int*>(std::malloc(sizeof(int)));
    *element = 41;
    LinkedList* list = listOf({element, nullptr, element});
    EXPECT_EQ(ll_deleteLinkedList(list), 0);
    EXPECT_EQ(++*element, 42); // still ours: the sanitizers flag any use after free
    std::free(element);
}

// Lists whose fields and nodes a caller wrote by hand.

TEST(LinkedListByHand, NodesPastSizeAreNotThereAndAMissingNodeIsNotACrash) {
    LinkedList* list = ll_newLinkedList();
    Node* second = handNode(item(1), nullptr);
    Node* first = handNode(item(0), second);
    list->pFirstNode = first;
    list->size = 1;
    EXPECT_EQ(test_getNode(list, 0), first);
    EXPECT_EQ(test_getNode(list, 1), nullptr);
    EXPECT_EQ(ll_contains(list, item(1)), 0);
    list->size = 2;
    EXPECT_EQ(test_getNode(list, 1), second);
    list->size = 5; // more than is chained
    EXPECT_EQ(ll_len(list), 5);
    EXPECT_EQ(ll_get(list, 3), nullptr);
    EXPECT_EQ(ll_pop(list, 4), nullptr);
    EXPECT_EQ(ll_add(list, item(2)), -1);
    EXPECT_EQ(test_addNode(list, 4, item(2)), -1);
    EXPECT_EQ(ll_len(list), 5);
    EXPECT_EQ(second->pNextNode, nullptr);
    list->size = 2;
    EXPECT_EQ(ll_add(list, item(2)), 0);
    EXPECT_EQ(elementsOf(list), (std::vector<void*>{item(0), item(1), item(2)}));
    ll_deleteLinkedList(list);
}

TEST(LinkedListByHand, RemovingPastTheChainFailsAndLeavesTheListAlone) {
    LinkedList* list = ll_newLinkedList();
    Node* only = handNode(item(0), nullptr);
    list->pFirstNode = only;
    list->size = 3; // two nodes fewer than the size says
    EXPECT_EQ(ll_remove(list, 2), -1);
    EXPECT_EQ(ll_remove(list, 1), -1);
    EXPECT_EQ(ll_len(list), 3);
    EXPECT_EQ(list->pFirstNode, only);
    EXPECT_EQ(only->pNextNode, nullptr);
    list->size = 1;
    EXPECT_EQ(ll_remove(list, 0), 0);
    EXPECT_EQ(ll_len(list), 0);
    EXPECT_EQ(list->pFirstNode, nullptr);
    ll_deleteLinkedList(list);
}

TEST(LinkedListByHand, RewrittenFieldsAreNeverReadThroughARememberedPosition) {
    LinkedList* list = listOf({item(0), item(1), item(2), item(3)});
    EXPECT_EQ(elementsOf(list).size(), 4U); // leaves the cursor on the last node
    list->size = 2;                         // the caller cuts the list short
    EXPECT_EQ(ll_add(list, item(4)), 0);    // goes in at index 2, the cut nodes behind it
    EXPECT_EQ(elementsOf(list), (std::vector<void*>{item(0), item(1), item(4)}));
    list->size = 5;
    EXPECT_EQ(elementsOf(list), (std::vector<void*>{item(0), item(1), item(4), item(2), item(3)}));

    Node* own = handNode(item(5), handNode(item(6), nullptr));
    LinkedList saved = *list;
    list->pFirstNode = own; // the caller swaps in a chain of its own
    list->size = 2;
    EXPECT_EQ(ll_get(list, 1), item(6));
    EXPECT_EQ(ll_add(list, item(7)), 0);
    EXPECT_EQ(elementsOf(list), (std::vector<void*>{item(5), item(6), item(7)}));
    LinkedList* ownList = ll_newLinkedList();
    ownList->pFirstNode = list->pFirstNode;
    ownList->size = 3;
    ll_deleteLinkedList(ownList);

    list->pFirstNode = saved.pFirstNode;
    list->size = saved.size;
    EXPECT_EQ(ll_get(list, 4), item(3));
    list->pFirstNode = nullptr; // emptied by hand: nothing is freed, nothing remembered
    list->size = 0;
    EXPECT_EQ(ll_add(list, item(0)), 0);
    EXPECT_EQ(elementsOf(list), (std::vector<void*>{item(0)}));
    ll_deleteLinkedList(list);
    list = ll_newLinkedList();
    list->pFirstNode = saved.pFirstNode;
    list->size = saved.size;
    ll_deleteLinkedList(list);
}

// A caller that replaces, frees or relinks nodes inside the chain, pFirstNode and size ending as
// they were, then calls ll_len as the header asks: whatever position the list last reached, it
// reads and appends over the new chain and never through a node the caller freed (which the
// AddressSanitizer build of this test, LinkedList_asan_test, would report).
TEST(LinkedListByHand, EditsInsideTheChainAreForgottenAtLlLen) {
    struct Edit {
        const char* name;
        void (*apply)(LinkedList* list);
        std::vector<void*> after;
    };
    const Edit edits[] = {
        {"node 1 replaced and freed",
         [](LinkedList* list) {
             Node* old = list->pFirstNode->pNextNode;
             list->pFirstNode->pNextNode = handNode(item(5), old->pNextNode);
             std::free(old);
         },
         {item(0), item(5), item(2)}},
        {"last node replaced and freed",
         [](LinkedList* list) {
             Node* before = list->pFirstNode->pNextNode;
             std::free(before->pNextNode);
             before->pNextNode = handNode(item(5), nullptr);
         },
         {item(0), item(1), item(5)}},
        {"nodes 1 and 2 relinked to change places",
         [](LinkedList* list) {
             Node* second = list->pFirstNode->pNextNode;
             Node* third = second->pNextNode;
             second->pNextNode = nullptr;
             third->pNextNode = second;
             list->pFirstNode->pNextNode = third;
         },
         {item(0), item(2), item(1)}},
    };
    for (const Edit& edit : edits) {
        for (int reached = -1; reached < 3; ++reached) {
            SCOPED_TRACE(std::string(edit.name) + ", last read at " + std::to_string(reached));
            LinkedList* list = listOf({item(0), item(1), item(2)});
            if (reached >= 0) {
                ASSERT_EQ(ll_get(list, reached), item(reached));
            }
            edit.apply(list);
            ASSERT_EQ(ll_len(list), 3);
            EXPECT_EQ(ll_get(list, 1), edit.after[1]);
            EXPECT_EQ(ll_get(list, 2), edit.after[2]);
            EXPECT_EQ(ll_add(list, item(6)), 0);
            std::vector<void*> appended = edit.after;
            appended.push_back(item(6));
            EXPECT_EQ(elementsOf(list), appended);
            ll_deleteLinkedList(list);
        }
    }
}

// Random edits through the interface, checked against a vector after every step.
TEST(LinkedList, AgreesWithAVectorOverAThousandRandomEdits) {
    std::mt19937 random(5);
    LinkedList* list = ll_newLinkedList();
    std::vector<void*> model;
    for (int step = 0; step < 1000; ++step) {
        const int size = static_cast<int>(model.size());
        const int index = static_cast<int>(random() % (model.size() + 1));
        void* element = random() % 5 == 0 ? nullptr : item(static_cast<int>(random() % 8));
        switch (random() % 5) {
        case 0:
            ASSERT_EQ(ll_add(list, element), 0);
            model.push_back(element);
            break;
        case 1:
            ASSERT_EQ(test_addNode(list, index, element), 0);
            model.insert(model.begin() + index, element);
            break;
        case 2:
            if (index < size) {
                ASSERT_EQ(ll_pop(list, index), model[static_cast<size_t>(index)]);
                model.erase(model.begin() + index);
            }
            break;
        case 3:
            ASSERT_EQ(ll_get(list, index),
                      index < size ? model[static_cast<size_t>(index)] : nullptr);
            break;
        default:
            ASSERT_EQ(ll_indexOf(list, element),
                      std::find(model.begin(), model.end(), element) == model.end()
                          ? -1
                          : std::find(model.begin(), model.end(), element) - model.begin());
        }
        ASSERT_EQ(ll_len(list), static_cast<int>(model.size()));
    }
    EXPECT_EQ(elementsOf(list), model);
    ll_deleteLinkedList(list);
}

// Quadratic appends or reads would take minutes here, far past the test's time limit.
TEST(LinkedList, AppendsAndReadsInOrderInLinearTime) {
    constexpr int count = 200000;
    LinkedList* list = ll_newLinkedList();
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(ll_add(list, item(i % 8)), 0);
    }
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(ll_get(list, i), item(i % 8));
    }
    ll_deleteLinkedList(list);
}

TEST(LinkedListInC, AListUsedFromCAgreesWithTheLayoutSeenFromCpp) {
    size_t sizeOffset = 0;
    EXPECT_EQ(cListLayout(&sizeOffset), sizeof(LinkedList));
    EXPECT_EQ(sizeOffset, offsetof(LinkedList, size));
    EXPECT_EQ(cListRoundTrip(), 0);
}

} // namespace
