// The model check's operations in one table, and the draw of a random one.
#include "modelSteps.h"

namespace modelCheck {

int pool[5] = {3, -1, 0, 7, -4};

namespace {

// The operations, in the order of Kind. Their weights make the order of a draw's slots, which a
// seed's sequences follow.
const Operation* const OPERATIONS[] = {
    &addOperation,      &insertOperation,      &getOperation,         &nodeOperation,
    &popOperation,      &removeOperation,      &lenOperation,         &containsOperation,
    &indexOfOperation,  &mapOperation,         &containsAllOperation, &subListOperation,
    &countOperation,    &readAllOperation,     &cutOperation,         &pushFrontOperation,
    &swapHeadOperation, &replaceNodeOperation, &swapNextOperation,    &lowerOperation,
    &freshOperation,
};

// The kind drawn in a slot: the slots of every row's weight in turn, then of every row's late
// weight.
Kind drawn(size_t slot) {
    for (const bool late : {false, true}) {
        for (const Operation* row : OPERATIONS) {
            const auto chances = static_cast<size_t>(late ? row->lateWeight : row->weight);
            if (slot < chances) {
                return row->kind;
            }
            slot -= chances;
        }
    }
    return Kind::get;
}

size_t slots() {
    size_t count = 0;
    for (const Operation* row : OPERATIONS) {
        count += static_cast<size_t>(row->weight + row->lateWeight);
    }
    return count;
}

} // namespace

const Operation& operation(Kind kind) {
    return *OPERATIONS[static_cast<size_t>(kind)];
}

Op randomOp(std::mt19937_64& rng, int length) {
    const Kind kind = drawn(rng() % slots());
    // A list too long to grow, or too short to lose its head, is read instead.
    Op op{operation(kind).fits(length) ? kind : Kind::get};
    op.element = rng() % 4 == 0 ? NULL_ELEMENT : static_cast<int>(rng() % POOL);
    operation(op.kind).draw(op, rng, length);
    return op;
}

} // namespace modelCheck
