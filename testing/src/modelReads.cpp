// The model check's operations that read the list, each with its row.
#include "modelSteps.h"

namespace modelCheck {

namespace {

// The callbacks, as the emitted program defines them too.
void* seen[MAX_VISITS];
int visits;

void visit(void* pElement) {
    if (visits < MAX_VISITS) {
        seen[visits] = pElement;
    }
    visits++;
}

// Records its calls as visit does, so that ll_count's calls are checked like ll_map's.
int weight(void* pElement) {
    visit(pElement);
    return pElement != nullptr ? *static_cast<int*>(pElement) : 1;
}

// Operands of the operations that take a second list, or a range.
void drawShape(Op& op, std::mt19937_64& rng, int /*n*/) {
    op.a = modelShapes::randomShape(rng);
}

void drawRange(Op& op, std::mt19937_64& rng, int n) {
    op.a = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
    op.b = op.a + static_cast<int>(rng() % static_cast<unsigned>(n - op.a + 1));
    // Now and then a range to refuse: from below 0, to past the length, or from past to.
    if (rng() % 5 == 0) {
        const auto bad = rng() % 3;
        op.a = bad == 0 ? -1 : (bad == 2 ? op.b + 1 : op.a);
        op.b = bad == 1 ? n + 1 : op.b;
    }
}

// The length, then every element in order: what ll_map visits and what a full read gives.
Observations whole(const std::vector<int>& model) {
    Observations out = {number(static_cast<long>(model.size()))};
    for (int code : model) {
        out.push_back(element(code));
    }
    return out;
}

// The callbacks' result, then their calls, as they recorded them.
Observations visited(long result) {
    Observations out = {number(result), number(visits)};
    for (int i = 0; i < visits && i < MAX_VISITS; i++) {
        out.push_back(code(seen[i]));
    }
    return out;
}

// ll_map and ll_count, written alike: their result, then their calls.
std::vector<Line> writeVisits(const std::string& call, const Observations& wanted) {
    std::vector<Line> lines = {does("visits = 0"),
                               check(call + " == " + observationText(wanted[0]), 0),
                               check("visits == " + observationText(wanted[1]), 1)};
    for (size_t i = 2; i < wanted.size(); i++) {
        lines.push_back(
            check("seen[" + std::to_string(i - 2) + "] == " + observationText(wanted[i]),
                  static_cast<int>(i)));
    }
    return lines;
}

namespace get {
Observations expect(const Op& op, std::vector<int>& model) {
    return {element(at(op, model, NULL_ELEMENT))};
}
Observations perform(const Op& op, LinkedList*& list) {
    return {code(ll_get(list, op.a))};
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    return checkOne("ll_get(list, " + operand(op.a) + ")", wanted);
}
} // namespace get

namespace node {
Observations expect(const Op& op, std::vector<int>& model) {
    return {element(at(op, model, NO_NODE))};
}
Observations perform(const Op& op, LinkedList*& list) {
    const Node* node = test_getNode(list, op.a);
    return {node != nullptr ? code(node->pElement) : element(NO_NODE)};
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    const std::string call = "test_getNode(list, " + operand(op.a) + ")";
    if (wanted[0].value == NO_NODE) {
        return {check(call + " == NULL", 0)};
    }
    return {check(call + " != NULL && " + call + "->pElement == " + observationText(wanted[0]), 0)};
}
} // namespace node

namespace len {
Observations expect(const Op& /*op*/, std::vector<int>& model) {
    return {number(static_cast<long>(model.size()))};
}
Observations perform(const Op& /*op*/, LinkedList*& list) {
    return {number(ll_len(list))};
}
std::vector<Line> write(const Op& /*op*/, const Observations& wanted) {
    return checkOne("ll_len(list)", wanted);
}
} // namespace len

namespace contains {
Observations expect(const Op& op, std::vector<int>& model) {
    return {number(std::find(model.begin(), model.end(), op.element) != model.end() ? 1 : 0)};
}
Observations perform(const Op& op, LinkedList*& list) {
    return {number(ll_contains(list, elementOf(op.element)))};
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    return checkOne("ll_contains(list, " + elementText(op.element) + ")", wanted);
}
} // namespace contains

namespace indexOf {
Observations expect(const Op& op, std::vector<int>& model) {
    const auto found = std::find(model.begin(), model.end(), op.element);
    return {number(found != model.end() ? found - model.begin() : -1)};
}
Observations perform(const Op& op, LinkedList*& list) {
    return {number(ll_indexOf(list, elementOf(op.element)))};
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    return checkOne("ll_indexOf(list, " + elementText(op.element) + ")", wanted);
}
} // namespace indexOf

namespace map {
Observations expect(const Op& /*op*/, std::vector<int>& model) {
    Observations out = {number(0)};
    const Observations calls = whole(model);
    out.insert(out.end(), calls.begin(), calls.end());
    return out;
}
Observations perform(const Op& /*op*/, LinkedList*& list) {
    visits = 0;
    return visited(ll_map(list, visit));
}
std::vector<Line> write(const Op& /*op*/, const Observations& wanted) {
    return writeVisits("ll_map(list, visit)", wanted);
}
} // namespace map

namespace containsAll {
Observations expect(const Op& op, std::vector<int>& model) {
    const modelShapes::SecondList second = modelShapes::decode(op.a, POOL);
    bool all = true;
    for (int code : second.shown) {
        all = all && std::find(model.begin(), model.end(), code) != model.end();
    }
    return {number(second.self || all ? 1 : 0)};
}
Observations perform(const Op& op, LinkedList*& list) {
    LinkedList* other = modelShapes::build(modelShapes::decode(op.a, POOL), list, elementOf);
    return {number(ll_containsAll(list, other))};
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    std::vector<Line> lines;
    for (const std::string& line :
         modelShapes::buildText(modelShapes::decode(op.a, POOL), elementText)) {
        lines.push_back(does(line));
    }
    lines.push_back(check("ll_containsAll(list, one) == " + observationText(wanted[0]), 0));
    return lines;
}
} // namespace containsAll

namespace subList {
Observations expect(const Op& op, std::vector<int>& model) {
    if (op.a < 0 || op.b > static_cast<int>(model.size()) || op.a > op.b) {
        return {number(0)};
    }
    Observations out = {number(1), number(op.b - op.a)};
    for (int i = op.a; i < op.b; i++) {
        out.push_back(element(model[i]));
    }
    if (op.a < op.b) {
        out.push_back(number(1));
    }
    return out;
}
// Its elements, then whether its first node is one of its own; then it is appended to.
Observations perform(const Op& op, LinkedList*& list) {
    LinkedList* sub = ll_subList(list, op.a, op.b);
    if (sub == nullptr) {
        return {number(0)};
    }
    Observations out = {number(1), number(ll_len(sub))};
    for (int i = 0; i < op.b - op.a; i++) {
        out.push_back(code(ll_get(sub, i)));
    }
    if (op.a < op.b) {
        out.push_back(number(test_getNode(sub, 0) != test_getNode(list, op.a) ? 1 : 0));
    }
    ll_add(sub, nullptr);
    return out;
}
std::vector<Line> write(const Op& op, const Observations& wanted) {
    const std::string a = operand(op.a);
    std::vector<Line> lines = {does("sub = ll_subList(list, " + a + ", " + operand(op.b) + ")")};
    if (wanted[0].value == 0) {
        lines.push_back(check("sub == NULL", 0));
        return lines;
    }
    lines.push_back(check("sub != NULL", 0));
    lines.push_back(check("ll_len(sub) == " + observationText(wanted[1]), 1));
    for (int i = 0; i < op.b - op.a; i++) {
        lines.push_back(check(
            "ll_get(sub, " + std::to_string(i) + ") == " + observationText(wanted[i + 2]), i + 2));
    }
    if (op.a < op.b) {
        lines.push_back(check("test_getNode(sub, 0) != test_getNode(list, " + a + ")",
                              static_cast<int>(wanted.size()) - 1));
    }
    lines.push_back(does("ll_add(sub, NULL)"));
    return lines;
}
} // namespace subList

namespace count {
Observations expect(const Op& /*op*/, std::vector<int>& model) {
    long total = 0;
    for (int code : model) {
        const int result = code == NULL_ELEMENT ? 1 : pool[code];
        total += result > 0 ? result : 0;
    }
    Observations out = {number(total)};
    const Observations calls = whole(model);
    out.insert(out.end(), calls.begin(), calls.end());
    return out;
}
Observations perform(const Op& /*op*/, LinkedList*& list) {
    visits = 0;
    return visited(ll_count(list, weight));
}
std::vector<Line> write(const Op& /*op*/, const Observations& wanted) {
    return writeVisits("ll_count(list, weight)", wanted);
}
} // namespace count

namespace readAll {
Observations expect(const Op& /*op*/, std::vector<int>& model) {
    return whole(model);
}
Observations perform(const Op& /*op*/, LinkedList*& list) {
    const int length = ll_len(list);
    Observations out = {number(length)};
    for (int i = 0; i < length && i < MAX_VISITS; i++) {
        out.push_back(code(ll_get(list, i)));
    }
    return out;
}
std::vector<Line> write(const Op& /*op*/, const Observations& wanted) {
    std::vector<Line> lines = {check("ll_len(list) == " + observationText(wanted[0]), 0)};
    for (size_t i = 1; i < wanted.size(); i++) {
        lines.push_back(
            check("ll_get(list, " + std::to_string(i - 1) + ") == " + observationText(wanted[i]),
                  static_cast<int>(i)));
    }
    return lines;
}
} // namespace readAll

} // namespace

const Operation getOperation = {Kind::get,    4,          0, always, drawHeld, get::expect,
                                get::perform, get::write, 0};
const Operation nodeOperation = {Kind::node,    2,           0, always, drawHeld, node::expect,
                                 node::perform, node::write, 0};
const Operation lenOperation = {Kind::len,    1,          0, always, drawNothing, len::expect,
                                len::perform, len::write, 0};
const Operation containsOperation = {
    Kind::contains,  1, 0, always, drawNothing, contains::expect, contains::perform,
    contains::write, 0};
const Operation indexOfOperation = {
    Kind::indexOf, 2, 0, always, drawNothing, indexOf::expect, indexOf::perform, indexOf::write, 0};
const Operation mapOperation = {
    Kind::map, 1, 0, always, drawNothing, map::expect, map::perform, map::write, VISIT_HELPER};
const Operation containsAllOperation = {
    Kind::containsAll,  1,        1, always, drawShape, containsAll::expect, containsAll::perform,
    containsAll::write, ONE_LOCAL};
const Operation subListOperation = {
    Kind::subList,  2,        0, always, drawRange, subList::expect, subList::perform,
    subList::write, SUB_LOCAL};
const Operation countOperation = {Kind::count,
                                  1,
                                  0,
                                  always,
                                  drawNothing,
                                  count::expect,
                                  count::perform,
                                  count::write,
                                  VISIT_HELPER | WEIGHT_HELPER};
const Operation readAllOperation = {
    Kind::readAll, 1, 0, always, drawNothing, readAll::expect, readAll::perform, readAll::write, 0};

} // namespace modelCheck
