// The whole state a caller can see of a list, observed after every operation and held against a
// model the case keeps: the chain from pFirstNode, each node's element, size, that the chain ends
// (NULL) right after the last node, and the nodes a caller left chained past a size it wrote down.
// A fault that leaves a link dangling, shares nodes with another list or rewrites size in a read
// shows here at the call that made it, before any later result depends on it. Reads are held to
// more: after one, the chain is the same nodes holding the same elements as before.
//
// The operation sequences are drawn from the run's seed over three lists alive at once, so that
// one list's calls may disturb another's state; with oddErrno every call meets errno set to a
// value a list could take for a failure of its own. Only the verdict is asserted, so every
// correct list leaves the same checked values whatever its design.
#ifndef STATEOBSERVER_H
#define STATEOBSERVER_H

#include "LinkedList.h"
#include "caseList.h"
#include "farElements.h"
#include "probeSeed.h"
#include "utest.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <random>
#include <string>
#include <vector>

namespace stateObserver {

// No walk follows more nodes than this, so that a chain looping back ends the walk.
constexpr int WALK_LIMIT = 64;

// A list as the case expects it.
struct Tracked {
    LinkedList* list = nullptr;
    char name = 'A';
    std::vector<void*> elements; // of the nodes size counts (of the whole chain, when overstated)
    int overstated = 0;          // how far the caller wrote size above the chain's length
    std::vector<Node*> hidden;   // the nodes left chained past a size the caller wrote down
    std::vector<void*> hiddenElements;
};

// The chain as it is: its nodes and their elements, from pFirstNode.
struct Snapshot {
    Node* first;
    int size;
    std::vector<Node*> nodes;
    std::vector<void*> elements;

    bool operator==(const Snapshot&) const = default;
};

inline Snapshot snapshot(const LinkedList* list) {
    Snapshot seen{list->pFirstNode, list->size, {}, {}};
    for (Node* node = list->pFirstNode; node != nullptr && seen.nodes.size() < WALK_LIMIT;
         node = node->pNextNode) {
        seen.nodes.push_back(node);
        seen.elements.push_back(node->pElement);
    }
    return seen;
}

inline std::string nameOf(const farElements::Elements& pool, const void* element) {
    char text[16];
    pool.name(element, text, sizeof text);
    return text;
}

inline std::string describe(const farElements::Elements& pool, const std::vector<void*>& elements) {
    std::string text = "[";
    for (size_t i = 0; i < elements.size(); i++) {
        text += (i > 0 ? ", " : "") + nameOf(pool, elements[i]);
    }
    return text + "]";
}

// Empty when the list holds what t expects; otherwise what differs, in a sentence.
inline std::string differences(const farElements::Elements& pool, const Tracked& t) {
    const LinkedList* list = t.list;
    const std::string who = std::string("la lista ") + t.name;
    const int size = static_cast<int>(t.elements.size()) + t.overstated;
    if (list->size != size) {
        return who + " tiene size " + std::to_string(list->size) + " y deberia tener " +
               std::to_string(size);
    }
    const Node* node = list->pFirstNode;
    int at = 0;
    for (void* element : t.elements) {
        if (node == nullptr) {
            return who + ": la cadena termina tras " + std::to_string(at) +
                   " nodos y deberia seguir con " + describe(pool, t.elements);
        }
        if (node->pElement != element) {
            return who + ": el nodo " + std::to_string(at) + " tiene " +
                   nameOf(pool, node->pElement) + " y deberia tener " + nameOf(pool, element) +
                   " (deberia ser " + describe(pool, t.elements) + ")";
        }
        node = node->pNextNode;
        at++;
    }
    for (size_t i = 0; i < t.hidden.size(); i++, at++) {
        if (node != t.hidden[i] || node->pElement != t.hiddenElements[i]) {
            return who + ": el nodo " + std::to_string(at) +
                   ", mas alla de size, no es el que quien llama dejo ahi";
        }
        node = node->pNextNode;
    }
    if (node != nullptr) {
        return at == 0 ? who + " esta vacia y pFirstNode no es NULL"
                       : who + ": el ultimo nodo (" + std::to_string(at - 1) +
                             ") enlaza con otro nodo en lugar de NULL";
    }
    return "";
}

// Prints a failed walk's report: what was observed, and the command that repeats the run.
inline void printReport(const char* title, const char* caseName, const std::string& lines) {
    utest_print2("%s: semilla %llu\r\n", title, probeSeed);
    utest_print2("Repetirla: probeRunner --extended --seed %llu --case %s\r\n", probeSeed,
                 caseName);
    size_t start = 0;
    while (start < lines.size()) {
        const size_t end = lines.find('\n', start);
        const std::string line = lines.substr(start, end - start);
        utest_print1("%s\r\n", line.c_str());
        start = end == std::string::npos ? lines.size() : end + 1;
    }
}

// The operations a sequence draws, and how often (a kind's weight is its share of the draws).
enum class Kind {
    add,
    insert,
    pop,
    remove,
    get,
    getNode,
    indexOf,
    contains,
    containsAll,
    len,
    count,
    map,
    subList,
    edit
};
struct Weighted {
    Kind kind;
    int weight;
};
constexpr Weighted KINDS[] = {
    {Kind::add, 6},         {Kind::insert, 4},  {Kind::pop, 3},     {Kind::remove, 3},
    {Kind::get, 3},         {Kind::getNode, 2}, {Kind::indexOf, 2}, {Kind::contains, 2},
    {Kind::containsAll, 2}, {Kind::len, 1},     {Kind::count, 1},   {Kind::map, 1},
    {Kind::subList, 2},     {Kind::edit, 2},
};

constexpr int TOTAL_WEIGHT = [] {
    int total = 0;
    for (const Weighted& k : KINDS) {
        total += k.weight;
    }
    return total;
}();

// What errno holds before a call: failures a list may have met on its own, and nonsense.
constexpr int ERRNOS[] = {ENOMEM, EINVAL, ERANGE, EAGAIN, EINTR, EBADF, -1, INT_MAX};

// The callbacks' record of what they were handed (a fixed array: what a callback allocates would
// count as the list's), and what ll_count's gives back for each: the element's number in the pool
// less 3, so that some results are not above 0.
inline void* visited[WALK_LIMIT];
inline int visits = 0;
inline const farElements::Elements* countedPool = nullptr;

inline void visit(void* element) {
    if (visits < WALK_LIMIT) {
        visited[visits] = element;
    }
    visits++;
}

inline int valueOf(const void* element) {
    for (int i = 0; i < farElements::COUNT; i++) {
        if ((*countedPool)[i] == element) {
            return i - 3;
        }
    }
    return 0;
}

inline int score(void* element) {
    visit(element);
    return valueOf(element);
}

// One run of sequences over three lists, each operation on one of them, drawn from the seed.
class Walk {
  public:
    Walk(const farElements::Elements& pool, bool oddErrno)
        : pool(pool), oddErrno(oddErrno), rng(probeSeed) {}

    // Empty when every sequence agreed with the model; otherwise the report's lines.
    std::string run(int sequences, int steps) {
        countedPool = &pool;
        for (int s = 0; s < sequences; s++) {
            for (int i = 0; i < 3; i++) {
                lists[i] = Tracked{};
                lists[i].name = static_cast<char>('A' + i);
                lists[i].list = ll_newLinkedList();
                const char name[] = {lists[i].name, '\0'};
                utest_name(lists[i].list, name);
            }
            for (int step = 0; step < steps; step++) {
                std::string wrong = one(lists[draw(3)]);
                // A call on one list must leave the other two as they were.
                for (const Tracked& t : lists) {
                    wrong = wrong.empty() ? differences(pool, t) : wrong;
                }
                if (!wrong.empty()) {
                    return "secuencia " + std::to_string(s + 1) + ", paso " +
                           std::to_string(step + 1) + ": " + call + errnoText() + "\n" + wrong;
                }
            }
            for (Tracked& t : lists) {
                undoEdit(t);
                caseList::disposeEmptied(t.list);
            }
        }
        return "";
    }

  private:
    int draw(int count) {
        return static_cast<int>(rng() % static_cast<unsigned>(count));
    }

    void* drawElement() {
        const int i = draw(farElements::COUNT + 1);
        return i < farElements::COUNT ? pool[i] : nullptr;
    }

    // Sets errno for the next call.
    void beforeCall() {
        // Drawn in both modes, so that a walk with errno 0 repeats the sequences of one without.
        const int drawn = ERRNOS[draw(sizeof ERRNOS / sizeof ERRNOS[0])];
        errnoValue = oddErrno ? drawn : 0;
        errno = errnoValue;
    }

    std::string errnoText() const {
        return oddErrno ? " con errno " + std::to_string(errnoValue) + " antes de la llamada" : "";
    }

    std::string name(const void* element) const {
        return nameOf(pool, element);
    }

    static std::string gave(long got, long want) {
        return "da " + std::to_string(got) + " y deberia dar " + std::to_string(want);
    }

    std::string gaveElement(const void* got, const void* want) const {
        return "da " + name(got) + " y deberia dar " + name(want);
    }

    // The call's name with its list and arguments, for the report.
    void named(const char* function, const Tracked& t, const std::string& arguments) {
        call = std::string(function) + "(" + t.name + (arguments.empty() ? "" : ", ") + arguments +
               ")";
    }

    static int length(const Tracked& t) {
        return static_cast<int>(t.elements.size());
    }

    // An index around the list: in it, and just outside it at either end.
    int drawIndex(const Tracked& t, int extra) {
        return draw(length(t) + t.overstated + 2 + extra) - 1;
    }

    // The caller's edits: size written down over the last one or two nodes, or above the chain;
    // and written back.
    void undoEdit(Tracked& t) {
        t.list->size -= t.overstated;
        t.overstated = 0;
        t.list->size += static_cast<int>(t.hidden.size());
        t.elements.insert(t.elements.end(), t.hiddenElements.begin(), t.hiddenElements.end());
        t.hidden.clear();
        t.hiddenElements.clear();
    }

    std::string edit(Tracked& t) {
        if (t.overstated > 0 || !t.hidden.empty()) {
            call = std::string("size de ") + t.name + " devuelto a lo que la cadena tiene";
            undoEdit(t);
        } else if (length(t) > 0 && draw(2) == 0) {
            const int cut = 1 + draw(length(t) < 2 ? 1 : 2);
            const Snapshot seen = snapshot(t.list);
            for (int i = length(t) - cut; i < length(t); i++) {
                t.hidden.push_back(seen.nodes[static_cast<size_t>(i)]);
                t.hiddenElements.push_back(seen.elements[static_cast<size_t>(i)]);
            }
            t.elements.resize(t.elements.size() - static_cast<size_t>(cut));
            t.list->size -= cut;
            call = std::string("size de ") + t.name + " escrito " + std::to_string(cut) +
                   " por debajo de la cadena";
        } else {
            t.overstated = 1 + draw(2);
            t.list->size += t.overstated;
            call = std::string("size de ") + t.name + " escrito " + std::to_string(t.overstated) +
                   " por encima de la cadena";
        }
        return differences(pool, t);
    }

    // A read: its result checked where want says (checked false: any result), and the chain
    // unchanged by it.
    std::string read(const Tracked& t, const Snapshot& before, long got, long want, bool checked) {
        if (checked && got != want) {
            return "la llamada " + gave(got, want);
        }
        if (!(snapshot(t.list) == before)) {
            return "la llamada no debia cambiar la lista y la cambio: " +
                   (differences(pool, t).empty() ? std::string("sus nodos no son los de antes")
                                                 : differences(pool, t));
        }
        return differences(pool, t);
    }

    int firstIndex(const Tracked& t, const void* element) const {
        for (int i = 0; i < length(t); i++) {
            if (t.elements[static_cast<size_t>(i)] == element) {
                return i;
            }
        }
        return -1;
    }

    std::string subList(Tracked& t, const Snapshot& before) {
        const int from = drawIndex(t, 0);
        const int to = from + draw(length(t) + 2 - from) - (draw(4) == 0 ? 1 : 0);
        named("ll_subList", t, std::to_string(from) + ", " + std::to_string(to));
        beforeCall();
        LinkedList* sub = ll_subList(t.list, from, to);
        const bool valid = from >= 0 && from <= to && to <= length(t);
        if (!valid || sub == nullptr) {
            return valid || sub != nullptr
                       ? std::string("la llamada da ") + (sub == nullptr ? "NULL" : "una lista") +
                             " y deberia dar " + (valid ? "una lista" : "NULL")
                       : read(t, before, 0, 0, false);
        }
        Tracked slice;
        slice.list = sub;
        slice.name = 'S';
        utest_name(sub, "S");
        slice.elements.assign(t.elements.begin() + from, t.elements.begin() + to);
        std::string wrong = differences(pool, slice);
        Node* node = sub->pFirstNode;
        for (int i = from; wrong.empty() && i < to; i++, node = node->pNextNode) {
            for (Node* own : before.nodes) {
                wrong = own == node ? "la sub-lista S comparte nodos con " + std::string(1, t.name)
                                    : wrong;
            }
        }
        if (wrong.empty()) {
            void* element = drawElement();
            named("ll_add", slice, name(element));
            beforeCall();
            const int added = ll_add(sub, element);
            slice.elements.push_back(element);
            wrong = added != 0 ? "la llamada " + gave(added, 0) : differences(pool, slice);
        }
        if (wrong.empty()) {
            wrong = read(t, before, 0, 0, false);
            caseList::disposeEmptied(sub);
        }
        return wrong;
    }

    // One operation on t, then the observation; empty when both agree with the model.
    std::string one(Tracked& t) {
        int pick = draw(TOTAL_WEIGHT);
        Kind kind = Kind::add;
        for (const Weighted& k : KINDS) {
            if (pick < k.weight) {
                kind = k.kind;
                break;
            }
            pick -= k.weight;
        }
        // Over a chain shorter than size, only reads, appends and the edit's undoing are drawn:
        // the header documents nothing else there.
        const bool shortChain = t.overstated > 0;
        if (shortChain && (kind == Kind::pop || kind == Kind::remove || kind == Kind::subList ||
                           kind == Kind::containsAll)) {
            kind = Kind::get;
        }
        const Snapshot before = snapshot(t.list);
        const int size = length(t) + t.overstated;
        switch (kind) {
        case Kind::add: {
            void* element = drawElement();
            named("ll_add", t, name(element));
            beforeCall();
            const int got = ll_add(t.list, element);
            if (shortChain) {
                return read(t, before, got, -1, true);
            }
            t.elements.push_back(element);
            return got != 0 ? "la llamada " + gave(got, 0) : differences(pool, t);
        }
        case Kind::insert: {
            const int index = drawIndex(t, 1);
            void* element = drawElement();
            named("test_addNode", t, std::to_string(index) + ", " + name(element));
            beforeCall();
            const int got = test_addNode(t.list, index, element);
            if (index < 0 || index > length(t)) {
                return read(t, before, got, -1, true);
            }
            t.elements.insert(t.elements.begin() + index, element);
            return got != 0 ? "la llamada " + gave(got, 0) : differences(pool, t);
        }
        case Kind::pop:
        case Kind::remove: {
            const int index = drawIndex(t, 0);
            const bool valid = index >= 0 && index < length(t);
            void* want = valid ? t.elements[static_cast<size_t>(index)] : nullptr;
            std::string wrong;
            named(kind == Kind::pop ? "ll_pop" : "ll_remove", t, std::to_string(index));
            beforeCall();
            if (kind == Kind::pop) {
                void* got = ll_pop(t.list, index);
                wrong = got != want ? "la llamada " + gaveElement(got, want) : "";
            } else {
                const int got = ll_remove(t.list, index);
                wrong = got != (valid ? 0 : -1) ? "la llamada " + gave(got, valid ? 0 : -1) : "";
            }
            if (valid) {
                t.elements.erase(t.elements.begin() + index);
            }
            return wrong.empty() ? differences(pool, t) : wrong;
        }
        case Kind::get:
        case Kind::getNode: {
            const int index = drawIndex(t, 0);
            const bool inChain = index >= 0 && index < length(t);
            named(kind == Kind::get ? "ll_get" : "test_getNode", t, std::to_string(index));
            beforeCall();
            if (kind == Kind::get) {
                void* got = ll_get(t.list, index);
                void* want = inChain ? t.elements[static_cast<size_t>(index)] : nullptr;
                if ((inChain || index < 0 || index >= size) && got != want) {
                    return "la llamada " + gaveElement(got, want);
                }
                return read(t, before, 0, 0, false);
            }
            Node* got = test_getNode(t.list, index);
            Node* want = inChain ? before.nodes[static_cast<size_t>(index)] : nullptr;
            if ((inChain || index < 0 || index >= size) && got != want) {
                return "la llamada da otro nodo que el " + std::to_string(index) + " de la cadena";
            }
            return read(t, before, 0, 0, false);
        }
        case Kind::indexOf:
        case Kind::contains: {
            void* element = drawElement();
            named(kind == Kind::indexOf ? "ll_indexOf" : "ll_contains", t, name(element));
            beforeCall();
            if (kind == Kind::indexOf) {
                return read(t, before, ll_indexOf(t.list, element), firstIndex(t, element), true);
            }
            return read(t, before, ll_contains(t.list, element),
                        firstIndex(t, element) >= 0 ? 1 : 0, true);
        }
        case Kind::containsAll: {
            Tracked& other = lists[draw(3)];
            if (other.overstated > 0) {
                return differences(pool, t);
            }
            int want = 1;
            for (void* element : other.elements) {
                want = firstIndex(t, element) < 0 ? 0 : want;
            }
            named("ll_containsAll", t, std::string(1, other.name));
            const Snapshot otherBefore = snapshot(other.list);
            beforeCall();
            const std::string wrong =
                read(t, before, ll_containsAll(t.list, other.list), want, true);
            return wrong.empty() ? read(other, otherBefore, 0, 0, false) : wrong;
        }
        case Kind::len:
            named("ll_len", t, "");
            beforeCall();
            return read(t, before, ll_len(t.list), size, true);
        case Kind::count:
        case Kind::map: {
            visits = 0;
            long got = 0;
            long want = 0;
            named(kind == Kind::count ? "ll_count" : "ll_map", t, "f");
            beforeCall();
            if (kind == Kind::count) {
                got = ll_count(t.list, score);
                for (void* element : t.elements) {
                    want += valueOf(element) > 0 ? valueOf(element) : 0;
                }
            } else {
                got = ll_map(t.list, visit);
            }
            const std::vector<void*> seen(visited, visited + std::min(visits, WALK_LIMIT));
            if (!shortChain && (visits != length(t) || seen != t.elements)) {
                return "la llamada pasa a f " + describe(pool, seen) + " (" +
                       std::to_string(visits) + " llamadas) y deberia pasarle " +
                       describe(pool, t.elements);
            }
            return read(t, before, got, want, !shortChain);
        }
        case Kind::subList:
            return subList(t, before);
        case Kind::edit:
            return edit(t);
        }
        return "";
    }

    const farElements::Elements& pool;
    const bool oddErrno;
    std::mt19937_64 rng;
    Tracked lists[3];
    std::string call;
    int errnoValue = 0;
};

} // namespace stateObserver

#endif
