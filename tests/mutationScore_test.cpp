// tools/mutation-score.sh end to end, with a checker of its own (tests/mutation/clampCheck.sh)
// so that the test does not build the suite: its survivors by file and line, the score line, the
// exit status, and the mutants it must not count.
#include "console.h"
#include "files.h"

#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace {

struct Score {
    std::vector<std::string> lines;
    int mutants = -1, killed = -1, survived = -1;
    int exitCode = -1;
};

Score score(const std::string& source) {
    setenv("CHECK_LIST", MUTATION_DIR "/clampCheck.sh", 1);
    setenv("MUTATE", MUTATE_PATH, 1);
    const console::Run run = console::runProgram({SOURCE_DIR "/tools/mutation-score.sh", source},
                                                 {}, "", std::chrono::minutes(2));
    Score out;
    out.exitCode = run.exitCode;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        out.lines.push_back(line);
    }
    std::smatch last;
    const std::regex SCORE("mutants: (\\d+), killed: (\\d+), survived: (\\d+)");
    if (!out.lines.empty() && std::regex_match(out.lines.back(), last, SCORE)) {
        out.mutants = std::stoi(last[1]);
        out.killed = std::stoi(last[2]);
        out.survived = std::stoi(last[3]);
    }
    return out;
}

bool listed(const Score& s, const std::string& prefix) {
    for (const std::string& line : s.lines) {
        if (line.rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

TEST(MutationScore, ListsTheSurvivorsAndScoresTheRest) {
    const std::string source = MUTATION_DIR "/clamp.c";
    const Score s = score(source);
    ASSERT_GT(s.mutants, 0) << s.lines.size();
    EXPECT_EQ(s.mutants, s.killed + s.survived);
    // The last return is never reached by clamp(5, 3): changing it goes unnoticed. (Dropping it,
    // which would run off the function's end, is no mutant.)
    EXPECT_TRUE(listed(s, source + ":7: return value:"));
    EXPECT_FALSE(listed(s, source + ":7: return dropped:"));
    // The first return is the answer: changing it is caught.
    EXPECT_FALSE(listed(s, source + ":5:"));
    EXPECT_GE(s.killed, 2);
    EXPECT_EQ(s.survived + 2, static_cast<int>(s.lines.size()));
    EXPECT_EQ(s.exitCode, 1);
}

TEST(MutationScore, CountsNoMutantThatDoesNotCompileOrChangesNothing) {
    console::TempDir dir;
    // Swapping lower's arguments hands a struct where an int goes, which C refuses, and swapping
    // at's an int where a pointer goes, which the tool counts as an error too; lower's `>` made
    // `>=` compiles to the very same code as the source (both take the smaller), and the line an
    // #if leaves out gets no mutant at all.
    const std::string source = "struct Pair {\n"
                               "    int low;\n"
                               "};\n"
                               "static int lower(struct Pair pair, int limit) {\n"
                               "    return pair.low > limit ? limit : pair.low;\n"
                               "}\n"
                               "static int at(const int* value, int limit) {\n"
                               "    return limit + *value - *value;\n"
                               "}\n"
                               "int clamp(int value, int limit) {\n"
                               "#if 0\n"
                               "    value = value + 1;\n"
                               "#endif\n"
                               "    struct Pair pair = {value};\n"
                               "    return lower(pair, at(&value, limit));\n"
                               "}\n";
    console::writeFile(dir / "clamp.c", source);
    const Score s = score((dir / "clamp.c").string());
    ASSERT_GE(s.lines.size(), 2u);
    std::smatch counts;
    const std::string& line = s.lines[s.lines.size() - 2];
    ASSERT_TRUE(std::regex_match(
        line, counts,
        std::regex("not counted: (\\d+) do not compile, (\\d+) compile to the same code .*")))
        << line;
    EXPECT_EQ(std::stoi(counts[1]), 2);
    EXPECT_GE(std::stoi(counts[2]), 1);
    EXPECT_FALSE(listed(s, (dir / "clamp.c").string() + ":12:"));
    EXPECT_EQ(s.mutants, s.killed + s.survived);
}

TEST(MutationScore, RefusesAMissingSourceWithStatus2) {
    const Score s = score("/nonexistent/list.c");
    EXPECT_EQ(s.exitCode, 2);
    EXPECT_EQ(s.mutants, -1);
}

} // namespace
