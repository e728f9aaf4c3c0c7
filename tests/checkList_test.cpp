// tools/check-list.sh end to end: a list of one's own checked in one command from any folder,
// rebuilt only when it changed, its build failures and a LinkedList.h of its own that lays the
// records out otherwise refused with status 2. The script builds a tree of its own, whatever
// this test was built with: the sanitised and coverage builds skip it, as it would only do the
// same work again.
#include "console.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__) || defined(COVERAGE_BUILD)
constexpr bool kSkipped = true;
#else
constexpr bool kSkipped = false;
#endif

// A folder of the build tree for each fixture, kept from run to run, so that the script's cache
// there is too.
class CheckList : public testing::Test {
  protected:
    explicit CheckList(const std::string& name) : work_(fs::path(WORK_DIR) / name) {}

    void SetUp() override {
        if (kSkipped) {
            GTEST_SKIP() << "the script's builds do not depend on this build's flavour";
        }
        fs::create_directories(work_ / "elsewhere");
        setenv("XDG_CACHE_HOME", (work_ / "cache").c_str(), 1);
        setenv("CMAKE_BUILD_PARALLEL_LEVEL", "2", 1);
    }

    // Runs the script from the folder elsewhere/, beside the list's folder.
    console::Run check(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), std::string(SOURCE_DIR) + "/tools/check-list.sh");
        return console::runProgram(arguments, work_ / "elsewhere", "", std::chrono::minutes(10));
    }

    // The list of tests/runner/misbehavingList.c, with the misbehaviour defined when one is given,
    // in a folder whose name a regular expression would misread.
    void writeList(const std::string& misbehaviour, const std::string& more = "") {
        const std::string define =
            misbehaviour.empty() ? "" : "#define MISBEHAVE_" + misbehaviour + "\n";
        console::writeFile(work_ / "c++" / "list.c",
                           define + console::readFile(MISBEHAVING_SOURCE) + more);
    }

    // When the script last built a runner (its cache holds one build per set of sources and mode,
    // and may still hold those of lists an earlier version of this test checked).
    fs::file_time_type builtAt() {
        auto latest = fs::file_time_type::min();
        for (const auto& entry : fs::directory_iterator(work_ / "cache" / "probeRunner")) {
            if (fs::exists(entry.path() / "bin" / "probeRunner")) {
                latest = std::max(latest, fs::last_write_time(entry.path() / "bin" / "probeRunner"));
            }
        }
        return latest;
    }

    const fs::path work_;
};

class CheckListPlain : public CheckList {
  public:
    CheckListPlain() : CheckList("plain") {}
};

class CheckListAsan : public CheckList {
  public:
    CheckListAsan() : CheckList("asan") {}
};

TEST_F(CheckListPlain, BuildsOnceRebuildsOnChangeAndRefusesWhatCannotRun) {
    fs::create_directories(work_ / "c++");
    fs::remove(work_ / "c++" / "LinkedList.h");
    writeList("lacksContainsAll");
    const auto missing = check({"../c++/list.c"});
    EXPECT_EQ(missing.exitCode, 1) << missing.output;
    EXPECT_NE(missing.output.find("FAIL supersetProbe supersetProbeCase02 `ll_containsAll` is "
                                  "not implemented\n"),
              std::string::npos)
        << missing.output;
    EXPECT_TRUE(missing.output.ends_with("\n29 passed, 4 failed\n")) << missing.output;

    // Nothing changed: the runner is not built again; the options after -- reach it.
    const auto builtFirst = builtAt();
    const auto again = check({"../c++/list.c", "--", "--group", "countProbe"});
    EXPECT_EQ(again.exitCode, 0) << again.output;
    EXPECT_EQ(again.output, "PASS countProbe countProbeCase01\nPASS countProbe countProbeCase02\n"
                            "PASS countProbe countProbeCase03\n3 passed, 0 failed\n");
    EXPECT_EQ(builtAt(), builtFirst);

    // A changed source is built again; a warning in it is shown and does not stop the build.
    writeList("", "static int unused(void) { return 0; }\n");
    const auto sound = check({"../c++/list.c"});
    EXPECT_EQ(sound.exitCode, 0) << sound.output;
    EXPECT_NE(builtAt(), builtFirst);
    EXPECT_TRUE(
        std::regex_search(sound.output, std::regex("list\\.c:[0-9]+:[0-9]+: warning: "
                                                   ".{1,3}unused.{1,3} defined but not used")))
        << sound.output;
    EXPECT_TRUE(sound.output.ends_with("\n33 passed, 0 failed\n")) << sound.output;

    // A source that does not compile: the compiler's message first, then the script's line.
    writeList("", "int broken(void) { return }\n");
    const auto broken = check({"../c++/list.c"});
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_TRUE(broken.output.starts_with((work_ / "c++" / "list.c").string() + ":"))
        << broken.output;
    EXPECT_TRUE(std::regex_search(broken.output,
                                  std::regex("list\\.c:[0-9]+:[0-9]+: error: expected expression")))
        << broken.output;
    EXPECT_NE(broken.output.find("\ncheck-list.sh: the list does not build (the whole log: "),
              std::string::npos)
        << broken.output;

    // A header of its own beside the list: accepted where it begins as inc/LinkedList.h does.
    writeList("");
    std::string header = console::readFile(std::string(SOURCE_DIR) + "/inc/LinkedList.h");
    console::writeFile(work_ / "c++" / "LinkedList.h", header);
    EXPECT_EQ(check({"../c++/list.c", "--", "--group", "countProbe"}).exitCode, 0);
    const std::string renamed =
        std::regex_replace(header, std::regex("struct Node\\* pNextNode;"), "struct Node* next;");
    console::writeFile(work_ / "c++" / "LinkedList.h", renamed);
    const auto refused = check({"../c++/list.c"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.output.find((work_ / "c++" / "LinkedList.h").string() +
                                  " lays out the list differently from inc/LinkedList.h, which "
                                  "the cases are built with: it differs at the second field of "
                                  "`Node`, `struct Node* pNextNode`."),
              std::string::npos)
        << refused.output;
    EXPECT_EQ(refused.output.find("PASS"), std::string::npos) << refused.output;
    const std::string longSize =
        std::regex_replace(header, std::regex("    int size;"), "    long size;");
    console::writeFile(work_ / "c++" / "LinkedList.h", longSize);
    EXPECT_NE(check({"../c++/list.c"})
                  .output.find("it differs at the second field of `LinkedList`, `int size`."),
              std::string::npos);
    fs::remove(work_ / "c++" / "LinkedList.h");
}

TEST_F(CheckListAsan, AUseAfterFreeFailsItsCaseWithTheSanitizersReport) {
    fs::create_directories(work_ / "c++");
    writeList("useAfterFree");
    const auto run = check({"--asan", "../c++/list.c", "--", "--group", "extractProbe"});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(std::regex_search(
        run.output, std::regex("\nFAIL extractProbe extractProbeCase02 ERROR: AddressSanitizer: "
                               "heap-use-after-free on address 0x[0-9a-f]+ .* in "
                               "ll_pop\\(list, 0\\)\n")))
        << run.output;
    EXPECT_TRUE(run.output.ends_with("\n2 passed, 3 failed\n")) << run.output;
}

TEST(CheckListUsage, RefusesNoSourceAndAMissingOne) {
    const std::string script = std::string(SOURCE_DIR) + "/tools/check-list.sh";
    const auto none = console::runProgram({script});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(none.output, "check-list.sh: name the list's source files\n"
                           "Usage: check-list.sh [--asan] SOURCE... [-- RUNNER_OPTION...]\n");
    const auto absent = console::runProgram({script, "no/such/list.c"});
    EXPECT_EQ(absent.exitCode, 2);
    EXPECT_EQ(absent.output, "check-list.sh: no list source 'no/such/list.c'\n");
}

} // namespace
