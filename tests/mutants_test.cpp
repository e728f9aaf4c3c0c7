// probeRunner built against lists with one known fault each (tests/mutants/faultyList.c): each
// fault is caught first by the case meant for it, with that case's exact report; a crash or a hang
// fails its case alone and the run goes on. Prints the kill matrix.
#include "console.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <regex>
#include <sstream>

namespace {

constexpr int kCases = 33;
const std::string kBanner = "Setup...\r\n";

const std::vector<std::string> kGroups = {"appendProbe",   "fetchProbe",  "extractProbe",
                                          "sliceProbe",    "memberProbe", "supersetProbe",
                                          "positionProbe", "countProbe",  "disposeProbe"};

const std::vector<std::string> kFaults = {
    "getNodePastSize",   "insertAtZeroAppends",  "nullNotCounted",     "popReturnsNode",
    "popKeepsLength",    "subListCopiesRecords", "subListPastLength",  "containsNull",
    "containsAllAlways", "lenCountsNodes",       "deleteAnswersError", "indexOfMissesNull",
    "crashOnNullList",   "endlessLoop"};

// A fault caught by an assertion: the first case to fail, the assertion that fails as its source
// line reads, and its report block, with every pointer value shown as 0x?.
struct CaughtFault {
    std::string fault;
    std::string group;
    std::string probeCase;
    std::string assertion;
    std::string report;
};

const std::vector<CaughtFault> kCaught = {
    {"getNodePastSize", "fetchProbe", "fetchProbeCase04",
     "utest_assertNullMsg(nodoAux, kPastSizeMsg);",
     "assert null failed. Value: '0x?' \r\n\nError en el valor de retorno de <getNode> al "
     "solicitar un elemento fuera de indice (>= a ll_len),\n se deberia retornar NULL\n\r\n"},
    {"insertAtZeroAppends", "appendProbe", "appendProbeCase05",
     "utest_assertEqualsPointerMsg(nodoAux->pElement, other, kFrontMsg);",
     "assert equals failed '0x?' != '0x?'\r\nEl puntero al employee agregado en la pos 0 no "
     "corresponde\n\r\n"},
    {"nullNotCounted", "appendProbe", "appendProbeCase01",
     "utest_assertEqualsIntMsg(1, list->size, kSizeMsg);",
     "assert equals failed '1' != '0'\r\n\nError en el valor de size de la lista se debe "
     "incrementar al agregar nodos\n\r\n"},
    {"popReturnsNode", "extractProbe", "extractProbeCase02",
     "utest_assertEqualsPointerMsg(pElement2, pElement, kFirstPoppedMsg);",
     "assert equals failed '0x?' != '0x?'\r\n\nError en el valor de retorno de <pop> al "
     "solicitar el primer elemento\n\r\n"},
    {"popKeepsLength", "extractProbe", "extractProbeCase02",
     "utest_assertEqualsIntMsg(ll_len(list), 0, kLengthMsg);",
     "assert equals failed '1' != '0'\r\n\nError en el len() de la lista luego de quitar un "
     "elemento\r\n"},
    {"subListCopiesRecords", "sliceProbe", "sliceProbeCase02",
     "utest_assertEqualsPointerMsg(ll_get(pSubList, i), ll_get(list, i), kSameElementsMsg);",
     "assert equals failed '0x?' != '0x?'\r\nError: la sub lista no contiene los elementos "
     "solicitados\r\n"},
    {"subListPastLength", "sliceProbe", "sliceProbeCase03",
     "utest_assertNullMsg(pSubList, kToPastMsg);",
     "assert null failed. Value: '0x?' \r\n\nError en el valor de retorno de <subList> el to "
     "esta fuera de indice (> len()),\n se deberia retornar NULL\n\r\n"},
    {"containsNull", "memberProbe", "memberProbeCase01",
     "utest_assertEqualsIntMsg(r, 0, kEmptyMsg);",
     "assert equals failed '1' != '0'\r\n\nError en el valor de retorno de <contains> si los "
     "parametros son correctos\n debe retornar 0 o 1\n\r\n"},
    {"containsAllAlways", "supersetProbe", "supersetProbeCase02",
     "utest_assertEqualsIntMsg(r, 0, kNotAllHeldMsg);",
     "assert equals failed '1' != '0'\r\nError en el valor de retorno <containsAll> si la lista2 "
     "no esta contenida se debe retornar 0\r\n"},
    {"lenCountsNodes", "countProbe", "countProbeCase01",
     "utest_assertEqualsIntMsg(r, 5, kSizeFieldMsg);",
     "assert equals failed '0' != '5'\r\n\nError en el valor de retorno de <len> si los "
     "parametros son correctos\n la funcion retorna la cantidad de elementos de la lista\n\r\n"},
    {"deleteAnswersError", "disposeProbe", "disposeProbeCase01",
     "utest_assertEqualsIntMsg(r, 0, kDisposedMsg);",
     "assert equals failed '-1' != '0'\r\n\nError en el valor de retorno de <deleteLinkedList> "
     "si los parametros son correctos es 0\n\r\n"},
    {"indexOfMissesNull", "positionProbe", "positionProbeCase01",
     "utest_assertEqualsIntMsg(r, 0, kFoundMsg);",
     "assert equals failed '-1' != '0'\r\n\nError en el valor de retorno de <indexOf> si los "
     "parametros son correctos y \nel elemento esta contenido se debe retornar la posicion del "
     "elemento\n\r\n"},
};

// Names the parameter of a test by its fault.
void PrintTo(const CaughtFault& caught, std::ostream* out) {
    *out << caught.fault;
}

// Runs the runner built against the list with the given fault ("sound" for none).
console::Run runFaulty(const std::string& fault, std::vector<std::string> arguments) {
    // A crash must reach the runner as its signal, also in the sanitised build. The cases keep
    // their lists on purpose: leak checking would fail a run in one process.
    static const char* const inherited = getenv("ASAN_OPTIONS");
    std::string asan = std::string(inherited != nullptr ? inherited : "") + ":handle_segv=0";
    if (std::find(arguments.begin(), arguments.end(), "--no-fork") != arguments.end()) {
        asan += ":detect_leaks=0";
    }
    setenv("ASAN_OPTIONS", asan.c_str(), 1);
    arguments.insert(arguments.begin(), std::string(MUTANTS_DIR) + "/probeRunner_" + fault);
    return console::runProgram(arguments);
}

struct Failure {
    std::string group;
    std::string probeCase;
    std::string why;
};

// The FAIL lines of a plain run, in order.
std::vector<Failure> failuresIn(const std::string& output) {
    std::vector<Failure> failures;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::smatch match;
        if (std::regex_match(line, match, std::regex("FAIL (\\w+) (\\w+) (.*)"))) {
            failures.push_back({match[1], match[2], match[3]});
        }
    }
    return failures;
}

// The count of PASS and FAIL lines, which must add up to every case.
int caseLines(const std::string& output) {
    int count = 0;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        count += line.starts_with("PASS ") || line.starts_with("FAIL ");
    }
    return count;
}

// The report of a run of every group in which no assertion failed.
std::string nineBanners() {
    std::string banners;
    for (int i = 0; i < 9; i++) {
        banners += kBanner;
    }
    return banners;
}

std::string hidePointers(const std::string& text) {
    return std::regex_replace(text, std::regex("0x[0-9a-f]+"), "0x?");
}

// Line `number` of a case group's source without its indentation, when it lies inside the
// function of the case; empty otherwise.
std::string lineInCase(const std::string& file, const std::string& probeCase, int number) {
    std::istringstream lines(console::readFile(std::string(PROBE_SOURCES_DIR) + "/" + file));
    std::string line;
    bool inCase = false;
    for (int i = 1; std::getline(lines, line); i++) {
        if (line == "void " + probeCase + "() {") {
            inCase = true;
        } else if (line == "}") {
            inCase = false;
        }
        if (i == number) {
            return inCase ? line.erase(0, line.find_first_not_of(' ')) : "";
        }
    }
    return "";
}

TEST(FaultyLists, TheSoundOneInCPassesEveryCase) {
    const auto run = runFaulty("sound", {});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(caseLines(run.output), kCases);
    EXPECT_TRUE(run.output.ends_with(nineBanners() + "33 passed, 0 failed\n")) << run.output;
}

class CaughtByAssertion : public testing::TestWithParam<CaughtFault> {};

TEST_P(CaughtByAssertion, FirstFailsItsCaseWithTheExactReport) {
    const CaughtFault& expected = GetParam();
    const auto run = runFaulty(expected.fault, {});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(caseLines(run.output), kCases);
    const auto failures = failuresIn(run.output);
    ASSERT_FALSE(failures.empty()) << run.output;
    EXPECT_EQ(failures[0].group, expected.group);
    EXPECT_EQ(failures[0].probeCase, expected.probeCase);

    // The failing assertion's place: the group's source by its base name, and the line of the
    // assertion meant to catch the fault, inside the case.
    std::smatch place;
    ASSERT_TRUE(std::regex_match(failures[0].why, place, std::regex("(\\w+\\.cpp):(\\d+)")))
        << failures[0].why;
    EXPECT_EQ(place[1], expected.group + ".cpp");
    EXPECT_EQ(lineInCase(place[1], expected.probeCase, std::stoi(place[2])), expected.assertion);

    // Run alone, the case leaves its group's banner and then its block in the report.
    const auto alone = runFaulty(expected.fault, {"--case", expected.probeCase});
    EXPECT_EQ(alone.exitCode, 1);
    const std::string head = "FAIL " + expected.group + " " + expected.probeCase + " " +
                             failures[0].why + "\n" + kBanner;
    const std::string tail = "0 passed, 1 failed\n";
    ASSERT_TRUE(alone.output.starts_with(head) && alone.output.ends_with(tail)) << alone.output;
    const std::string block =
        alone.output.substr(head.size(), alone.output.size() - head.size() - tail.size());
    EXPECT_EQ(hidePointers(block), expected.report);
}

INSTANTIATE_TEST_SUITE_P(FaultyLists, CaughtByAssertion, testing::ValuesIn(kCaught),
                         [](const auto& info) { return info.param.fault; });

TEST(FaultyLists, ACrashFailsItsCaseByItsSignalAndTheRunGoesOn) {
    const auto run = runFaulty("crashOnNullList", {});
    EXPECT_EQ(run.exitCode, 1);
    const auto failures = failuresIn(run.output);
    ASSERT_EQ(failures.size(), 1u) << run.output;
    EXPECT_EQ(failures[0].probeCase, "appendProbeCase04");
    EXPECT_EQ(failures[0].why, "crashed: signal 11 (SIGSEGV, Segmentation fault)");
    EXPECT_NE(run.output.find("PASS appendProbe appendProbeCase05\n"), std::string::npos);
    EXPECT_TRUE(run.output.ends_with("PASS disposeProbe disposeProbeCase02\n" + nineBanners() +
                                     "32 passed, 1 failed\n"))
        << run.output;
}

TEST(FaultyLists, AHangFailsItsCaseAtTheTimeoutAndTheRunGoesOn) {
    const auto run = runFaulty("endlessLoop", {"--timeout", "0.3"});
    EXPECT_EQ(run.exitCode, 1);
    const auto failures = failuresIn(run.output);
    ASSERT_EQ(failures.size(), 1u) << run.output;
    EXPECT_EQ(failures[0].probeCase, "positionProbeCase01");
    EXPECT_EQ(failures[0].why, "timed out after 0.3 s");
    EXPECT_NE(run.output.find("PASS countProbe countProbeCase01\n"), std::string::npos);
    EXPECT_TRUE(run.output.ends_with("32 passed, 1 failed\n")) << run.output;
}

TEST(FaultyLists, WithoutForkACrashStillLeavesTheLinesPrintedBeforeIt) {
    const auto plain = runFaulty("crashOnNullList", {"--no-fork"});
    EXPECT_EQ(plain.signal, SIGSEGV);
    EXPECT_EQ(plain.output,
              "PASS appendProbe appendProbeCase01\nPASS appendProbe appendProbeCase02\n"
              "PASS appendProbe appendProbeCase03\n");
    const auto tap = runFaulty("crashOnNullList", {"--no-fork", "--tap", "--case", "Case04"});
    EXPECT_EQ(tap.signal, SIGSEGV);
    EXPECT_EQ(tap.output, "TAP version 13\n1..5\n");
}

// In one process the cases share the assertion flag: a failed case must not fail the next ones.
TEST(FaultyLists, WithoutForkAFailureDoesNotSpillIntoTheNextCases) {
    const auto run = runFaulty("popKeepsLength", {"--no-fork", "--group", "extractProbe"});
    EXPECT_EQ(run.exitCode, 1);
    const auto failures = failuresIn(run.output);
    ASSERT_EQ(failures.size(), 2u) << run.output;
    EXPECT_EQ(failures[0].probeCase, "extractProbeCase02");
    EXPECT_EQ(failures[1].probeCase, "extractProbeCase03");
    EXPECT_TRUE(run.output.starts_with("PASS extractProbe extractProbeCase01\n")) << run.output;
    EXPECT_NE(run.output.find("PASS extractProbe extractProbeCase04\n"
                              "PASS extractProbe extractProbeCase05\n"),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(run.output.ends_with("3 passed, 2 failed\n")) << run.output;
    EXPECT_EQ(run.output, runFaulty("popKeepsLength", {"--group", "extractProbe"}).output);
}

TEST(FaultyLists, TapShowsTheFailureAndItsReportAsComments) {
    const auto plain = runFaulty("nullNotCounted", {"--case", "appendProbeCase01"});
    const auto failures = failuresIn(plain.output);
    ASSERT_EQ(failures.size(), 1u);
    const auto run = runFaulty("nullNotCounted", {"--tap", "--group", "appendProbe"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.starts_with(
        "TAP version 13\n1..5\nnot ok 1 - appendProbe appendProbeCase01\n# " + failures[0].why +
        "\n# assert equals failed '1' != '0'\n#\n# Error en el valor de size de la lista se "
        "debe incrementar al agregar nodos\n#\nok 2 - appendProbe appendProbeCase02\n"))
        << run.output;
    EXPECT_TRUE(run.output.ends_with("# 4 passed, 1 failed\n")) << run.output;
}

TEST(FaultyLists, JunitEscapesTheReportAndNamesACrash) {
    console::TempDir dir;
    const auto caught = runFaulty("deleteAnswersError", {"--group", "disposeProbe", "--junit",
                                                         (dir / "caught.xml").string()});
    EXPECT_EQ(caught.exitCode, 1);
    const std::string xml = console::readFile(dir / "caught.xml");
    EXPECT_NE(xml.find("<testsuite name=\"disposeProbe\" tests=\"2\" failures=\"1\""),
              std::string::npos);
    EXPECT_NE(xml.find("type=\"assertion\">assert equals failed '-1' != '0'&#13;\n\nError en el "
                       "valor de retorno de &lt;deleteLinkedList&gt; si los parametros son "
                       "correctos es 0\n&#13;\n</failure>"),
              std::string::npos)
        << xml;

    const auto crashed = runFaulty("crashOnNullList", {"--case", "appendProbeCase04", "--junit",
                                                       (dir / "crashed.xml").string()});
    EXPECT_EQ(crashed.exitCode, 1);
    EXPECT_NE(console::readFile(dir / "crashed.xml")
                  .find("<failure message=\"crashed: signal 11 (SIGSEGV, Segmentation fault)\" "
                        "type=\"crash\"></failure>"),
              std::string::npos);
}

// Prints which cases each faulty list fails, by case number under each group, and checks that
// every fault is caught while every case still reports.
TEST(FaultyLists, KillMatrix) {
    std::string matrix = "Kill matrix: the cases that fail against each faulty list\n";
    auto endRow = [&matrix] {
        matrix.erase(matrix.find_last_not_of(' ') + 1);
        matrix += "\n";
    };
    char cell[32];
    snprintf(cell, sizeof cell, "%-21s", "fault");
    matrix += cell;
    for (const std::string& group : kGroups) {
        snprintf(cell, sizeof cell, " %-9s", group.substr(0, group.size() - 5).c_str());
        matrix += cell;
    }
    endRow();
    for (const std::string& fault : kFaults) {
        const auto run = runFaulty(fault, {"--timeout", "0.3"});
        EXPECT_EQ(caseLines(run.output), kCases) << fault;
        const auto failures = failuresIn(run.output);
        EXPECT_FALSE(failures.empty()) << fault << " goes unnoticed";
        snprintf(cell, sizeof cell, "%-21s", fault.c_str());
        matrix += cell;
        for (const std::string& group : kGroups) {
            std::string numbers;
            for (const Failure& failure : failures) {
                if (failure.group == group) {
                    numbers += (numbers.empty() ? "" : ",") +
                               failure.probeCase.substr(failure.probeCase.size() - 2);
                }
            }
            snprintf(cell, sizeof cell, " %-9s", numbers.empty() ? "." : numbers.c_str());
            matrix += cell;
        }
        endRow();
    }
    std::cout << matrix;
}

} // namespace
