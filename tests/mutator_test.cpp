// The mutant maker behind tools/mutation-score.sh: which mutants a piece of C gets, that comments,
// strings, preprocessor lines and declarations outside functions get none, and that a mutant
// keeps every line where it was.
#include "mutants.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> descriptionsOf(const std::string& source) {
    std::vector<std::string> out;
    for (const mutator::Mutant& mutant : mutator::mutantsOf(source)) {
        out.push_back(std::to_string(mutant.line) + ": " + mutant.description);
    }
    return out;
}

struct Expected {
    const char* source;
    std::vector<std::string> present; // mutations it must get
    std::vector<std::string> absent;  // and must not
};

const Expected CASES[] = {
    // Only the branches a build without macros of its own compiles, their braces counted once.
    {"int f(int a) {\n#ifdef FAULT_x\n    if (a > 1) {\n#else\n    if (a > 2) {\n#endif\n"
     "        return 1;\n    }\n    return 0;\n}\n",
     {"5: relational: '>' -> '>='", "5: constant: '2' -> '3'", "7: return dropped: 'return 1;'"},
     {"3:", "9: return dropped"}},
    // The closing return is not dropped: the function would run off its end.
    {"int f(int a, int b) {\n    if (a) {\n        return 1;\n    }\n    return a < b;\n}\n",
     {"5: relational: '<' -> '<='", "5: return value: 'return a < b;' -> 'return 0;'",
      "3: return dropped: 'return 1;'"},
     {"1: narrower type: 'int' -> 'short'", "5: return dropped"}},
    {"void g(Node* node) {\n    if (node->pNextNode != NULL && !p) {\n        free(node);\n    "
     "}\n}\n",
     {"2: NULL test dropped: 'node->pNextNode != NULL' -> '1'", "2: NULL test dropped: '!p' -> '0'",
      "3: statement dropped: 'free(node);'"},
     {"2: statement dropped"}},
    {"int h(LinkedList* l) {\n    int i = 0;\n    long long t = l->size - 1;\n    i++;\n    return "
     "0;\n}\n",
     {"2: narrower type: 'int' -> 'short'", "2: narrower type: 'int' -> 'unsigned short'",
      "3: narrower type: 'long long' -> 'int'", "3: arithmetic: '-' -> '+'",
      "3: constant: '1' -> '2'", "3: constant: '1' -> '0'", "4: arithmetic: '++' -> '--'",
      "4: statement dropped: 'i++;'", "2: constant: '0' -> '(-1)'"},
     {"2: statement dropped", "3: statement dropped", "5: return value"}},
    {"void k(LinkedList* l, Node* n) {\n    Node* m = (Node*)n;\n    link(l, n->pNextNode, "
     "2);\n}\n",
     {"3: arguments swapped: 'l, n->pNextNode' -> 'n->pNextNode, l'",
      "3: arguments swapped: 'n->pNextNode, 2' -> '2, n->pNextNode'"},
     {"2: arithmetic", "2: statement dropped"}},
    {"/* a < b; x = 1; */\n#define N (1 + 2)\nstatic int t = 3;\nconst char* s(void) {\n"
     "    // y < 2;\n    return \"a < 1\";\n}\n",
     {"6: return value: 'return \"a < 1\";' -> 'return 0;'"},
     {"1:", "2:", "3:", "5:", "6: relational", "6: constant"}},
};

TEST(Mutator, MakesTheMutantsOfEachKindAndNoneOutsideCode) {
    for (const Expected& expected : CASES) {
        const std::vector<std::string> got = descriptionsOf(expected.source);
        for (const std::string& present : expected.present) {
            EXPECT_NE(std::find(got.begin(), got.end(), present), got.end()) << present << "\nin:\n"
                                                                             << expected.source;
        }
        for (const std::string& absent : expected.absent) {
            EXPECT_TRUE(std::none_of(got.begin(), got.end(),
                                     [&](const std::string& d) { return d.rfind(absent, 0) == 0; }))
                << absent << "\nin:\n"
                << expected.source;
        }
    }
}

TEST(Mutator, AMutantKeepsEveryLineAndChangesOnlyItsPlace) {
    const std::string source = "int f(int* p) {\n    if (p == NULL) {\n        return -1;\n"
                               "    }\n    g(p,\n      1);\n    return 0;\n}\n";
    const auto mutants = mutator::mutantsOf(source);
    ASSERT_FALSE(mutants.empty());
    for (const mutator::Mutant& mutant : mutants) {
        const std::string text = mutator::apply(source, mutant);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8) << mutant.description;
        EXPECT_NE(text, source) << mutant.description;
        EXPECT_EQ(text.substr(0, mutant.edits[0].offset), source.substr(0, mutant.edits[0].offset));
    }
    const std::string dropped = "int f(int* p) {\n    if (p == NULL) {\n        return -1;\n"
                                "    }\n    ;\n\n    return 0;\n}\n";
    EXPECT_TRUE(std::any_of(mutants.begin(), mutants.end(), [&](const mutator::Mutant& m) {
        return mutator::apply(source, m) == dropped;
    }));
}

TEST(Mutator, TheSameSourceGivesTheSameMutants) {
    const std::string source = CASES[3].source;
    EXPECT_EQ(descriptionsOf(source), descriptionsOf(source));
}

} // namespace
