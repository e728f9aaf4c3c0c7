// probeRunner built against the lists of tests/lists: every sound list passes everything; a fault
// caught by an assertion is first caught by the case meant for it, with that case's exact report;
// a crash or a hang fails its case alone, also as TAP and JUnit show it, and a run in one process
// keeps what was printed before a crash and no failure spills into the next case.
#include "faultyRuns.h"
#include "files.h"

#include <signal.h>

#include <gtest/gtest.h>
#include <regex>

using namespace faulty;

namespace {

// A fault caught by an assertion: the first case to fail, the list call whose answer the failing
// assertion checks, as the runner's notes show it, and the case's report block, with every
// pointer value shown as 0x?.
struct CaughtFault {
    std::string fault;
    std::string group;
    std::string probeCase;
    std::string lastCall;
    std::string report;
};

const std::vector<CaughtFault> CAUGHT = {
    {"getNodePastSize", "fetchProbe", "fetchProbeCase04", "test_getNode(list, 1) returned 0x?",
     "assert null failed. Value: '0x?' \r\n\nError en el valor de retorno de <getNode> al "
     "solicitar un elemento fuera de indice (>= a ll_len),\n se deberia retornar NULL\n\r\n"},
    {"insertAtZeroAppends", "appendProbe", "appendProbeCase05",
     "test_getNode(list, 0) returned 0x?",
     "assert equals failed '0x?' != '0x?'\r\nEl puntero al employee agregado en la pos 0 no "
     "corresponde\n\r\n"},
    {"nullNotCounted", "appendProbe", "appendProbeCase01", "test_addNode(list, 0, NULL) returned 0",
     "assert equals failed '1' != '0'\r\n\nError en el valor de size de la lista se debe "
     "incrementar al agregar nodos\n\r\n"},
    {"popReturnsNode", "extractProbe", "extractProbeCase02", "ll_pop(list, 0) returned 0x?",
     "assert equals failed '0x?' != '0x?'\r\n\nError en el valor de retorno de <pop> al "
     "solicitar el primer elemento\n\r\n"},
    {"popKeepsLength", "extractProbe", "extractProbeCase02", "ll_len(list) returned 1 (twice)",
     "assert equals failed '1' != '0'\r\n\nError en el len() de la lista luego de quitar un "
     "elemento\r\n"},
    {"subListCopiesRecords", "sliceProbe", "sliceProbeCase02", "ll_get(sub, 0) returned 0x?",
     "assert equals failed '0x?' != '0x?'\r\nError: la sub lista no contiene los elementos "
     "solicitados\r\n"},
    {"subListPastLength", "sliceProbe", "sliceProbeCase03", "ll_subList(list, 0, 6) returned sub",
     "assert null failed. Value: '0x?' \r\n\nError en el valor de retorno de <subList> el to "
     "esta fuera de indice (> len()),\n se deberia retornar NULL\n\r\n"},
    {"containsNull", "memberProbe", "memberProbeCase01", "ll_contains(list, NULL) returned 1",
     "assert equals failed '1' != '0'\r\n\nError en el valor de retorno de <contains> si los "
     "parametros son correctos\n debe retornar 0 o 1\n\r\n"},
    {"containsAllAlways", "supersetProbe", "supersetProbeCase02",
     "ll_containsAll(list, other) returned 1",
     "assert equals failed '1' != '0'\r\nError en el valor de retorno <containsAll> si la lista2 "
     "no esta contenida se debe retornar 0\r\n"},
    {"lenCountsNodes", "countProbe", "countProbeCase01", "ll_len(list) returned 0",
     "assert equals failed '0' != '5'\r\n\nError en el valor de retorno de <len> si los "
     "parametros son correctos\n la funcion retorna la cantidad de elementos de la lista\n\r\n"},
    {"deleteAnswersError", "disposeProbe", "disposeProbeCase01",
     "ll_deleteLinkedList(list) returned -1",
     "assert equals failed '-1' != '0'\r\n\nError en el valor de retorno de <deleteLinkedList> "
     "si los parametros son correctos es 0\n\r\n"},
    {"indexOfMissesNull", "positionProbe", "positionProbeCase01",
     "ll_indexOf(list, NULL) returned -1",
     "assert equals failed '-1' != '0'\r\n\nError en el valor de retorno de <indexOf> si los "
     "parametros son correctos y \nel elemento esta contenido se debe retornar la posicion del "
     "elemento\n\r\n"},
};

// Names the parameter of a test by its fault.
void PrintTo(const CaughtFault& caught, std::ostream* out) {
    *out << caught.fault;
}

TEST(FaultyLists, TheSoundListsPassEveryCaseWithAndWithoutTheExtendedChecks) {
    for (const std::string list :
         {"bundled", "sound", "cachedSound", "recursiveSound", "freeListSound"}) {
        const auto plain = runChecked(list, {});
        EXPECT_EQ(plain.run.exitCode, 0) << list;
        EXPECT_EQ(plain.cases.size(), static_cast<size_t>(CONFORMANCE)) << list;
        EXPECT_EQ(summaryLine(plain.run.output), "33 passed, 0 failed\n") << list;
        const auto extended = runChecked(list, {"--extended"});
        EXPECT_EQ(extended.run.exitCode, 0) << list << "\n" << extended.run.output;
        EXPECT_EQ(extended.cases.size(), static_cast<size_t>(EVERY_CASE)) << list;
        EXPECT_TRUE(failuresOf(extended.cases).empty()) << list << "\n" << extended.run.output;
    }
}

class CaughtByAssertion : public testing::TestWithParam<CaughtFault> {};

TEST_P(CaughtByAssertion, FirstFailsItsCaseWithTheExactReport) {
    const CaughtFault& expected = GetParam();
    const auto checked = runChecked(expected.fault, {});
    EXPECT_EQ(checked.run.exitCode, 1);
    EXPECT_EQ(checked.cases.size(), static_cast<size_t>(CONFORMANCE));
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

    // The failing assertion's place names the group's source by its base name, and the assertion
    // is the one meant to catch the fault: the one that checks the list's answer to that call.
    std::smatch place;
    ASSERT_TRUE(std::regex_match(first.why, place, std::regex("(\\w+\\.cpp):(\\d+)"))) << first.why;
    EXPECT_EQ(place[1], expected.group + ".cpp");
    EXPECT_EQ(lastCallBefore(checked.run.output, expected.probeCase), expected.lastCall)
        << checked.run.output;
    EXPECT_EQ(hidePointers(first.report), expected.report);

    // Run alone, the case fails at the same place and reports the same block.
    const auto alone = runChecked(expected.fault, {"--case", expected.probeCase});
    ASSERT_EQ(alone.cases.size(), 1u);
    EXPECT_EQ(alone.cases[0].why, first.why);
    EXPECT_EQ(hidePointers(alone.cases[0].report), expected.report);
    EXPECT_EQ(summaryLine(alone.run.output), "0 passed, 1 failed\n");
}

INSTANTIATE_TEST_SUITE_P(FaultyLists, CaughtByAssertion, testing::ValuesIn(CAUGHT),
                         [](const auto& info) { return info.param.fault; });

// A fault of the kinds the state observer and the surroundings checks look for, at seed 1: the
// first of their cases to fail, and what it says of the call that went wrong (for a crash, the
// failure's own line).
struct ObservedFault {
    std::string fault;
    std::string probeCase;
    std::string says;
};

const std::vector<ObservedFault> OBSERVED = {
    {"addTrustsErrno", "surroundProbeCase01",
     "paso 5: ll_add(B, NULL) con errno 12 antes de la llamada\r\n"
     "la llamada da -1 y deberia dar 0\r\n"},
    {"containsSharesWalk", "surroundProbeCase02", "crashed (SIGSEGV) in ll_map(list, f)"},
    {"mapWalksOnCursor", "surroundProbeCase02", "crashed (SIGSEGV) in ll_map(list, f)"},
    {"indexOfComparesLowHalf", "observeProbeCase01",
     "paso 38: ll_indexOf(C, e3)\r\nla llamada da 0 y deberia dar -1\r\n"},
    {"containsStopsPastAddress", "observeProbeCase01",
     "paso 36: ll_containsAll(B, B)\r\nla llamada da 0 y deberia dar 1\r\n"},
    {"countNotClamped", "surroundProbeCase04",
     "Error en el resultado de ll_count de {INT_MAX, 1} (fila 2 de la tabla)"},
    {"subListTailDangles", "observeProbeCase01",
     "ll_subList(C, 1, 2)\r\nla lista S: el ultimo nodo (0) enlaza con otro nodo en lugar de "
     "NULL\r\n"},
    {"getRewritesSize", "observeProbeCase01",
     "ll_get(B, 2)\r\nla llamada no debia cambiar la lista y la cambio: la lista B tiene size 1 "
     "y deberia tener 3\r\n"},
    {"indexOfMovesToFront", "observeProbeCase01",
     "ll_indexOf(A, e0)\r\nla llamada no debia cambiar la lista y la cambio: la lista A: el nodo "
     "0 tiene e0 y deberia tener e2 (deberia ser [e2, e0, e0])\r\n"},
    {"popLastLeavesLink", "observeProbeCase01",
     "ll_pop(B, 2)\r\nla lista B: el ultimo nodo (1) enlaza con otro nodo en lugar de NULL"},
    {"tailSharedByLists", "observeProbeCase01",
     "ll_add(B, e3)\r\nla llamada da 0 y deberia dar -1\r\n"},
};

void PrintTo(const ObservedFault& observed, std::ostream* out) {
    *out << observed.fault;
}

class CaughtByObserving : public testing::TestWithParam<ObservedFault> {};

// The report names the call and what it left wrong; the command it gives repeats it exactly.
TEST_P(CaughtByObserving, FirstFailsItsCaseNamingTheCall) {
    const ObservedFault& expected = GetParam();
    const std::vector<std::string> options = {
        "--extended", "--seed", "1", "--group", "observeProbe", "--group", "surroundProbe"};
    const auto checked = runChecked(expected.fault, options);
    const auto failures = failuresOf(checked.cases);
    ASSERT_FALSE(failures.empty()) << checked.run.output;
    EXPECT_EQ(failures[0].name, expected.probeCase);
    const std::string said = hidePointers(failures[0].why + "\n" + failures[0].report);
    EXPECT_NE(said.find(expected.says), std::string::npos) << said;
    // The drawn sequences' reports, and theirs alone, give the command that repeats them.
    if (expected.probeCase == "observeProbeCase01" || expected.probeCase == "surroundProbeCase01") {
        const std::string repeat =
            "Repetirla: probeRunner --extended --seed 1 --case " + expected.probeCase + "\r\n";
        EXPECT_NE(said.find(repeat), std::string::npos) << said;
        const auto alone =
            runChecked(expected.fault, {"--extended", "--seed", "1", "--case", expected.probeCase});
        ASSERT_EQ(alone.cases.size(), 1u);
        EXPECT_EQ(hidePointers(alone.cases[0].report), hidePointers(failures[0].report));
    }
    // errno is blamed by the walk with errno set only where errno 0 gives the right state.
    for (const auto& failure : failures) {
        if (failure.name == "surroundProbeCase01") {
            EXPECT_EQ(failure.report.find("segun lo que errno") != std::string::npos,
                      expected.fault == "addTrustsErrno")
                << failure.report;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FaultyLists, CaughtByObserving, testing::ValuesIn(OBSERVED),
                         [](const auto& info) { return info.param.fault; });

TEST(FaultyLists, ACrashFailsItsCaseByItsSignalAndTheRunGoesOn) {
    const auto checked = runChecked("crashOnNullList", {});
    EXPECT_EQ(checked.run.exitCode, 1);
    EXPECT_EQ(checked.cases.size(), static_cast<size_t>(CONFORMANCE));
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

} // namespace
