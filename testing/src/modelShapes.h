// The second lists the model check hands to ll_containsAll: the list itself, or a new list of up
// to four elements (null and repeats among them, held or not) with up to two more nodes chained
// past its size, which are no elements and must not be looked for. A shape is one number, so that
// an operation carries it like an index and the shortest failing sequence can print it back.
#ifndef MODELSHAPES_H
#define MODELSHAPES_H

#include "LinkedList.h"

#include <random>
#include <string>
#include <vector>

namespace modelShapes {

// Codes as the model uses them: 0 to pool-1 the pool's elements, -1 null.
struct SecondList {
    bool self = false;      // the list itself
    std::vector<int> shown; // its elements
    std::vector<int> past;  // the elements of the nodes past its size
};

// The second list a shape stands for, its elements drawn from a pool of `pool` elements.
inline SecondList decode(unsigned shape, int pool) {
    SecondList second;
    second.self = shape % 8 == 0;
    shape /= 8;
    const unsigned shown = shape % 5;
    const unsigned past = shape / 5 % 3;
    shape /= 15;
    for (unsigned i = 0; i < shown + past; i++) {
        const int code = static_cast<int>(shape % static_cast<unsigned>(pool + 1)) - 1;
        shape /= static_cast<unsigned>(pool + 1);
        (i < shown ? second.shown : second.past).push_back(code);
    }
    return second;
}

// A random shape: every one of them can come up.
inline int randomShape(std::mt19937_64& rng) {
    return static_cast<int>(rng() % 0x7fffffff);
}

// The second list built through the list's functions: its elements appended, then the ones to
// leave past its size, then size written back down. Nothing is freed: the sequence's child
// process ends soon after.
inline LinkedList* build(const SecondList& second, LinkedList* list, void* (*elementOf)(int)) {
    if (second.self) {
        return list;
    }
    LinkedList* other = ll_newLinkedList();
    for (int code : second.shown) {
        ll_add(other, elementOf(code));
    }
    for (int code : second.past) {
        ll_add(other, elementOf(code));
    }
    other->size = static_cast<int>(second.shown.size());
    return other;
}

// The same as C statements of the emitted program, building `one`.
inline std::vector<std::string> buildText(const SecondList& second,
                                          std::string (*elementText)(int)) {
    if (second.self) {
        return {"one = list"};
    }
    std::vector<std::string> lines = {"one = ll_newLinkedList()"};
    for (int code : second.shown) {
        lines.push_back("ll_add(one, " + elementText(code) + ")");
    }
    for (int code : second.past) {
        lines.push_back("ll_add(one, " + elementText(code) + ")");
    }
    if (!second.past.empty()) {
        lines.push_back("one->size = " + std::to_string(second.shown.size()));
    }
    return lines;
}

} // namespace modelShapes

#endif
