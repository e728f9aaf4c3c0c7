// The judge: every correct list's lines are the reference's, so each passes at any seed; a list
// that forges its lines on the judge's descriptor fails; the reference's trouble is the checker's.
#include "console.h"
#include "files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>

namespace {

namespace fs = std::filesystem;

const std::string JUDGE = std::string(BUILD_DIR) + "/check-list/listJudge";

console::Run judge(const std::string& runner, std::vector<std::string> options,
                   const std::string& reference = std::string(BUILD_DIR) +
                                                  "/check-list/referenceRunner") {
    std::vector<std::string> argv = {JUDGE,     "--runner",     runner, "--reference",
                                     reference, "--no-sandbox", "--"};
    argv.insert(argv.end(), options.begin(), options.end());
    return console::runProgram(argv, {}, "", std::chrono::minutes(2));
}

TEST(ListJudge, EveryCorrectListGivesTheReferencesLinesAtAnySeed) {
    for (const char* runner : {PROBERUNNER_SOUND_PATH, PROBERUNNER_CACHEDSOUND_PATH,
                               PROBERUNNER_RECURSIVESOUND_PATH, PROBERUNNER_FREELISTSOUND_PATH}) {
        for (const char* seed : {"1", "18446744073709551615"}) {
            const auto run = judge(runner, {"--extended", "--seed", seed});
            EXPECT_EQ(run.exitCode, 0) << runner << " seed " << seed << "\n" << run.output;
            EXPECT_NE(
                run.output.find(
                    "\n93 passed, 0 failed (the conformance cases and the extended checks)\n"),
                std::string::npos)
                << run.output;
        }
    }
}

// A case held up past its derived limit once, as a busy machine may hold it, is run again with
// the runner's own limit before it can fail, and passes.
TEST(ListJudge, ACaseThatRanOutOfTimeOnceIsRunAgainBeforeItFails) {
    console::TempDir dir;
    const fs::path slowed = dir / "slowed";
    setenv("PROBE_TEST_SLOWED", slowed.c_str(), 1);
    const auto run = judge(PROBERUNNER_SLOWONCE_PATH, {"--extended", "--seed", "1"});
    unsetenv("PROBE_TEST_SLOWED");
    ASSERT_TRUE(fs::exists(slowed));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(std::regex_search(
        run.output, std::regex("\nFAIL positionProbe positionProbeCase0[0-9] timed out "
                               "after [0-9.]+ s[\\s\\S]*\npositionProbeCase0[0-9] ran out of "
                               "time: run again with the runner's own limit, in case "
                               "the machine was busy\n")))
        << run.output;
    EXPECT_TRUE(run.output.ends_with(
        "\n93 passed, 0 failed (the conformance cases and the extended checks)\n"))
        << run.output;
}

TEST(ListJudge, ItsOwnTroubleIsTheCheckersNotTheLists) {
    const std::string reference = std::string(BUILD_DIR) + "/check-list/referenceRunner";
    const struct {
        std::vector<std::string> options;
        std::string runner;
        std::string reference;
        std::string says;
    } rows[] = {
        {{"--bogus"}, PROBERUNNER_SOUND_PATH, reference, "unknown option '--bogus'"},
        {{"--timeout", "0x10"}, PROBERUNNER_SOUND_PATH, reference, "0x10"},
        {{"--weights", "/nonexistent/weights"},
         PROBERUNNER_SOUND_PATH,
         reference,
         "/nonexistent/weights"},
        {{"--transcript", "3"},
         PROBERUNNER_SOUND_PATH,
         reference,
         "--transcript is the judge's own"},
        {{}, PROBERUNNER_SOUND_PATH, "/bin/false", "the reference run failed"},
        {{}, "/nonexistent/runner", reference, "cannot run /nonexistent/runner"},
        {{"--group", "extractProbe", "--json", "/nonexistent/r.json"},
         PROBERUNNER_SOUND_PATH,
         reference,
         "cannot write '/nonexistent/r.json'"},
    };
    for (const auto& row : rows) {
        const auto run = judge(row.runner, row.options, row.reference);
        EXPECT_EQ(run.exitCode, 2) << row.says << "\n" << run.output;
        EXPECT_NE(run.output.find(row.says), std::string::npos) << run.output;
    }
    // Where the judge works and where its lines go: a shell sets them up before it starts.
    const struct {
        std::string shell;
        std::string says;
    } settings[] = {
        {"TMPDIR=/nonexistent exec \"$@\"", "cannot make a temporary file in /nonexistent/"},
        {"exec \"$@\" >/dev/full", "cannot write the results"},
    };
    for (const auto& setting : settings) {
        const auto run = console::runProgram(
            {"/bin/sh", "-c", setting.shell, "sh", JUDGE, "--runner", PROBERUNNER_SOUND_PATH,
             "--reference", reference, "--no-sandbox", "--", "--group", "extractProbe"},
            {}, "", std::chrono::minutes(1));
        EXPECT_EQ(run.exitCode, 2) << setting.says << "\n" << run.output;
        EXPECT_NE(run.output.find(setting.says), std::string::npos) << run.output;
    }
}

// The judge's own command line: what it refuses is its trouble; what needs no list (the case list,
// the version) the reference answers.
TEST(ListJudge, ItsCommandLine) {
    const std::string runner = PROBERUNNER_SOUND_PATH;
    const struct {
        std::vector<std::string> argv;
        int status;
        std::string says;
    } rows[] = {
        {{"--bogus"}, 2, "unknown option '--bogus'"},
        {{"--no-sandbox", "--"}, 2, "name the list's runner"},
        {{"--runner", runner, "--"}, 2, "name the sandbox"},
        {{"--runner", runner, "--no-sandbox", "--", "--list"}, 0, "extractProbeCase02"},
        {{"--runner", runner, "--no-sandbox", "--", "--version"}, 0, "probeRunner "},
        {{"--runner", runner, "--no-sandbox", "--asan", "--", "--group", "extractProbe"},
         0,
         "\n5 passed, 0 failed (the conformance cases alone)\n"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> argv = {JUDGE};
        argv.insert(argv.end(), row.argv.begin(), row.argv.end());
        const auto run = console::runProgram(argv, {}, "", std::chrono::minutes(1));
        EXPECT_EQ(run.exitCode, row.status) << row.says << "\n" << run.output;
        EXPECT_NE(run.output.find(row.says), std::string::npos) << run.output;
    }
}

// The results files come from the judge's verdicts, weighed as the weights file says, and the
// model check's program is copied out of the run.
TEST(ListJudge, WritesTheResultsFilesFromItsOwnVerdicts) {
    const fs::path work = fs::path(WORK_DIR) / "files";
    fs::remove_all(work);
    fs::create_directories(work);
    console::writeFile(work / "weights", "extractProbe 2\n");
    const auto run =
        judge(PROBERUNNER_POPKEEPSLENGTH_PATH,
              {"--extended", "--group", "extractProbe", "--group", "modelProbe", "--weights",
               (work / "weights").string(), "--json", (work / "results.json").string(), "--junit",
               (work / "results.xml").string(), "--repro", (work / "repro.c").string()});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    const auto results = nlohmann::json::parse(console::readFile(work / "results.json"));
    for (const auto& test : results["tests"]) {
        const bool extract = test["name"].get<std::string>().starts_with("extractProbe");
        EXPECT_EQ(test["max_score"], extract ? 2 : 1) << test.dump();
    }
    EXPECT_EQ(results["tests"].back()["status"], "failed") << results.dump();
    EXPECT_NE(console::readFile(work / "results.xml").find("<failure message="), std::string::npos);
    EXPECT_NE(console::readFile(work / "repro.c").find("main("), std::string::npos);
}

// A list that fails supersetProbe, whose constructor writes lines on the judge's descriptor and
// then keeps the runner from writing its own.
std::string forger(const std::string& lines) {
    std::string literal;
    for (const char c : lines) {
        literal += c == '"' || c == '\\' ? std::string("\\") + c
                   : c == '\n'           ? "\\n"
                                         : std::string(1, c);
    }
    return "#define MISBEHAVE_lacksContainsAll\n" + console::readFile(MISBEHAVING_SOURCE) +
           "#include <fcntl.h>\n"
           "__attribute__((constructor)) static void forge(void) {\n"
           "    const char lines[] = \"" +
           literal +
           "\";\n"
           "    (void)!write(3, lines, sizeof lines - 1);\n"
           "    dup2(open(\"/dev/null\", O_WRONLY), 3);\n"
           "}\n";
}

TEST(ListJudge, LinesTheListWritesItselfDoNotPassIt) {
    if (console::SANITIZED_BUILD) {
        GTEST_SKIP() << "check-list builds the lists it checks unsanitised";
    }
    const fs::path work = fs::path(WORK_DIR);
    fs::remove_all(work);
    fs::create_directories(work / "claims");
    fs::create_directories(work / "replays");
    setenv("CHECK_LIST_BUILD_DIR", BUILD_DIR, 1);
    setenv("XDG_CACHE_HOME", (work / "cache").c_str(), 1);
    // Every case claimed passed, with values no run checked.
    std::string claims;
    for (const char* name : {"supersetProbeCase01", "supersetProbeCase02", "supersetProbeCase03",
                             "supersetProbeCase04"}) {
        claims += std::string("{\"case\":\"") + name +
                  "\",\"group\":\"supersetProbe\",\"ending\":\"passed\",\"checks\":1,"
                  "\"digest\":\"0\",\"seconds\":0,\"output\":\"\"}\n";
    }
    console::writeFile(work / "claims" / "list.c", forger(claims));
    const auto claimed = console::runProgram(
        {std::string(SOURCE_DIR) + "/tools/check-list.sh", (work / "claims" / "list.c").string(),
         "--", "--group", "supersetProbe", "--json", (work / "claims.json").string()},
        {}, "", std::chrono::minutes(2));
    EXPECT_EQ(claimed.exitCode, 1) << claimed.output;
    EXPECT_NE(claimed.output.find(
                  "\n0 passed, 4 failed (the conformance cases and the extended checks)\n"),
              std::string::npos)
        << claimed.output;
    const auto results = nlohmann::json::parse(console::readFile(work / "claims.json"));
    EXPECT_EQ(results["score"], 0) << results.dump();

    // A correct list's lines, recorded at one seed and replayed at another: the fixed cases pass,
    // as docs/security.md says they can, and the model check's answers do not.
    const auto recorded =
        console::runProgram({"/bin/sh", "-c",
                             std::string(BUILD_DIR) + "/check-list/referenceRunner --extended "
                                                      "--seed 1 --transcript 3 3>&1 >/dev/null"});
    console::writeFile(work / "replays" / "list.c", forger(recorded.output));
    const auto replayed = console::runProgram(
        {std::string(SOURCE_DIR) + "/tools/check-list.sh", (work / "replays" / "list.c").string(),
         "--", "--extended", "--seed", "2", "--json", (work / "replays.json").string()},
        {}, "", std::chrono::minutes(2));
    EXPECT_EQ(replayed.exitCode, 1) << replayed.output;
    const auto replays = nlohmann::json::parse(console::readFile(work / "replays.json"));
    for (const auto& test : replays["tests"]) {
        EXPECT_EQ(test["status"] == "passed", test["name"] != "modelProbeCase01") << test.dump();
    }
}

// A model replay that reads past an array under the sanitizers fails as that memory error, the
// report read whole, not as a list that never ends; the JSON holds the terminal's report.
TEST(ListJudge, AMemoryErrorInAModelReplayIsReportedAsSuchUnderTheSanitizers) {
    if (!fs::exists(fs::path(BUILD_DIR) / "check-list" / "libprobeSuiteRunner_asan.a")) {
        GTEST_SKIP() << "this build makes no sanitised suite";
    }
    // The cache beside the list's folder, not in it: its runners would be checked as the list's.
    const fs::path work = fs::path(WORK_DIR) / "pastArray";
    fs::remove_all(work);
    fs::create_directories(work / "list");
    setenv("CHECK_LIST_BUILD_DIR", BUILD_DIR, 1);
    setenv("XDG_CACHE_HOME", (work / "cache").c_str(), 1);
    console::writeFile(work / "list" / "list.c", "#define MISBEHAVE_readsPastArray\n" +
                                                     console::readFile(MISBEHAVING_SOURCE));
    const auto run =
        console::runProgram({std::string(SOURCE_DIR) + "/tools/check-list.sh", "--asan",
                             "--no-sandbox", (work / "list" / "list.c").string(), "--case",
                             "modelProbeCase01", "--json", (work / "results.json").string()});
    const std::string error = "ERROR: AddressSanitizer: heap-buffer-overflow";
    EXPECT_NE(run.output.find("FAIL modelProbe modelProbeCase01 " + error), std::string::npos)
        << run.output;
    const std::string output =
        nlohmann::json::parse(console::readFile(work / "results.json"))["tests"][0]["output"];
    EXPECT_TRUE(output.starts_with(error)) << output;
    EXPECT_NE(run.output.find(output.substr(output.find('\n'))), std::string::npos) << output;
}

} // namespace
