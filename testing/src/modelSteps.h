// What the model check's operations share: the elements and their codes, the observations, the
// lines of the emitted program, the draws of an index, and the operations' rows, which
// modelReads.cpp (the list's readers) and modelEdits.cpp (what changes the list) define.
#ifndef MODELSTEPS_H
#define MODELSTEPS_H

#include "modelOps.h"
#include "modelShapes.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace modelCheck {

inline void* elementOf(int code) {
    return code == NULL_ELEMENT ? nullptr : &pool[code];
}

inline int codeOf(const void* pElement) {
    for (int i = 0; i < POOL; i++) {
        if (pElement == &pool[i]) {
            return i;
        }
    }
    return pElement == nullptr ? NULL_ELEMENT : FOREIGN;
}

// Observations: a number, an element by its code, and the element a pointer of the list is.
inline Observation number(long value) {
    return {value, false};
}

inline Observation element(int code) {
    return {code, true};
}

inline Observation code(const void* pElement) {
    return element(codeOf(pElement));
}

// The lines of the emitted program: an assertion of an observation, and a statement.
inline Line check(const std::string& test, int observation) {
    return {"    assert(" + test + ");", observation};
}

inline Line does(const std::string& call) {
    return {"    " + call + ";", -1};
}

// An operation that yields one observation, written as one assertion of it.
inline std::vector<Line> checkOne(const std::string& call, const Observations& wanted) {
    return {check(call + " == " + observationText(wanted[0]), 0)};
}

inline std::string operand(int value) {
    return std::to_string(value);
}

// Which operations a list of a length may be given.
inline bool always(int /*length*/) {
    return true;
}

// A random index for a list of n: mostly one that holds an element, now and then -1, n or n+1.
inline int randomIndex(std::mt19937_64& rng, int n, int past) {
    if (n == 0 || rng() % 5 == 0) {
        const int edges[] = {-1, n, n + 1};
        return edges[rng() % 3];
    }
    return static_cast<int>(rng() % static_cast<unsigned>(n + past));
}

// Operands, as each operation draws them.
inline void drawNothing(Op& /*op*/, std::mt19937_64& /*rng*/, int /*n*/) {}

inline void drawHeld(Op& op, std::mt19937_64& rng, int n) {
    op.a = randomIndex(rng, n, 0);
}

// What the model holds at a, as the list's readers give it: an element, or null past the ends.
inline bool holds(const Op& op, const std::vector<int>& model) {
    return op.a >= 0 && op.a < static_cast<int>(model.size());
}

inline int at(const Op& op, const std::vector<int>& model, int none) {
    return holds(op, model) ? model[op.a] : none;
}

// The operations' rows; the table (modelOps.cpp) lists them in the order of Kind.
extern const Operation addOperation, insertOperation, getOperation, nodeOperation, popOperation,
    removeOperation, lenOperation, containsOperation, indexOfOperation, mapOperation,
    containsAllOperation, subListOperation, countOperation, readAllOperation, cutOperation,
    pushFrontOperation, swapHeadOperation, replaceNodeOperation, swapNextOperation, lowerOperation,
    freshOperation;

} // namespace modelCheck

#endif
