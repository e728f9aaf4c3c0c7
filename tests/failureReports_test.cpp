// What a failed case's report says of faulty lists: the call that gave the wrong value and the
// call that made the list it came from, by the names the case knows lists and elements by; and
// the same text on the terminal as in the JSON results.
#include "faultyRuns.h"
#include "files.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>

using namespace faulty;

namespace {

// What follows "FAIL group name " in a run's output, up to the next case's line or the summary.
std::string failureText(const std::string& output, const std::string& probeCase) {
    const std::string failLine =
        "FAIL " + probeCase.substr(0, probeCase.find("Case")) + " " + probeCase + " ";
    const size_t start = output.find(failLine);
    if (start == std::string::npos) {
        return "";
    }
    const size_t from = start + failLine.size();
    size_t end = from;
    while ((end = output.find('\n', end)) != std::string::npos && end + 1 < output.size() &&
           output.compare(end + 1, 2, "  ") == 0) {
        end++;
    }
    return output.substr(from, end == std::string::npos ? std::string::npos : end + 1 - from);
}

struct Blamed {
    const char* list;
    const char* probeCase;
    std::vector<std::string> says; // texts of the failure's lines, in this order
    bool addresses;                // whether an address may show: nothing names a node
};

void PrintTo(const Blamed& blamed, std::ostream* out) {
    *out << blamed.list << " " << blamed.probeCase;
}

class FailureReports : public testing::TestWithParam<Blamed> {};

TEST_P(FailureReports, NameTheFaultyCallAndTheCasesNames) {
    const Blamed& expected = GetParam();
    const auto run = runFaulty(expected.list, {"--extended", "--case", expected.probeCase});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    const std::string text = failureText(run.output, expected.probeCase);
    size_t at = 0;
    for (const std::string& line : expected.says) {
        const size_t found = text.find(line, at);
        EXPECT_NE(found, std::string::npos) << line << "\n" << text;
        at = found == std::string::npos ? at : found;
    }
    EXPECT_EQ(std::regex_search(text, std::regex("0x[0-9a-f]{5,}")), expected.addresses) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Faulty, FailureReports,
    testing::Values(
        // A table row's wrong length: the row's own call, not the table's last, and the
        // sub-list's maker, by the case's name for the sub-list.
        Blamed{"subListOneTooMany",
               "resultProbeCase05",
               {"the wrong value came from ll_len(none), which returned 1, and none was made by "
                "ll_subList(list, 5, 5)"},
               false},
        // A sub-list read after it was made: the value's call and the sub-list's maker.
        Blamed{"subListOneTooMany",
               "subListProbeCase01",
               {"after ll_add(list, employee 3) returned 0, then ll_add(list, employee 4) returned "
                "0, then ll_subList(list, 1, 4) returned sub, then ll_len(sub) returned 4 (twice)",
                "the list's answer is '4', the expected value '3'",
                "'4' came from ll_len(sub), and sub was made by ll_subList(list, 1, 4)"},
               false},
        // Elements by the fixture's names, in the calls and in the assertion's line.
        Blamed{"getBelowZeroGivesFirst",
               "readProbeCase01",
               {"the list's answer is 'employee 0', where the case expected NULL",
                "[readProbeCase01] assert null failed. Value: 'employee 0' "},
               false},
        // Nodes have no names: their addresses stay, and the sub-list is still named.
        Blamed{"subListSharesNodes",
               "subListProbeCase04",
               {"the list's answer is '0x",
                "came from test_getNode(sub, 0), and sub was made by ll_subList(list, 0, 5)"},
               true}),
    [](const auto& info) { return std::string(info.param.list) + "_" + info.param.probeCase; });

// The terminal's text of a failure is the JSON results' "output", byte for byte.
TEST(FailureReports, TheTerminalAndTheJsonCarryTheSameText) {
    console::TempDir dir;
    const auto json = (dir / "results.json").string();
    const auto run =
        runFaulty("subListOneTooMany", {"--extended", "--group", "subListProbe", "--json", json});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    const auto results = nlohmann::json::parse(console::readFile(json));
    int failed = 0;
    for (const auto& test : results["tests"]) {
        if (test["status"] == "failed") {
            failed++;
            const std::string name = test["name"];
            EXPECT_EQ(test["output"].get<std::string>(), failureText(run.output, name)) << name;
        }
    }
    EXPECT_GT(failed, 0) << run.output;
}

} // namespace
