// A class with hostile submissions beside two sound ones, graded twice with the real check-list at
// a terminal: each hostile list attacks the grader from a constructor
// (tests/lists/hostileAttacks.c) or at compile time, with the paths of this machine's class, cache,
// suite and working folders written into it. The sound lists must pass both times, every hostile
// one fail or not build, and nothing a hostile list aimed at may change or show up in what the
// grader wrote.
#include "console.h"
#include "files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace {

namespace fs = std::filesystem;

// Every regular file under folder with its content, to tell whether anything changed.
std::map<fs::path, std::string> contents(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[entry.path()] = console::readFile(entry.path());
        }
    }
    return files;
}

// The misbehaving list without its ll_containsAll, so that it fails, with one attack switched on.
std::string hostile(const std::string& attack, const std::map<std::string, fs::path>& places) {
    std::string source = "#define MISBEHAVE_lacksContainsAll\n#define HOSTILE_" + attack + "\n";
    for (const auto& [name, path] : places) {
        source += "#define " + name + " \"" + path.string() + "\"\n";
    }
    return source + console::readFile(MISBEHAVING_SOURCE) + console::readFile(ATTACKS_SOURCE);
}

TEST(HostileClass, SoundListsPassAndNothingOfTheAttacksLands) {
    if (console::SANITIZED_BUILD) {
        GTEST_SKIP() << "the script's builds do not depend on this build's flavour";
    }
    const fs::path work = WORK_DIR;
    fs::remove_all(work);
    const fs::path submissions = work / "class";
    const fs::path cache = work / "cache";
    const fs::path temporary = work / "tmp";
    const fs::path suite = fs::path(BUILD_DIR) / "check-list";
    fs::create_directories(temporary);
    console::writeFile(work / "secret.h", "secret-marker-9d2e\n");
    const std::map<std::string, fs::path> places = {{"CLASS_DIR", submissions},
                                                    {"CACHE_DIR", cache},
                                                    {"SUITE_DIR", suite},
                                                    {"WORK_DIR", temporary}};

    const std::map<std::string, std::string> sound = {
        {"alice", "/* alice-marker-51c3 */\n" + console::readFile(MISBEHAVING_SOURCE)},
        {"bob", console::readFile(std::string(SOURCE_DIR) + "/tests/lists/recursiveList.c")},
    };
    std::map<std::string, std::string> lists = sound;
    for (const char* attack : {"forger", "neighbourWriter", "neighbourReader", "cachePoisoner",
                               "suiteTamperer", "permissionSaboteur", "terminalWriter"}) {
        lists[attack] = hostile(attack, places);
    }
    lists["includesClassmate"] = "#include \"../alice/list.c\"\n";
    lists["includesSecret"] = "#include \"" + (work / "secret.h").string() + "\"\n";
    for (const auto& [name, source] : lists) {
        fs::create_directories(submissions / name);
        console::writeFile(submissions / name / "list.c", source);
    }
    const auto classBefore = contents(submissions);
    const auto suiteBefore = contents(suite);

    setenv("CHECK_LIST_BUILD_DIR", BUILD_DIR, 1);
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    setenv("TMPDIR", temporary.c_str(), 1);
    setenv("CHECK_CLASS", CHECKCLASS_PATH, 1);
    console::Typing typing;
    typing.endOfInputAfter = false;
    typing.timeout = std::chrono::minutes(20);
    for (int run = 1; run <= 2; run++) {
        SCOPED_TRACE("run " + std::to_string(run));
        const fs::path csv = work / ("class" + std::to_string(run) + ".csv");
        const fs::path page = work / ("class" + std::to_string(run) + ".html");
        const auto graded = console::runProgramAtTerminal(
            {std::string(SOURCE_DIR) + "/tools/check-list.sh", "--class", submissions.string(),
             "--jobs", "2", "--csv", csv.string(), "--html", page.string(), "--", "--group",
             "supersetProbe", "--group", "extractProbe", "--seed", "7"},
            typing, work);
        EXPECT_EQ(graded.exitCode, 0) << graded.output;
        const std::string rows = console::readFile(csv);
        for (const auto& [name, source] : lists) {
            const std::string verdict = sound.count(name) != 0           ? ",passed,"
                                        : name.rfind("includes", 0) == 0 ? ",build-error,"
                                                                         : ",failed,";
            EXPECT_NE(rows.find("\n" + name + verdict), std::string::npos) << name << "\n" << rows;
        }
        for (const std::string& written : {graded.output, rows, console::readFile(page)}) {
            EXPECT_EQ(written.find("alice-marker-51c3"), std::string::npos) << written;
            EXPECT_EQ(written.find("secret-marker-9d2e"), std::string::npos) << written;
            EXPECT_EQ(written.find("mallory"), std::string::npos) << written;
        }
        EXPECT_EQ(contents(submissions), classBefore);
        EXPECT_EQ(contents(suite), suiteBefore);
    }
}

} // namespace
