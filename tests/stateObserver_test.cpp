// The whole-state observer against lists broken by hand: each way a chain can differ from the
// model is caught and named, and a list as the model says passes, also with the caller's edits.
#include "stateObserver.h"

#include <gtest/gtest.h>

// The runner keeps the names a case gives for its notes; no runner takes notes here.
extern "C" void utest_name(const void*, const char*) {}

namespace {

using stateObserver::Tracked;

// A list of three nodes holding e0, e1, e2, a spare node holding e2, and the model of it.
struct Handmade {
    explicit Handmade(const farElements::Elements& pool) {
        for (int i = 0; i < 4; i++) {
            nodes[i] = Node{pool[i < 3 ? i : 2], i < 2 ? &nodes[i + 1] : nullptr};
        }
        list.pFirstNode = &nodes[0];
        list.size = 3;
        model.list = &list;
        model.elements = {pool[0], pool[1], pool[2]};
    }
    Node nodes[4];
    LinkedList list{};
    Tracked model;
};

TEST(StateObserver, NamesEveryWayAChainDiffersFromTheModel) {
    const farElements::Elements pool;
    const struct {
        void (*change)(Handmade&);
        std::string says;
    } rows[] = {
        {[](Handmade&) {}, ""},
        {[](Handmade& h) { h.list.size = 2; }, "la lista A tiene size 2 y deberia tener 3"},
        {[](Handmade& h) { h.nodes[2].pNextNode = &h.nodes[3]; },
         "la lista A: el ultimo nodo (2) enlaza con otro nodo en lugar de NULL"},
        {[](Handmade& h) { h.nodes[1].pNextNode = nullptr; },
         "la lista A: la cadena termina tras 2 nodos y deberia seguir con [e0, e1, e2]"},
        {[](Handmade& h) { h.nodes[1].pElement = nullptr; },
         "la lista A: el nodo 1 tiene NULL y deberia tener e1 (deberia ser [e0, e1, e2])"},
        {[](Handmade& h) {
             h.list.size = 0;
             h.model.elements.clear();
         },
         "la lista A esta vacia y pFirstNode no es NULL"},
        // Size written one below the chain: the last node is the caller's, and must stay.
        {[](Handmade& h) {
             h.list.size = 2;
             h.model.elements.pop_back();
             h.model.hidden = {&h.nodes[2]};
             h.model.hiddenElements = {h.nodes[2].pElement};
         },
         ""},
        {[](Handmade& h) {
             h.list.size = 2;
             h.model.elements.pop_back();
             h.model.hidden = {&h.nodes[3]};
             h.model.hiddenElements = {h.nodes[3].pElement};
         },
         "la lista A: el nodo 2, mas alla de size, no es el que quien llama dejo ahi"},
        // Size written one above the chain.
        {[](Handmade& h) {
             h.list.size = 4;
             h.model.overstated = 1;
         },
         ""},
    };
    for (const auto& row : rows) {
        Handmade made(pool);
        row.change(made);
        EXPECT_EQ(stateObserver::differences(pool, made.model), row.says);
    }
}

} // namespace
