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

// What follows "FAIL group name " in a run's output: that line and the indented ones under it.
std::string failureText(const std::string& output, const std::string& probeCase) {
    const std::string group = probeCase.substr(0, probeCase.find("Case"));
    std::smatch found;
    const std::regex text("(?:^|\n)FAIL " + group + " " + probeCase + " (.*\n(  .*\n)*)");
    return std::regex_search(output, found, text) ? found[1].str() : "";
}

struct Blamed {
    const char* list;
    const char* probeCase;
    std::vector<std::string> says; // texts of the failure's lines, in this order
    bool addresses;                // whether an address may show: nothing names a node
};

class FailureReports : public testing::TestWithParam<Blamed> {};

TEST_P(FailureReports, NameTheFaultyCallAndTheCasesNames) {
    const Blamed& expected = GetParam();
    const auto run = runFaulty(expected.list, {"--extended", "--case", expected.probeCase});
    const std::string text = failureText(run.output, expected.probeCase);
    size_t at = 0;
    for (const std::string& line : expected.says) {
        at = text.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << "\n" << run.output;
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
               {"the wrong value came from ll_len(atEnd), which returned 1, and atEnd was made by "
                "ll_subList(list, 5, 5)"},
               false},
        Blamed{"subListOneTooMany",
               "subListProbeCase01",
               {"then ll_subList(list, 1, 4) returned sub, then ll_len(sub) returned 4 (twice)",
                "'4' came from ll_len(sub), and sub was made by ll_subList(list, 1, 4)"},
               false},
        // Elements by the fixture's names, in the calls and in the assertion's line.
        Blamed{"getBelowZeroGivesFirst",
               "readProbeCase01",
               {"ll_get(list, -1) returned employee 0 (twice)",
                "the list's answer is 'employee 0', where the case expected NULL",
                "[readProbeCase01] assert null failed. Value: 'employee 0' "},
               false},
        // A row far down a long table still names its call, not the disposal after it.
        Blamed{"countNotClamped",
               "surroundProbeCase04",
               {"the wrong value came from ll_count(results, f), which returned -2147483648"},
               false},
        // A callback by the name the case's report gives it.
        Blamed{"mapSkipsLast", "mapProbeCase01", {"then ll_map(list, f) returned 0\n"}, false},
        // Nodes have no names: their addresses stay.
        Blamed{"subListSharesNodes",
               "subListProbeCase04",
               {"came from test_getNode(sub, 0), and sub was made by ll_subList(list, 0, 5)"},
               true}),
    [](const auto& info) { return std::string(info.param.list) + "_" + info.param.probeCase; });

TEST(FailureReports, TheTerminalAndTheJsonCarryTheSameText) {
    console::TempDir dir;
    const auto json = (dir / "results.json").string();
    const auto run =
        runFaulty("subListOneTooMany", {"--extended", "--group", "subListProbe", "--json", json});
    int failed = 0;
    const auto results = nlohmann::json::parse(console::readFile(json));
    for (const auto& test : results["tests"]) {
        failed += test["status"] == "failed";
        const std::string name = test["name"];
        EXPECT_EQ(test["output"].get<std::string>(), failureText(run.output, name)) << name;
    }
    EXPECT_GT(failed, 0) << run.output;
}

} // namespace
