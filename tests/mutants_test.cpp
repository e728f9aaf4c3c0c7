// probeRunner built against faulty lists (tests/lists/): the table tests/lists/faults.md says
// which faults the 33 conformance cases catch and which the extended checks catch, and every sound
// list passes everything. The assertion faults are first caught by the case meant for them, with
// that case's exact report; a crash or a hang fails its case alone; the model check's report is a
// program that replays the failure. Reports are read from the JUnit file, which holds each
// failing case's report block as it is.
#include "console.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <regex>
#include <sstream>

extern char** environ;

namespace {

// The number of cases of each kind, from the runner's own list.
constexpr int kConformance = 0
#define CONFORMANCE_CASE(group, number, description) +1
#define EXTENDED_CASE(group, number, description)
#include "probeCases.h"
#undef CONFORMANCE_CASE
#undef EXTENDED_CASE
    ;
constexpr int kEveryCase = 0
#define CONFORMANCE_CASE(group, number, description) +1
#define EXTENDED_CASE(group, number, description) +1
#include "probeCases.h"
#undef CONFORMANCE_CASE
#undef EXTENDED_CASE
    ;

// The timeout of the matrix's runs: a hanging case costs this much, a case that answers takes
// far less.
const std::string kShortTimeout = "0.25";

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

// A crash must reach the runner as its signal, also in the sanitised build; and a run in one
// process keeps the conformance cases' lists, which they never free.
void setSanitizerOptions(bool oneProcess) {
    static const std::string inherited = [] {
        const char* options = getenv("ASAN_OPTIONS");
        return std::string(options != nullptr ? options : "");
    }();
    const std::string asan = inherited + ":handle_segv=0" + (oneProcess ? ":detect_leaks=0" : "");
    setenv("ASAN_OPTIONS", asan.c_str(), 1);
}

// The runner built against the given list: "bundled", a sound list ("sound", "cachedSound",
// "bundledC", "recursiveSound", "freeListSound") or a fault.
std::string runnerPath(const std::string& list) {
    return list == "bundled" ? std::string(PROBERUNNER_PATH)
                             : std::string(FAULTY_DIR) + "/probeRunner_" + list;
}

// Runs the runner built against the given list.
console::Run runFaulty(const std::string& list, std::vector<std::string> arguments) {
    setSanitizerOptions(std::find(arguments.begin(), arguments.end(), "--no-fork") !=
                        arguments.end());
    arguments.insert(arguments.begin(), runnerPath(list));
    return console::runProgram(arguments);
}

// A case as the JUnit file reports it.
struct CaseResult {
    std::string group;
    std::string name;
    bool failed = false;
    std::string why;    // the failure message
    std::string type;   // assertion, crash, timeout or exit
    std::string report; // the case's report block
};

std::string unescapeXml(std::string text) {
    static const std::pair<std::string, std::string> kEntities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#13;", "\r"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : kEntities) {
        for (size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + character.size())) {
            text.replace(at, entity.size(), character);
        }
    }
    return text;
}

// The value of attribute name in an XML start tag.
std::string attribute(const std::string& tag, const std::string& name) {
    const std::string opening = " " + name + "=\"";
    const size_t start = tag.find(opening);
    if (start == std::string::npos) {
        return "";
    }
    const size_t from = start + opening.size();
    return unescapeXml(tag.substr(from, tag.find('"', from) - from));
}

// Every case of a JUnit file, in order.
std::vector<CaseResult> readJunit(const std::filesystem::path& path) {
    const std::string xml = console::readFile(path);
    std::vector<CaseResult> results;
    for (size_t at = xml.find("<testcase "); at != std::string::npos;
         at = xml.find("<testcase ", at + 1)) {
        const std::string tag = xml.substr(at, xml.find('>', at) - at + 1);
        CaseResult result;
        result.group = attribute(tag, "classname");
        result.name = attribute(tag, "name");
        const size_t failure = xml.find("<failure ", at);
        if (!tag.ends_with("/>") && failure < xml.find("</testcase>", at)) {
            const size_t bodyStart = xml.find('>', failure) + 1;
            const std::string failureTag = xml.substr(failure, bodyStart - failure);
            result.failed = true;
            result.why = attribute(failureTag, "message");
            result.type = attribute(failureTag, "type");
            result.report =
                unescapeXml(xml.substr(bodyStart, xml.find("</failure>", bodyStart) - bodyStart));
        }
        results.push_back(result);
    }
    return results;
}

std::vector<CaseResult> failuresOf(const std::vector<CaseResult>& results) {
    std::vector<CaseResult> failures;
    std::copy_if(results.begin(), results.end(), std::back_inserter(failures),
                 [](const CaseResult& result) { return result.failed; });
    return failures;
}

// A run and the cases its JUnit file reports.
struct Checked {
    console::Run run;
    std::vector<CaseResult> cases;
};

// Runs the runner built against list with the arguments, reading its JUnit file.
Checked runChecked(const std::string& list, std::vector<std::string> arguments) {
    console::TempDir dir;
    arguments.push_back("--junit");
    arguments.push_back((dir / "results.xml").string());
    console::Run run = runFaulty(list, arguments);
    return {run, readJunit(dir / "results.xml")};
}

// The last line of a run's output: "N passed, N failed".
std::string summaryLine(const std::string& output) {
    const size_t start = output.find_last_of('\n', output.size() - 2);
    return output.substr(start == std::string::npos ? 0 : start + 1);
}

// The lines of a plain or TAP stream that name a case or the plan, in order: the rest of the
// output is free to change.
std::string caseLines(const std::string& output) {
    static const std::regex kCaseLine("(PASS|FAIL|ok|not ok|TAP version|1\\.\\.)\\b.*");
    std::istringstream lines(output);
    std::string line;
    std::string kept;
    while (std::getline(lines, line)) {
        kept += std::regex_match(line, kCaseLine) ? line + "\n" : "";
    }
    return kept;
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

TEST(FaultyLists, TheSoundListsPassEveryCaseWithAndWithoutTheExtendedChecks) {
    for (const std::string list :
         {"bundled", "sound", "cachedSound", "bundledC", "recursiveSound", "freeListSound"}) {
        const auto plain = runChecked(list, {});
        EXPECT_EQ(plain.run.exitCode, 0) << list;
        EXPECT_EQ(plain.cases.size(), static_cast<size_t>(kConformance)) << list;
        EXPECT_EQ(summaryLine(plain.run.output), "33 passed, 0 failed\n") << list;
        const auto extended = runChecked(list, {"--extended"});
        EXPECT_EQ(extended.run.exitCode, 0) << list << "\n" << extended.run.output;
        EXPECT_EQ(extended.cases.size(), static_cast<size_t>(kEveryCase)) << list;
        EXPECT_TRUE(failuresOf(extended.cases).empty()) << list << "\n" << extended.run.output;
    }
}

class CaughtByAssertion : public testing::TestWithParam<CaughtFault> {};

TEST_P(CaughtByAssertion, FirstFailsItsCaseWithTheExactReport) {
    const CaughtFault& expected = GetParam();
    const auto checked = runChecked(expected.fault, {});
    EXPECT_EQ(checked.run.exitCode, 1);
    EXPECT_EQ(checked.cases.size(), static_cast<size_t>(kConformance));
    const auto failures = failuresOf(checked.cases);
    ASSERT_FALSE(failures.empty()) << checked.run.output;
    const CaseResult& first = failures[0];
    EXPECT_EQ(first.group, expected.group);
    EXPECT_EQ(first.name, expected.probeCase);
    EXPECT_EQ(first.type, "assertion");
    EXPECT_NE(
        checked.run.output.find("FAIL " + first.group + " " + first.name + " " + first.why + "\n"),
        std::string::npos)
        << checked.run.output;

    // The failing assertion's place: the group's source by its base name, and the line of the
    // assertion meant to catch the fault, inside the case.
    std::smatch place;
    ASSERT_TRUE(std::regex_match(first.why, place, std::regex("(\\w+\\.cpp):(\\d+)"))) << first.why;
    EXPECT_EQ(place[1], expected.group + ".cpp");
    EXPECT_EQ(lineInCase(place[1], expected.probeCase, std::stoi(place[2])), expected.assertion);
    EXPECT_EQ(hidePointers(first.report), expected.report);

    // Run alone, the case reports the same block.
    const auto alone = runChecked(expected.fault, {"--case", expected.probeCase});
    ASSERT_EQ(alone.cases.size(), 1u);
    EXPECT_EQ(hidePointers(alone.cases[0].report), expected.report);
    EXPECT_EQ(summaryLine(alone.run.output), "0 passed, 1 failed\n");
}

INSTANTIATE_TEST_SUITE_P(FaultyLists, CaughtByAssertion, testing::ValuesIn(kCaught),
                         [](const auto& info) { return info.param.fault; });

TEST(FaultyLists, ACrashFailsItsCaseByItsSignalAndTheRunGoesOn) {
    const auto checked = runChecked("crashOnNullList", {});
    EXPECT_EQ(checked.run.exitCode, 1);
    EXPECT_EQ(checked.cases.size(), static_cast<size_t>(kConformance));
    const auto failures = failuresOf(checked.cases);
    ASSERT_EQ(failures.size(), 1u) << checked.run.output;
    EXPECT_EQ(failures[0].name, "appendProbeCase04");
    EXPECT_EQ(failures[0].why, "crashed (SIGSEGV) in test_addNode(NULL, 0, NULL)");
    EXPECT_EQ(failures[0].type, "crash");
    EXPECT_NE(checked.run.output.find("PASS appendProbe appendProbeCase05\n"), std::string::npos);
    EXPECT_EQ(summaryLine(checked.run.output), "32 passed, 1 failed\n");
}

TEST(FaultyLists, AHangFailsItsCaseAtTheTimeoutAndTheRunGoesOn) {
    const auto checked = runChecked("endlessLoop", {"--timeout", "0.3"});
    EXPECT_EQ(checked.run.exitCode, 1);
    const auto failures = failuresOf(checked.cases);
    ASSERT_EQ(failures.size(), 1u) << checked.run.output;
    EXPECT_EQ(failures[0].name, "positionProbeCase01");
    EXPECT_EQ(failures[0].why, "timed out after 0.3 s in ll_indexOf(list, 0x1)");
    EXPECT_EQ(failures[0].type, "timeout");
    EXPECT_NE(checked.run.output.find("PASS countProbe countProbeCase01\n"), std::string::npos);
    EXPECT_EQ(summaryLine(checked.run.output), "32 passed, 1 failed\n");
}

TEST(FaultyLists, WithoutForkACrashStillLeavesTheLinesPrintedBeforeIt) {
    const auto plain = runFaulty("crashOnNullList", {"--no-fork"});
    EXPECT_EQ(plain.signal, SIGSEGV);
    EXPECT_EQ(caseLines(plain.output),
              "PASS appendProbe appendProbeCase01\nPASS appendProbe appendProbeCase02\n"
              "PASS appendProbe appendProbeCase03\n");
    const auto tap = runFaulty("crashOnNullList", {"--no-fork", "--tap", "--case", "Case04"});
    EXPECT_EQ(tap.signal, SIGSEGV);
    EXPECT_EQ(caseLines(tap.output), "TAP version 13\n1..5\n");
}

// In one process the cases share the assertion flag: a failed case must not fail the next ones.
TEST(FaultyLists, WithoutForkAFailureDoesNotSpillIntoTheNextCases) {
    const auto run = runFaulty("popKeepsLength", {"--no-fork", "--group", "extractProbe"});
    EXPECT_EQ(run.exitCode, 1);
    const std::string lines = caseLines(run.output);
    EXPECT_TRUE(std::regex_match(lines, std::regex("PASS extractProbe extractProbeCase01\n"
                                                   "FAIL extractProbe extractProbeCase02 .*\n"
                                                   "FAIL extractProbe extractProbeCase03 .*\n"
                                                   "PASS extractProbe extractProbeCase04\n"
                                                   "PASS extractProbe extractProbeCase05\n")))
        << run.output;
    EXPECT_EQ(summaryLine(run.output), "3 passed, 2 failed\n");
    EXPECT_EQ(lines, caseLines(runFaulty("popKeepsLength", {"--group", "extractProbe"}).output));
}

TEST(FaultyLists, TapShowsTheFailureAndItsReportAsComments) {
    const auto junit = runChecked("nullNotCounted", {"--case", "appendProbeCase01"});
    ASSERT_EQ(junit.cases.size(), 1u);
    const auto run = runFaulty("nullNotCounted", {"--tap", "--group", "appendProbe"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.starts_with("TAP version 13\n1..5\nnot ok 1 - appendProbe "
                                       "appendProbeCase01\n# " +
                                       junit.cases[0].why + "\n# checks: "))
        << run.output;
    EXPECT_NE(run.output.find("\n# assert equals failed '1' != '0'\n#\n# Error en el valor de size "
                              "de la lista se debe incrementar al agregar nodos\n#\nok 2 - "
                              "appendProbe appendProbeCase02\n"),
              std::string::npos)
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
                  .find("<failure message=\"crashed (SIGSEGV) in test_addNode(NULL, 0, NULL)\" "
                        "type=\"crash\"></failure>"),
              std::string::npos);
}

// A row of the table of faulty lists.
struct Row {
    std::string fault;
    std::string base;
    bool caughtByConformance;
    bool caughtExtended;
};

std::vector<Row> readTable() {
    static const std::regex kRow(
        "\\| `(\\w+)` \\| `(\\w+\\.c)` \\| .* \\| (yes|no) \\| (yes|no) \\|");
    std::istringstream lines(console::readFile(FAULT_TABLE));
    std::vector<Row> rows;
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_match(line, match, kRow)) {
            rows.push_back({match[1], match[2], match[3] == "yes", match[4] == "yes"});
        }
    }
    return rows;
}

// A run of the matrix, started in the background with its output thrown away.
struct Launch {
    std::string list;
    std::vector<std::string> arguments;
    std::filesystem::path junit;
};

// Starts the run; false when it could not be started.
bool launch(const Launch& run) {
    std::vector<std::string> words = {runnerPath(run.list)};
    words.insert(words.end(), run.arguments.begin(), run.arguments.end());
    words.push_back("--junit");
    words.push_back(run.junit.string());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0;
}

// Runs every launch, two at a time (the build machine has two cores); each one's cases, or
// nothing where the runner wrote no JUnit file.
std::vector<std::vector<CaseResult>> runAll(const std::vector<Launch>& runs) {
    setSanitizerOptions(false);
    constexpr size_t kAtOnce = 2;
    size_t started = 0;
    size_t running = 0;
    while (started < runs.size() || running > 0) {
        if (started < runs.size() && running < kAtOnce) {
            running += launch(runs[started++]) ? 1 : 0;
            continue;
        }
        running -= waitpid(-1, nullptr, 0) > 0 ? 1 : 0;
    }
    std::vector<std::vector<CaseResult>> results;
    for (const Launch& run : runs) {
        results.push_back(std::filesystem::exists(run.junit) ? readJunit(run.junit)
                                                             : std::vector<CaseResult>{});
    }
    return results;
}

// The names of the failing cases, with the group's name left out.
std::string failedNames(const std::vector<CaseResult>& cases) {
    std::string names;
    for (const CaseResult& result : failuresOf(cases)) {
        names += (names.empty() ? "" : " ") + result.name;
        names += result.type == "assertion" ? "" : "(" + result.type + ")";
    }
    return names.empty() ? "none" : names;
}

// Every faulty list of the table is caught where the table says, with the 33 cases alone and
// with the extended checks; prints which cases fail against each. A fault the table says goes
// unnoticed is run again with the default timeout, so that a slow machine cannot catch it.
TEST(FaultyLists, AreCaughtAsTheirTableSays) {
    const std::vector<Row> rows = readTable();
    ASSERT_GE(rows.size(), 30u);
    console::TempDir dir;
    std::vector<Launch> runs;
    for (const Row& row : rows) {
        const std::string stem = (dir / row.fault).string();
        runs.push_back({row.fault, {"--timeout", kShortTimeout}, stem + ".xml"});
        runs.push_back({row.fault,
                        {"--extended", "--seed", "1", "--timeout", kShortTimeout},
                        stem + "-extended.xml"});
    }
    std::vector<std::vector<CaseResult>> results = runAll(runs);
    std::vector<size_t> rerunOf;
    std::vector<Launch> reruns;
    for (size_t i = 0; i < runs.size(); i++) {
        const Row& row = rows[i / 2];
        const bool claimed = i % 2 == 0 ? row.caughtByConformance : row.caughtExtended;
        if (!claimed && !failuresOf(results[i]).empty()) {
            rerunOf.push_back(i);
            reruns.push_back(runs[i]);
            reruns.back().arguments.resize(reruns.back().arguments.size() - 2);
            reruns.back().junit += ".again";
        }
    }
    const auto again = runAll(reruns);
    for (size_t j = 0; j < reruns.size(); j++) {
        results[rerunOf[j]] = again[j];
    }

    std::string matrix = "fault: cases that fail with the 33 | with --extended --seed 1\n";
    int caught33 = 0;
    int caughtExtended = 0;
    for (size_t i = 0; i < rows.size(); i++) {
        const Row& row = rows[i];
        const auto& plain = results[2 * i];
        const auto& extended = results[2 * i + 1];
        EXPECT_EQ(plain.size(), static_cast<size_t>(kConformance)) << row.fault;
        EXPECT_EQ(extended.size(), static_cast<size_t>(kEveryCase)) << row.fault;
        EXPECT_EQ(!failuresOf(plain).empty(), row.caughtByConformance)
            << row.fault << " with the 33: " << failedNames(plain);
        EXPECT_EQ(!failuresOf(extended).empty(), row.caughtExtended)
            << row.fault << " with --extended: " << failedNames(extended);
        caught33 += row.caughtByConformance;
        caughtExtended += row.caughtExtended;
        matrix += row.fault + ": " + failedNames(plain) + " | " + failedNames(extended) + "\n";
    }
    std::cout << matrix << "caught by the 33: " << caught33 << " of " << rows.size()
              << "; with --extended: " << caughtExtended << " of " << rows.size() << "\n";
}

// The model check's report holds a C program that replays the failing sequence, which --repro
// writes to a file that compiles as it stands: against the faulty list it stops where the report
// says (an assertion fails, or the crash), against the sound list it runs to its end. The same
// seed gives the same report.
TEST(ModelCheck, ReportsAProgramThatReplaysTheFailure) {
    struct Replay {
        std::string fault;
        std::string base;
        int signal;
    };
    const Replay replays[] = {{"insertMiddleDropsRest", "faultyList.c", SIGABRT},
                              {"countAddsNegatives", "faultyList.c", SIGABRT},
                              {"removeAtSizeReadsPast", "faultyList.c", SIGSEGV},
                              {"staleAfterSizeRewrite", "cachedList.c", SIGABRT},
                              {"cursorNotShiftedOnInsert", "cachedList.c", SIGABRT}};
    console::TempDir dir;
    for (const Replay& replay : replays) {
        const std::vector<std::string> arguments = {"--extended",
                                                    "--seed",
                                                    "3",
                                                    "--case",
                                                    "modelProbeCase01",
                                                    "--repro",
                                                    (dir / "replay.c").string()};
        const auto checked = runChecked(replay.fault, arguments);
        ASSERT_EQ(checked.cases.size(), 1u) << replay.fault;
        const std::string& report = checked.cases[0].report;
        EXPECT_NE(report.find("semilla 3"), std::string::npos) << report;
        EXPECT_EQ(runChecked(replay.fault, arguments).cases[0].report, report);
        std::istringstream lines(report);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_LE(line.size(), 255u);
        }
        const std::string program = console::readFile(dir / "replay.c");
        EXPECT_TRUE(program.starts_with("#include ") && program.ends_with("\n}\n")) << program;
        for (const bool faulty : {true, false}) {
            const std::string binary = (dir / "replay").string();
            const std::string source = (dir / "replay.c").string();
            const std::string list = std::string(LISTS_DIR) + "/" + replay.base;
            std::vector<std::string> compile = {C_COMPILER, "-std=c11", "-I",   LIST_INCLUDE_DIR,
                                                "-o",       binary,     source, list};
            if (faulty) {
                compile.push_back("-DFAULT_" + replay.fault);
            }
            const auto built = console::runProgram(compile);
            ASSERT_EQ(built.exitCode, 0) << built.output << program;
            const auto ran = console::runProgram({binary});
            if (faulty) {
                EXPECT_EQ(ran.signal, replay.signal) << replay.fault << "\n" << program;
            } else {
                EXPECT_EQ(ran.exitCode, 0) << replay.fault << "\n" << ran.output << program;
            }
        }
    }
}

} // namespace
