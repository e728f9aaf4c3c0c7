// tools/check-list.sh end to end, against this build tree's suite: a list of one's own checked in
// one command from any folder, built again only when it or a file it includes changed, its build
// failures (status 3) and a LinkedList.h of its own that lays the records out otherwise (4)
// refused; nothing outside the list's folder reachable from its build; the cache it keeps pruned
// and shared safely; and a build tree without the suite given one. The sanitised and coverage
// builds skip it: their suite is instrumented as a user's is not.
#include "console.h"
#include "files.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace {

namespace fs = std::filesystem;

// A folder of the build tree for each test, which may run beside the others; its cache starts
// empty, while a build tree of its own is kept from run to run.
class CheckList : public testing::Test {
  protected:
    CheckList()
        : work_(fs::path(WORK_DIR) /
                testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    void SetUp() override {
        if (console::SANITIZED_BUILD) {
            GTEST_SKIP() << "the script's builds do not depend on this build's flavour";
        }
        fs::remove_all(work_ / "cache");
        fs::create_directories(work_ / "elsewhere");
        // A header that a run stopped midway left beside the list would be built with it.
        fs::remove(work_ / "c++" / "LinkedList.h");
        setenv("XDG_CACHE_HOME", (work_ / "cache").c_str(), 1);
        setenv("CHECK_LIST_BUILD_DIR", BUILD_DIR, 1);
        setenv("CMAKE_BUILD_PARALLEL_LEVEL", "2", 1);
        unsetenv("CHECK_LIST_CACHE_ENTRIES");
    }

    // Runs the script from the folder elsewhere/, beside the list's folder.
    console::Run check(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), std::string(SOURCE_DIR) + "/tools/check-list.sh");
        return console::runProgram(arguments, work_ / "elsewhere", "", std::chrono::minutes(10));
    }

    // The list of tests/lists/misbehavingList.c, with the misbehaviour defined when one is given,
    // in a folder whose name a regular expression would misread.
    void writeList(const std::string& misbehaviour, const std::string& more = "") {
        const std::string define =
            misbehaviour.empty() ? "" : "#define MISBEHAVE_" + misbehaviour + "\n";
        fs::create_directories(work_ / "c++");
        console::writeFile(work_ / "c++" / "list.c",
                           define + console::readFile(MISBEHAVING_SOURCE) + more);
    }

    fs::path cache() const {
        return work_ / "cache" / "check-list";
    }

    // When the script last built a runner.
    fs::file_time_type builtAt() {
        auto latest = fs::file_time_type::min();
        for (const auto& name : console::namesIn(cache())) {
            if (fs::exists(cache() / name / "probeRunner")) {
                latest = std::max(latest, fs::last_write_time(cache() / name / "probeRunner"));
            }
        }
        return latest;
    }

    const fs::path work_;
};

TEST_F(CheckList, BuildsOnceAndHandsTheOptionsAfterTwoDashesToTheRunner) {
    writeList("lacksContainsAll");
    const auto missing = check({"../c++/list.c", "--basic"});
    EXPECT_EQ(missing.exitCode, 1) << missing.output;
    EXPECT_NE(missing.output.find("FAIL supersetProbe supersetProbeCase02 `ll_containsAll` is "
                                  "not implemented\n"),
              std::string::npos)
        << missing.output;
    EXPECT_TRUE(missing.output.ends_with("\n29 passed, 4 failed (the conformance cases alone)\n"))
        << missing.output;

    // Nothing changed: the runner is not built again; the options after -- reach it.
    const auto builtFirst = builtAt();
    const auto again = check({"../c++/list.c", "--", "--group", "countProbe"});
    EXPECT_EQ(again.exitCode, 0) << again.output;
    EXPECT_EQ(again.output, "PASS countProbe countProbeCase01\nPASS countProbe countProbeCase02\n"
                            "PASS countProbe countProbeCase03\n3 passed, 0 failed (the conformance "
                            "cases and the extended checks)\n");
    EXPECT_EQ(builtAt(), builtFirst);
}

// The extended checks run unless --basic asks for the 33 alone, and they count the heap: a list
// whose ll_remove forgets its node passes the 33 and fails the default check. The runner's
// options need no -- before them.
TEST_F(CheckList, RunsTheExtendedChecksUnlessAskedForTheBasicCases) {
    writeList("removeLeaks");
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string ending;
        std::string says = "PASS countProbe countProbeCase";
    } rows[] = {
        {{"../c++/list.c"},
         1,
         "failed (the conformance cases and the extended checks)\n",
         "the list leaked 1 block"},
        {{"--basic", "../c++/list.c"}, 0, "\n33 passed, 0 failed (the conformance cases alone)\n"},
        {{"--group", "countProbe", "../c++/list.c", "--basic"},
         0,
         "\n3 passed, 0 failed (the conformance cases alone)\n"},
        {{"--group=countProbe", "../c++/list.c", "--", "--case", "Case02"},
         0,
         "PASS countProbe countProbeCase02\n1 passed, 0 failed (the conformance cases and the "
         "extended checks)\n"},
    };
    for (const auto& row : rows) {
        const auto run = check(row.arguments);
        EXPECT_EQ(run.exitCode, row.status) << row.arguments[0] << "\n" << run.output;
        EXPECT_TRUE(run.output.ends_with(row.ending)) << row.arguments[0] << "\n" << run.output;
        EXPECT_NE(run.output.find(row.says), std::string::npos) << run.output;
    }
}

// The checker's own words follow the locale; the case reports are the same in every language,
// but for the addresses the list's heap happened to have.
TEST_F(CheckList, TheCheckersWordsFollowTheLocaleAndTheCaseReportsDoNot) {
    writeList("lacksContainsAll");
    setenv("TEXTDOMAINDIR", BUILD_DIR "/share/locale", 1);
    setenv("LANG", "C.UTF-8", 1);
    const struct {
        const char* language;
        std::string summary;
        std::string refusal;
    } rows[] = {
        {"en", "29 passed, 4 failed (the conformance cases alone)\n",
         "check-list.sh: unknown option '--bogus'\nUsage: "},
        {"es", "29 correctos, 4 fallidos (solo los casos de conformidad)\n",
         "check-list.sh: opción desconocida «--bogus»\nUso: "},
    };
    std::vector<std::string> reports;
    for (const auto& row : rows) {
        setenv("LANGUAGE", row.language, 1);
        const auto run = check({"../c++/list.c", "--basic"});
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_TRUE(run.output.ends_with("\n" + row.summary)) << run.output;
        reports.push_back(
            std::regex_replace(run.output.substr(0, run.output.size() - row.summary.size()),
                               std::regex("0x[0-9a-f]+"), "0x"));
        EXPECT_TRUE(check({"--bogus"}).output.starts_with(row.refusal)) << row.language;
    }
    unsetenv("LANGUAGE");
    EXPECT_EQ(reports[0], reports[1]);
    EXPECT_NE(reports[0].find("FAIL supersetProbe supersetProbeCase02"), std::string::npos);
}

// A changed source is built again; a warning in it is shown and does not stop the build.
TEST_F(CheckList, RebuildsAChangedSourceShowingItsWarnings) {
    writeList("lacksContainsAll");
    EXPECT_EQ(check({"../c++/list.c", "--basic"}).exitCode, 1);
    const auto builtFirst = builtAt();
    writeList("", "static int unused(void) { return 0; }\n");
    const auto sound = check({"../c++/list.c", "--basic"});
    EXPECT_EQ(sound.exitCode, 0) << sound.output;
    EXPECT_NE(builtAt(), builtFirst);
    EXPECT_TRUE(
        std::regex_search(sound.output, std::regex("list\\.c:[0-9]+:[0-9]+: warning: "
                                                   ".{1,3}unused.{1,3} defined but not used")))
        << sound.output;
    EXPECT_TRUE(sound.output.ends_with("\n33 passed, 0 failed (the conformance cases alone)\n"))
        << sound.output;
}

// A source that does not compile: the compiler's message first, then the script's line.
TEST_F(CheckList, RefusesASourceThatDoesNotCompileAfterTheCompilersMessage) {
    writeList("", "int broken(void) { return }\n");
    const auto broken = check({"../c++/list.c"});
    EXPECT_EQ(broken.exitCode, 3);
    EXPECT_TRUE(broken.output.starts_with("list.c:")) << broken.output;
    EXPECT_TRUE(std::regex_search(broken.output,
                                  std::regex("list\\.c:[0-9]+:[0-9]+: error: expected expression")))
        << broken.output;
    EXPECT_NE(broken.output.find("\ncheck-list.sh: the list does not build (the whole log: "),
              std::string::npos)
        << broken.output;
}

// A header of its own beside the list: accepted where it begins as inc/LinkedList.h does,
// refused, naming the first field that differs, where it lays the records out otherwise.
TEST_F(CheckList, RefusesAHeaderOfItsOwnThatLaysTheListOutOtherwise) {
    writeList("");
    std::string header = console::readFile(std::string(SOURCE_DIR) + "/inc/LinkedList.h");
    console::writeFile(work_ / "c++" / "LinkedList.h", header);
    EXPECT_EQ(check({"../c++/list.c", "--", "--group", "countProbe"}).exitCode, 0);
    const std::string renamed =
        std::regex_replace(header, std::regex("struct Node\\* pNextNode;"), "struct Node* next;");
    console::writeFile(work_ / "c++" / "LinkedList.h", renamed);
    const auto refused = check({"../c++/list.c"});
    EXPECT_EQ(refused.exitCode, 4);
    EXPECT_NE(
        refused.output.find("LinkedList.h lays out the list differently from " +
                            (fs::canonical(SOURCE_DIR) / "inc" / "LinkedList.h").string() +
                            ", which the cases are built with: it differs at the second field of "
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

// The runner's own messages reach the caller, from a runner just built or found in the cache.
TEST_F(CheckList, TheRunnersMessagesReachTheCaller) {
    writeList("");
    for (int run = 0; run < 2; ++run) {
        const auto refused = check({"../c++/list.c", "--", "--bogus"});
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_NE(refused.output.find("unknown option '--bogus'"), std::string::npos)
            << refused.output;
    }
}

// Nothing outside the list's folder reaches its build: an include or a source that leads out of it
// is a missing file, status 3, and what it leads to never shows.
TEST_F(CheckList, NothingOutsideTheListsFolderReachesItsBuild) {
    fs::create_directories(work_ / "classmate");
    console::writeFile(work_ / "classmate" / "list.c",
                       "#error CLASSMATES_SECRET\n" + console::readFile(MISBEHAVING_SOURCE));
    struct Escape {
        std::string name;
        std::string include; // appended to the list, or empty for a source that is a link
    };
    for (const Escape& escape :
         std::vector<Escape>{{"relative include", "#include \"../classmate/list.c\"\n"},
                             {"absolute include",
                              "#include \"" + (work_ / "classmate" / "list.c").string() + "\"\n"},
                             {"linked source", ""}}) {
        fs::remove_all(work_ / "escape");
        fs::create_directories(work_ / "escape");
        if (escape.include.empty()) {
            fs::create_symlink(work_ / "classmate" / "list.c", work_ / "escape" / "list.c");
        } else {
            console::writeFile(work_ / "escape" / "list.c",
                               console::readFile(MISBEHAVING_SOURCE) + escape.include);
        }
        const auto run = check({"../escape/list.c"});
        EXPECT_EQ(run.exitCode, 3) << escape.name << "\n" << run.output;
        EXPECT_EQ(run.output.find("CLASSMATES_SECRET"), std::string::npos) << escape.name;
    }
}

// What the compiler reads from the list's folder without naming it as included still counts.
TEST_F(CheckList, AnIncbinFileAndANewlyPresentHeaderRebuild) {
    writeList("", "__asm__(\".section .rodata\\n.incbin \\\"blob.bin\\\"\\n.previous\");\n"
                  "#if __has_include(\"extra.h\")\n#include \"extra.h\"\n#endif\n");
    const std::vector<std::string> count{"../c++/list.c", "--", "--group", "countProbe"};
    console::writeFile(work_ / "c++" / "blob.bin", "one");
    EXPECT_EQ(check(count).exitCode, 0);
    auto before = builtAt();
    console::writeFile(work_ / "c++" / "blob.bin", "two");
    EXPECT_EQ(check(count).exitCode, 0);
    EXPECT_GT(builtAt(), before);
    console::writeFile(work_ / "c++" / "extra.h", "#error extra.h is read\n");
    const auto run = check(count);
    fs::remove(work_ / "c++" / "extra.h");
    EXPECT_EQ(run.exitCode, 3) << run.output;
}

// The cache is the account's alone whatever the umask, and without a home the run's alone.
TEST_F(CheckList, TheCacheIsPrivate) {
    writeList("");
    const std::string script = std::string(SOURCE_DIR) + "/tools/check-list.sh";
    const auto open = console::runProgram(
        {"/bin/bash", "-c", "umask 000 && \"$0\" ../c++/list.c -- --group countProbe", script},
        work_ / "elsewhere", "", std::chrono::minutes(10));
    EXPECT_EQ(open.exitCode, 0) << open.output;
    EXPECT_EQ(fs::status(cache()).permissions(), fs::perms::owner_all);

    fs::remove_all(work_ / "tmp");
    fs::create_directories(work_ / "tmp");
    const auto homeless = console::runProgram({"/usr/bin/env", "-u", "HOME", "-u", "XDG_CACHE_HOME",
                                               "TMPDIR=" + (work_ / "tmp").string(), script,
                                               "../c++/list.c", "--", "--group", "countProbe"},
                                              work_ / "elsewhere", "", std::chrono::minutes(10));
    EXPECT_EQ(homeless.exitCode, 0) << homeless.output;
    EXPECT_TRUE(fs::is_empty(work_ / "tmp"));
}

// What is the grader's and not a list's, checked before a class starts: each fault is status 2.
TEST_F(CheckList, CheckSetupRefusesTheGradersFaults) {
    fs::create_directories(work_ / "noSandbox");
    console::writeFile(work_ / "noSandbox" / "bwrap", "#!/bin/sh\necho cannot >&2\nexit 1\n");
    fs::permissions(work_ / "noSandbox" / "bwrap", fs::perms::owner_all);
    const std::string script = std::string(SOURCE_DIR) + "/tools/check-list.sh";
    const std::string path = "PATH=" + (work_ / "noSandbox").string() + ":" + getenv("PATH");
    struct Setup {
        std::vector<std::string> command;
        int status;
    };
    for (const Setup& setup :
         std::vector<Setup>{{{script, "--check-setup"}, 0},
                            {{script, "--check-setup", "--", "--bogus"}, 2},
                            {{script, "--check-setup", "--", "--weights", "no/such/weights"}, 2},
                            {{"/usr/bin/env", "TMPDIR=relative", script, "--check-setup"}, 2},
                            {{"/usr/bin/env", path, script, "--check-setup"}, 2},
                            {{"/usr/bin/env", path, script, "--check-setup", "--no-sandbox"}, 0}}) {
        const auto run = console::runProgram(setup.command, work_ / "elsewhere");
        EXPECT_EQ(run.exitCode, setup.status)
            << testing::PrintToString(setup.command) << run.output;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), setup.status ? 1 : 0)
            << run.output;
    }
}

// A sound list in a folder of its own, the function variant() making it differ from others;
// its path from elsewhere/.
class CheckListCache : public CheckList {
  protected:
    std::string writeVariant(int variant) {
        const std::string folder = "variant" + std::to_string(variant);
        fs::create_directories(work_ / folder);
        console::writeFile(work_ / folder / "list.c", console::readFile(MISBEHAVING_SOURCE) +
                                                          "int variant(void) { return " +
                                                          std::to_string(variant) + "; }\n");
        return "../" + folder + "/list.c";
    }
};

TEST_F(CheckListCache, AHeaderTheListIncludesCountsAsMuchAsTheList) {
    fs::create_directories(work_ / "included");
    console::writeFile(work_ / "included" / "list.c",
                       "#include \"choice.h\"\n" + console::readFile(MISBEHAVING_SOURCE));
    const std::vector<std::string> superset{"../included/list.c", "--", "--group", "supersetProbe"};
    console::writeFile(work_ / "included" / "choice.h", "#define MISBEHAVE_lacksContainsAll\n");
    EXPECT_EQ(check(superset).exitCode, 1);
    console::writeFile(work_ / "included" / "choice.h", "\n");
    EXPECT_EQ(check(superset).exitCode, 0);
    console::writeFile(work_ / "included" / "choice.h", "#define MISBEHAVE_lacksContainsAll\n");
    EXPECT_EQ(check(superset).exitCode, 1);
}

TEST_F(CheckListCache, KeepsTheNewestRunnersAndWhatRunsUnderWay) {
    setenv("CHECK_LIST_CACHE_ENTRIES", "2", 1);
    fs::create_directories(cache() / "tmp.killed");
    fs::last_write_time(cache() / "tmp.killed",
                        fs::file_time_type::clock::now() - std::chrono::hours(2));
    fs::create_directories(cache() / "tmp.underWay");
    const auto first = writeVariant(1);
    for (int variant = 1; variant <= 3; ++variant) {
        const auto run = check({writeVariant(variant), "--", "--group", "countProbe"});
        EXPECT_EQ(run.exitCode, 0) << run.output;
    }
    auto names = console::namesIn(cache());
    EXPECT_EQ(names.size(), 3u) << testing::PrintToString(names);
    EXPECT_NE(std::find(names.begin(), names.end(), "tmp.underWay"), names.end());

    // The oldest runner went: its list is built again, and another goes.
    const auto before = builtAt();
    EXPECT_EQ(check({first, "--", "--group", "countProbe"}).exitCode, 0);
    EXPECT_GT(builtAt(), before);
    EXPECT_EQ(console::namesIn(cache()).size(), 3u);
    fs::remove(cache() / "tmp.underWay");

    setenv("CHECK_LIST_CACHE_ENTRIES", "none", 1);
    const auto refused = check({first});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.output.find("PASS"), std::string::npos) << refused.output;
}

// Two runs that build the same new list at once: each gets its verdict, one runner is kept. The
// list is sound for the conformance cases only, hence --basic here and below.
TEST_F(CheckListCache, RunsAtTheSameTimeShareOneRunner) {
    const auto list = writeVariant(4);
    const auto both = console::runProgram(
        {"/bin/bash", "-c",
         "\"$0\" --basic \"$1\" >/dev/null & \"$0\" --basic \"$1\" >/dev/null; second=$?; "
         "wait $!; "
         "echo $? $second",
         std::string(SOURCE_DIR) + "/tools/check-list.sh", list},
        work_ / "elsewhere", "", std::chrono::minutes(10));
    EXPECT_EQ(both.output, "0 0\n");
    EXPECT_EQ(console::namesIn(cache()).size(), 1u);
}

// Runs that evict while others run: a runner in use is never removed under it.
TEST_F(CheckListCache, EvictionSparesTheRunnersInUse) {
    setenv("CHECK_LIST_CACHE_ENTRIES", "1", 1);
    std::vector<std::string> command{"/bin/bash", "-c",
                                     "for list; do \"$0\" --basic \"$list\" >/dev/null 2>&1 & "
                                     "runs+=($!); done; "
                                     "for run in \"${runs[@]}\"; do wait $run; echo $?; done",
                                     std::string(SOURCE_DIR) + "/tools/check-list.sh"};
    for (int variant = 11; variant <= 16; ++variant) {
        command.push_back(writeVariant(variant));
    }
    const auto runs =
        console::runProgram(command, work_ / "elsewhere", "", std::chrono::minutes(10));
    EXPECT_EQ(runs.output, "0\n0\n0\n0\n0\n0\n");
}

// A build tree without the suite: the script sets it up and builds this mode's libraries there.
TEST_F(CheckList, ABuildTreeWithoutTheSuiteIsSetUpAndGivenIt) {
    const fs::path tree = work_ / "build";
    setenv("CHECK_LIST_BUILD_DIR", tree.c_str(), 1);
    fs::remove(tree / "check-list" / "libprobeSuiteRunner.a");
    writeList("");
    const auto run = check({"../c++/list.c", "--", "--group", "countProbe"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(
        run.output.find("check-list.sh: building the suite's libraries in " + tree.string() + "\n"),
        std::string::npos)
        << run.output;
    EXPECT_TRUE(run.output.ends_with(
        "\n3 passed, 0 failed (the conformance cases and the extended checks)\n"))
        << run.output;
    EXPECT_FALSE(fs::exists(tree / "check-list" / "libprobeSuiteCases_asan.a"));
}

TEST_F(CheckList, AUseAfterFreeFailsItsCaseWithTheSanitizersReport) {
    if (!fs::exists(fs::path(BUILD_DIR) / "check-list" / "libprobeSuiteRunner_asan.a")) {
        GTEST_SKIP() << "this build makes no sanitised suite";
    }
    writeList("useAfterFree");
    const auto run = check({"--asan", "../c++/list.c", "--", "--group", "extractProbe"});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(std::regex_search(
        run.output, std::regex("\nFAIL extractProbe extractProbeCase02 ERROR: AddressSanitizer: "
                               "heap-use-after-free on address 0x[0-9a-f]+ .* in "
                               "ll_pop\\(list, 0\\)\n")))
        << run.output;
    EXPECT_TRUE(run.output.ends_with(
        "\n2 passed, 3 failed (the conformance cases and the extended checks)\n"))
        << run.output;
}

// A list that brings a main() of its own would run instead of the runner and say what it likes:
// it does not build, and the one line says where that main is, not what the linker saw.
TEST_F(CheckList, AListWithAMainOfItsOwnDoesNotBuild) {
    writeList("", "\nint main(void) { return 0; }\n");
    const std::string source = console::readFile(MISBEHAVING_SOURCE);
    const auto lines = std::count(source.begin(), source.end(), '\n');
    const auto run = check({"../c++/list.c"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.output, "list.c:" + std::to_string(lines + 2) +
                              ": the list defines main(), and the runner the cases run in has its "
                              "own: leave main out of the list, or name only the list's sources\n");
}

// Installed, the script finds the suite beside its own folder, wherever the library folder is,
// with no source tree: here a copy of this tree's suite and of the script, as an install lays
// them out.
TEST_F(CheckList, InstalledFindsItsSuiteBesideItsOwnFolder) {
    writeList("lacksContainsAll");
    for (const std::string libdir : {"lib", "lib64", "lib/x86_64-linux-gnu"}) {
        const fs::path prefix = work_ / "prefix" / fs::path(libdir).filename();
        fs::remove_all(prefix);
        fs::create_directories(prefix / "bin");
        fs::create_directories(prefix / libdir);
        fs::copy(fs::path(BUILD_DIR) / "check-list", prefix / libdir / "registro_personal",
                 fs::copy_options::recursive);
        fs::copy(fs::path(SOURCE_DIR) / "tools" / "check-list.sh", prefix / "bin" / "check-list");
        setenv("CHECK_LIST_BUILD_DIR", (work_ / "no build").c_str(), 1);
        const auto run = console::runProgram({(prefix / "bin" / "check-list").string(),
                                              "../c++/list.c", "--", "--group", "supersetProbe"},
                                             work_ / "elsewhere", "", std::chrono::minutes(10));
        EXPECT_EQ(run.exitCode, 1) << libdir << "\n" << run.output;
        EXPECT_TRUE(run.output.ends_with(
            "\n0 passed, 4 failed (the conformance cases and the extended checks)\n"))
            << libdir << "\n"
            << run.output;
        EXPECT_FALSE(fs::exists(work_ / "no build")) << libdir;
        EXPECT_TRUE(console::runProgram({(prefix / "bin" / "check-list").string()})
                        .output.find("Usage: check-list [OPTION]... SOURCE...") !=
                    std::string::npos);
    }
}

TEST(CheckListUsage, RefusesNoSourceAndAMissingOne) {
    const std::string script = std::string(SOURCE_DIR) + "/tools/check-list.sh";
    const auto none = console::runProgram({script});
    EXPECT_EQ(none.exitCode, 2);
    const std::string help = console::runProgram({script, "--help"}).output;
    EXPECT_EQ(none.output, "check-list.sh: name the list's source files\n" + help);
    EXPECT_TRUE(help.ends_with("on its\nown.\n")) << help;
    const auto absent = console::runProgram({script, "no/such/list.c"});
    EXPECT_EQ(absent.exitCode, 2);
    EXPECT_EQ(absent.output, "check-list.sh: no list source 'no/such/list.c'\n");
}

} // namespace
