// The model check's operations that change the list, each with its row.
#include "modelSteps.h"

#include "caseList.h"

namespace modelCheck {

namespace {

// Which lengths a list may have for the operations that add a node, or that replace the first.
bool notFull(int length) {
    return length < MAX_LENGTH;
}

bool notEmpty(int length) {
    return length > 0;
}

bool twoOrMore(int length) {
    return length > 1;
}

// Operands: a place to insert at, or a length to cut the list down to.
void drawPlace(Op& op, std::mt19937_64& rng, int n) {
    op.a = randomIndex(rng, n, 1);
}

void drawLength(Op& op, std::mt19937_64& rng, int n) {
    op.a = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
}

// A node of the list, and the first of two neighbours.
void drawNode(Op& op, std::mt19937_64& rng, int n) {
    op.a = static_cast<int>(rng() % static_cast<unsigned>(n));
}

void drawPair(Op& op, std::mt19937_64& rng, int n) {
    op.a = static_cast<int>(rng() % static_cast<unsigned>(n - 1));
}

// The element at a taken off the model, or null when a holds none.
int takeOut(const Op& op, std::vector<int>& model) {
    const int taken = at(op, model, NULL_ELEMENT);
    if (holds(op, model)) {
        model.erase(model.begin() + op.a);
    }
    return taken;
}

namespace add {
Observations expect(const Op& op, std::vector<int>& model) {
    model.push_back(op.element);
    return {number(0)};
}
Observations perform(const Op& op, LinkedList*& list) {
    return {number(ll_add(list, elementOf(op.element)))};
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    return checkOne("ll_add(list, " + elementText(op.element) + ")", wanted);
}
} // namespace add

namespace insert {
Observations expect(const Op& op, std::vector<int>& model) {
    if (op.a < 0 || op.a > static_cast<int>(model.size())) {
        return {number(-1)};
    }
    model.insert(model.begin() + op.a, op.element);
    return {number(0)};
}
Observations perform(const Op& op, LinkedList*& list) {
    return {number(test_addNode(list, op.a, elementOf(op.element)))};
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    return checkOne("test_addNode(list, " + operand(op.a) + ", " + elementText(op.element) + ")",
                    wanted);
}
} // namespace insert

namespace pop {
Observations expect(const Op& op, std::vector<int>& model) {
    return {element(takeOut(op, model))};
}
Observations perform(const Op& op, LinkedList*& list) {
    return {code(ll_pop(list, op.a))};
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    return checkOne("ll_pop(list, " + operand(op.a) + ")", wanted);
}
} // namespace pop

namespace remove {
Observations expect(const Op& op, std::vector<int>& model) {
    const bool held = holds(op, model);
    takeOut(op, model);
    return {number(held ? 0 : -1)};
}
Observations perform(const Op& op, LinkedList*& list) {
    return {number(ll_remove(list, op.a))};
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    return checkOne("ll_remove(list, " + operand(op.a) + ")", wanted);
}
} // namespace remove

// The caller's edits: they yield nothing, and keep what they take off, in a child that ends soon
// after.
namespace cut {
Observations expect(const Op& op, std::vector<int>& model) {
    model.resize(std::min(static_cast<size_t>(op.a), model.size()));
    return {};
}
Observations perform(const Op& op, LinkedList*& list) {
    caseList::cutAfter(list, op.a);
    return {};
}
std::vector<Line> write(const Op& op, const Observations& /*wanted*/) {
    return {does("cutAfter(list, " + operand(op.a) + ")")};
}
} // namespace cut

namespace pushFront {
Observations expect(const Op& op, std::vector<int>& model) {
    model.insert(model.begin(), op.element);
    return {};
}
Observations perform(const Op& op, LinkedList*& list) {
    caseList::pushFront(list, elementOf(op.element));
    return {};
}
std::vector<Line> write(const Op& op, const Observations& /*wanted*/) {
    return {does("pushFront(list, " + elementText(op.element) + ")")};
}
} // namespace pushFront

namespace swapHead {
Observations expect(const Op& op, std::vector<int>& model) {
    if (!model.empty()) {
        model[0] = op.element;
    }
    return {};
}
Observations perform(const Op& op, LinkedList*& list) {
    caseList::swapHead(list, elementOf(op.element));
    return {};
}
std::vector<Line> write(const Op& op, const Observations& /*wanted*/) {
    return {does("swapHead(list, " + elementText(op.element) + ")")};
}
} // namespace swapHead

// The edits inside the chain, which leave pFirstNode and size as they were (but for a new first
// node): each is followed by ll_len, as inc/LinkedList.h asks, and yields its answer.
Observations length(const std::vector<int>& model) {
    return {number(static_cast<long>(model.size()))};
}

std::vector<Line> thenLength(const std::string& edit, const Observations& wanted) {
    return {does(edit), check("ll_len(list) == " + observationText(wanted[0]), 0)};
}

namespace replaceNode {
Observations expect(const Op& op, std::vector<int>& model) {
    if (holds(op, model)) {
        model[static_cast<size_t>(op.a)] = op.element;
    }
    return length(model);
}
Observations perform(const Op& op, LinkedList*& list) {
    caseList::replaceNode(list, op.a, elementOf(op.element));
    return {number(ll_len(list))};
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    return thenLength("replaceNode(list, " + operand(op.a) + ", " + elementText(op.element) + ")",
                      wanted);
}
} // namespace replaceNode

namespace swapNext {
Observations expect(const Op& op, std::vector<int>& model) {
    if (op.a >= 0 && op.a + 1 < static_cast<int>(model.size())) {
        std::swap(model[static_cast<size_t>(op.a)], model[static_cast<size_t>(op.a) + 1]);
    }
    return length(model);
}
Observations perform(const Op& op, LinkedList*& list) {
    caseList::swapNext(list, op.a);
    return {number(ll_len(list))};
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    return thenLength("swapNext(list, " + operand(op.a) + ")", wanted);
}
} // namespace swapNext

namespace lower {
std::vector<Line> write(const Op& op, const Observations& /*wanted*/) {
    const std::string a = operand(op.a);
    return {does("list->size = list->size < " + a + " ? list->size : " + a)};
}
Observations perform(const Op& op, LinkedList*& list) {
    list->size = std::min(op.a, list->size);
    return {};
}
} // namespace lower

namespace fresh {
Observations expect(const Op& /*op*/, std::vector<int>& model) {
    model.clear();
    return {};
}
Observations perform(const Op& /*op*/, LinkedList*& list) {
    list = ll_newLinkedList();
    return {};
}
std::vector<Line> write(const Op& /*op*/, const Observations& /*wanted*/) {
    return {does("list = ll_newLinkedList()")};
}
} // namespace fresh

} // namespace

const Operation addOperation = {Kind::add,    4,          0, notFull, drawNothing, add::expect,
                                add::perform, add::write, 0};
const Operation insertOperation = {
    Kind::insert, 3, 0, notFull, drawPlace, insert::expect, insert::perform, insert::write, 0};
const Operation popOperation = {Kind::pop,    3,          0, always, drawHeld, pop::expect,
                                pop::perform, pop::write, 0};
const Operation removeOperation = {
    Kind::remove, 2, 0, always, drawHeld, remove::expect, remove::perform, remove::write, 0};
const Operation cutOperation = {
    Kind::cut, 1, 0, always, drawLength, cut::expect, cut::perform, cut::write, CUT_AFTER_HELPER};
const Operation pushFrontOperation = {Kind::pushFront,
                                      1,
                                      0,
                                      notFull,
                                      drawNothing,
                                      pushFront::expect,
                                      pushFront::perform,
                                      pushFront::write,
                                      NEW_NODE_HELPER | PUSH_FRONT_HELPER};
const Operation swapHeadOperation = {Kind::swapHead,
                                     1,
                                     0,
                                     notEmpty,
                                     drawNothing,
                                     swapHead::expect,
                                     swapHead::perform,
                                     swapHead::write,
                                     NEW_NODE_HELPER | SWAP_HEAD_HELPER};
const Operation replaceNodeOperation = {Kind::replaceNode,
                                        1,
                                        0,
                                        notEmpty,
                                        drawNode,
                                        replaceNode::expect,
                                        replaceNode::perform,
                                        replaceNode::write,
                                        NEW_NODE_HELPER | LINK_TO_HELPER | REPLACE_NODE_HELPER};
const Operation swapNextOperation = {Kind::swapNext,
                                     1,
                                     0,
                                     twoOrMore,
                                     drawPair,
                                     swapNext::expect,
                                     swapNext::perform,
                                     swapNext::write,
                                     LINK_TO_HELPER | SWAP_NEXT_HELPER};
// The model lowers its length as a cut does.
const Operation lowerOperation = {
    Kind::lower, 1, 0, always, drawLength, cut::expect, lower::perform, lower::write, 0};
const Operation freshOperation = {
    Kind::fresh, 0, 0, always, drawNothing, fresh::expect, fresh::perform, fresh::write, 0};

} // namespace modelCheck
