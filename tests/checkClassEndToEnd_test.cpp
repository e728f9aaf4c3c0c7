// tools/check-list.sh --class end to end: a class of six lists, each built and checked by the real
// check-list (correct, crashing, not building, another layout, hanging with a process left
// behind, missing a function), read from the CSV. The class and the script's cache stay in the
// build tree, so that a second run builds nothing again. The sanitised and coverage builds skip
// it, as check-list builds trees of its own.
#include "console.h"
#include "files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace {

namespace fs = std::filesystem;

// The list of tests/lists/misbehavingList.c with the misbehaviour defined when one is given.
std::string list(const std::string& misbehaviour, const std::string& more = "") {
    const std::string define =
        misbehaviour.empty() ? "" : "#define MISBEHAVE_" + misbehaviour + "\n";
    return define + console::readFile(MISBEHAVING_SOURCE) + more;
}

TEST(CheckClassEndToEnd, ChecksSixListsWithTheRealCheckList) {
    if (console::SANITIZED_BUILD) {
        GTEST_SKIP() << "the script's builds do not depend on this build's flavour";
    }
    const fs::path work = WORK_DIR;
    const fs::path submissions = work / "class";
    const std::pair<std::string, std::string> lists[] = {
        {"correct", list("")},
        {"crashing", list("crashesInPop")},
        {"notBuilding", list("", "int broken(void) { return }\n")},
        {"otherLayout", list("")},
        {"hanging", list("hangs")},
        {"lacking", list("lacksContainsAll")},
    };
    for (const auto& [name, source] : lists) {
        fs::create_directories(submissions / name);
        console::writeFile(submissions / name / "list.c", source);
    }
    const std::string header = console::readFile(std::string(SOURCE_DIR) + "/inc/LinkedList.h");
    console::writeFile(
        submissions / "otherLayout" / "LinkedList.h",
        std::regex_replace(header, std::regex("struct Node\\* pNextNode;"), "struct Node* next;"));
    setenv("XDG_CACHE_HOME", (work / "cache").c_str(), 1);
    setenv("CMAKE_BUILD_PARALLEL_LEVEL", "1", 1);
    setenv("CHECK_CLASS", CHECKCLASS_PATH, 1);
    const auto run = console::runProgram(
        {std::string(SOURCE_DIR) + "/tools/check-list.sh", "--class", submissions.string(),
         "--jobs", "2", "--csv", (work / "class.csv").string(), "--", "--group", "supersetProbe",
         "--group", "extractProbe", "--group", "positionProbe", "--timeout", "1"},
        work, "", std::chrono::minutes(25));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string csv = console::readFile(work / "class.csv");
    const std::string rows[] = {
        "correct,passed,",
        "crashing,failed,",
        "hanging,failed,",
        "lacking,failed,",
        "notBuilding,build-error,0,0,0,,0,list.c:",
        "otherLayout,layout-error,0,0,0,,0,",
    };
    size_t at = 0;
    for (const std::string& row : rows) {
        at = csv.find("\n" + row, at);
        EXPECT_NE(at, std::string::npos) << row << " in\n" << csv;
    }
    EXPECT_TRUE(std::regex_search(csv, std::regex("\nlacking,failed,[0-9]+,[1-9][0-9]*,[0-9]+,"
                                                  "(supersetProbeCase[0-9]+ ?)+,[0-9.]+,\n")))
        << csv;
    EXPECT_TRUE(
        std::regex_search(run.output, std::regex("notBuilding: build-error: list\\.c:[0-9]+")))
        << run.output;
}

} // namespace
