// The graders' JSON: its escaping read back by a JSON parser, the file a set of results makes,
// weighed by a weights file, and a runner over a list that lacks a function writing it.
#include "console.h"
#include "files.h"
#include "jsonReport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

// The runner built for a list records the list's folder; this test has none.
extern const char probeListFolder[] = "";

namespace {

using nlohmann::json;
using namespace std::string_literals;

void nothing() {}

// The cases this test weighs and reports, in place of the suite's.
constexpr ProbeCase CASES[] = {
    {"alphaProbe", "alphaProbeCase01", "", nothing, nothing, false},
    {"alphaProbe", "alphaProbeCase02", "", nothing, nothing, false},
    {"betaProbe", "betaProbeCase01", "", nothing, nothing, false},
};

TEST(EscapeJson, EveryByteReadsBackAsItsCharacterOrTheReplacementCharacter) {
    const std::pair<std::string, std::string> table[] = {
        {"plain text", "plain text"},
        {"quote \" backslash \\ slash /", "quote \" backslash \\ slash /"},
        {"line\r\nend\ttab", "line\r\nend\ttab"},
        {"nul \0 bell \x07 escape \x1b delete \x7f"s, "nul \0 bell \x07 escape \x1b delete \x7f"s},
        {"á ñ € 𝄞", "á ñ € 𝄞"},
        {"stray \xff, cut \xc3, overlong \xc0\xaf, surrogate \xed\xa0\x80",
         "stray \uFFFD, cut \uFFFD, overlong \uFFFD\uFFFD, surrogate \uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& [text, read] : table) {
        const std::string escaped = escapeJson(text);
        EXPECT_EQ(escaped.find_first_of("\n\r\t\0\x1b"s), std::string::npos) << escaped;
        EXPECT_EQ(json::parse("\"" + escaped + "\"").get<std::string>(), read) << escaped;
    }
}

class JsonFile : public testing::Test {
  protected:
    // Writes the results with the weights given as a file's text, and reads the file back.
    json write(const std::vector<Result>& results, const std::string& weightsText) {
        CaseWeights weights;
        if (!weightsText.empty()) {
            console::writeFile(dir_ / "weights", weightsText);
            EXPECT_TRUE(weights.read((dir_ / "weights").string()));
        }
        EXPECT_TRUE(writeJson((dir_ / "results.json").string(), results, 5, weights));
        return json::parse(console::readFile(dir_ / "results.json"));
    }

    console::TempDir dir_;
};

TEST_F(JsonFile, HoldsEveryCaseWithItsPointsAndTheFailuresReports) {
    Outcome failed;
    failed.ending = Ending::assertion;
    failed.file = "alpha.cpp";
    failed.line = 12;
    failed.report = "assert equals failed '0' != '1'\r\n";
    failed.out.kept = "debug \x01\xff\n";
    Outcome crashed;
    crashed.ending = Ending::signal;
    crashed.detail = 11;
    const json results =
        write({{&CASES[0], {}}, {&CASES[1], failed}, {&CASES[2], crashed}},
              "# the second case counts more\nalphaProbe 2\n\nalphaProbeCase02 3.5\n");
    ASSERT_TRUE(results.is_object());
    EXPECT_EQ(results["score"], 2);
    ASSERT_EQ(results["tests"].size(), 3u);
    const json expected[] = {
        {{"name", "alphaProbeCase01"}, {"status", "passed"}, {"score", 2}, {"max_score", 2}},
        {{"name", "alphaProbeCase02"}, {"status", "failed"}, {"score", 0}, {"max_score", 3.5}},
        {{"name", "betaProbeCase01"}, {"status", "failed"}, {"score", 0}, {"max_score", 1}},
    };
    for (size_t i = 0; i < 3; i++) {
        json entry = results["tests"][i];
        EXPECT_TRUE(entry["output"].is_string());
        EXPECT_EQ(entry["output"].get<std::string>().empty(), i == 0);
        entry.erase("output");
        EXPECT_EQ(entry, expected[i]);
    }
    const std::string output = results["tests"][1]["output"];
    EXPECT_TRUE(output.starts_with("alpha.cpp:12\n")) << output;
    EXPECT_NE(output.find("assert equals failed '0' != '1'\n"), std::string::npos) << output;
    EXPECT_NE(output.find("debug ??"), std::string::npos) << output;
    EXPECT_NE(results["tests"][2]["output"].get<std::string>().find("SIGSEGV"), std::string::npos);
}

TEST_F(JsonFile, AFailedWriteIsReportedAndNoResultsAreAnEmptyArray) {
    EXPECT_FALSE(writeJson("/dev/full", {{&CASES[0], {}}}, 5, CaseWeights()));
    EXPECT_FALSE(writeJson((dir_ / "no" / "folder.json").string(), {}, 5, CaseWeights()));
    EXPECT_EQ(write({}, ""), json({{"tests", json::array()}, {"score", 0}}));
}

TEST_F(JsonFile, AWeightsFileWithAWrongLineIsRefused) {
    const char* wrong[] = {
        "gammaProbe 1\n",             // no such group
        "alphaProbeCase07 1\n",       // no such case
        "Case01 1\n",                 // a case's number alone is no case
        "alphaProbe\n",               // no points
        "alphaProbe 1 2\n",           // a field too many
        "alphaProbe -1\n",            // below zero
        "alphaProbe 1e7\n",           // too many
        "alphaProbe nan\n",           // not a number
        "alphaProbe 2x\n",            // not a number either
        "betaProbe 1\nbetaProbe 2\n", // weighed twice
    };
    for (const char* text : wrong) {
        console::writeFile(dir_ / "weights", text);
        CaseWeights weights;
        EXPECT_FALSE(weights.read((dir_ / "weights").string())) << text;
    }
    CaseWeights none;
    EXPECT_FALSE(none.read((dir_ / "absent").string()));
    // A folder opens as a file does, and fails at its first read.
    EXPECT_FALSE(none.read(dir_.path().string()));
}

TEST(JsonRunner, AListLackingAFunctionScoresTheCasesThatPass) {
    const console::TempDir dir;
    console::writeFile(dir / "weights", "supersetProbe 10\n");
    const auto run = console::runProgram(
        {PROBERUNNER_LACKSCONTAINSALL_PATH, "--group", "supersetProbe", "--group", "countProbe",
         "--json", (dir / "r.json").string(), "--weights", (dir / "weights").string()});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    const json results = json::parse(console::readFile(dir / "r.json"));
    double score = 0;
    double most = 0;
    int failed = 0;
    for (const json& entry : results["tests"]) {
        score += entry["score"].get<double>();
        most += entry["max_score"].get<double>();
        if (entry["status"] == "failed") {
            failed++;
            EXPECT_NE(entry["output"].get<std::string>().find("ll_containsAll"), std::string::npos);
        }
    }
    EXPECT_EQ(results["score"].get<double>(), score);
    EXPECT_EQ(most, 10 * (results["tests"].size() - 3) + 3);
    EXPECT_GT(failed, 0);
    EXPECT_EQ(score, most - 10 * failed);

    const auto full = console::runProgram(
        {PROBERUNNER_LACKSCONTAINSALL_PATH, "--group", "countProbe", "--json", "/dev/full"});
    EXPECT_EQ(full.exitCode, 2);
    EXPECT_NE(full.output.find("/dev/full"), std::string::npos) << full.output;
}

} // namespace

std::span<const ProbeCase> probeCases() {
    return CASES;
}
