// check-list --class: a class of submissions checked by a stand-in for check-list (each
// submission's list.c is the script it runs), its lines, its CSV, its page in a headless browser,
// its shards and its stop; then a small class checked by the real check-list end to end.
#include "classReports.h"
#include "console.h"
#include "files.h"
#include "pageParts.h"
#include "verdict.h"

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// Stands in for check-list: takes [--no-sandbox] [--basic] SOURCE... -- OPTION..., finds --json
// FILE among the options and runs the first source as a script, with pass NAME, fail NAME OUTPUT
// and finish STATUS to write the results. Its --check-setup keeps its arguments in setup-args
// beside it, and fails where setup-fails is.
constexpr char STUB[] = R"(#!/usr/bin/env bash
here=$(dirname "$0")
if [ "$1" = --check-setup ]; then
  echo "$*" > "$here/setup-args"
  [ -e "$here/setup-fails" ] && { echo 'check-list: the sandbox cannot start' >&2; exit 2; }
  exit 0
fi
no_sandbox=; [ "$1" = --no-sandbox ] && { no_sandbox=yes; shift; }
basic=; [ "$1" = --basic ] && { basic=yes; shift; }
sources=(); while [ "$1" != -- ]; do sources+=("$1"); shift; done; shift
json=; while [ $# -gt 0 ]; do [ "$1" = --json ] && json=$2; shift; done
tests=()
pass() { tests+=("{\"name\":\"$1\",\"status\":\"passed\",\"score\":1,\"max_score\":1,\"output\":\"\"}"); }
fail() { tests+=("{\"name\":\"$1\",\"status\":\"failed\",\"score\":0,\"max_score\":1,\"output\":\"$2\"}"); }
finish() { (IFS=,; echo "{\"tests\":[${tests[*]}],\"score\":0}") > "$json"; exit "$1"; }
dir=$(dirname "${sources[0]}")
. "${sources[0]}"
)";

// The report of the faulty submission's failed case, as JSON text: markup, a backslash, an
// ampersand and a control character.
const std::string HOSTILE_REPORT = R"(<img src=x onerror=\"document.title=1\"> \\ & \u0007)";

// A class of six, the way each fails: correct, faulty, not building, another layout, hanging
// (and leaving a process of its own behind), missing a function; one more with a name that is
// markup and no sources.
const std::pair<std::string, std::string> SIX[] = {
    {"alice", "pass c1; pass c2; pass c3; finish 0"},
    {"bob", "pass c1; fail c2 '" + HOSTILE_REPORT + "'; pass c3; finish 1"},
    {"carol", "echo \"$dir/list.c:3:5: error: expected expression\" >&2\n"
              "echo 'check-list.sh: the list does not build' >&2; exit 3"},
    {"dave", "echo \"$dir/LinkedList.h lays out the list differently from inc/LinkedList.h\" >&2\n"
             "exit 4"},
    {"erin", "(setsid sleep 300 & echo $! > \"$dir/../pid\"); sleep 300"},
    {"frank", "pass c1; fail c2 'll_containsAll is not implemented'; fail c3 'same'; finish 1"},
};
const std::string MARKUP_NAME = "<img src=x onerror=document.title=2>mallory";

const std::string SIX_CSV =
    "submission,status,passed,failed,cases,failed_cases,score,reason\n"
    "<img src=x onerror=document.title=2>mallory,build-error,0,0,0,,0,no .c or .cpp file in the "
    "folder\n"
    "alice,passed,3,0,3,,100,\n"
    "bob,failed,2,1,3,c2,66.7,\n"
    "carol,build-error,0,0,0,,0,list.c:3:5: error: expected expression\n"
    "dave,layout-error,0,0,0,,0,LinkedList.h lays out the list differently from inc/LinkedList.h\n"
    "erin,failed,0,0,0,,0,\n"
    "frank,failed,1,2,3,c2 c3,33.3,\n";

class CheckClass : public testing::Test {
  protected:
    void SetUp() override {
        console::writeFile(dir_ / "stub", STUB);
        fs::permissions(dir_ / "stub", fs::perms::owner_all);
        fs::create_directories(dir_ / "tmp");
        // The run's working folder goes there, where the test sees whether it is left.
        const char* tmpdir = getenv("TMPDIR");
        tmpdir_ = tmpdir == nullptr ? "" : tmpdir;
        setenv("TMPDIR", (dir_ / "tmp").c_str(), 1);
    }

    void TearDown() override {
        if (tmpdir_.empty()) {
            unsetenv("TMPDIR");
        } else {
            setenv("TMPDIR", tmpdir_.c_str(), 1);
        }
    }

    void addSubmission(const std::string& name, const std::string& script) {
        fs::create_directories(dir_ / "class" / name);
        console::writeFile(dir_ / "class" / name / "list.c", script + "\n");
    }

    void addSix() {
        for (const auto& [name, script] : SIX) {
            addSubmission(name, script);
        }
        fs::create_directories(dir_ / "class" / MARKUP_NAME);
        fs::create_directories(dir_ / "class" / ".hidden");
        console::writeFile(dir_ / "class" / "notes.txt", "not a submission\n");
    }

    console::Run checkClass(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(),
                         {CHECKCLASS_PATH, "--check-list", (dir_ / "stub").string(), "--class",
                          (dir_ / "class").string()});
        return console::runProgram(arguments, dir_.path(), "", std::chrono::seconds(60));
    }

    console::TempDir dir_;
    std::string tmpdir_;
};

// The pid a file holds, and whether that process still runs (a zombie does not).
bool running(const fs::path& pidFile) {
    const std::string pid = console::readFile(pidFile);
    const fs::path stat = "/proc/" + pid.substr(0, pid.find('\n')) + "/stat";
    return fs::exists(stat) && console::readFile(stat).find(") Z ") == std::string::npos;
}

TEST_F(CheckClass, ChecksEverySubmissionWhateverItDoesAndKeepsNothingOfIt) {
    addSix();
    const auto run = checkClass({"--jobs", "3", "--time-limit", "3", "--csv", "class.csv"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(console::readFile(dir_ / "class.csv"), SIX_CSV);
    std::istringstream lines(run.output);
    std::string line;
    std::set<std::string> named;
    for (size_t count = 1; std::getline(lines, line) && count <= 7; count++) {
        const std::regex shape("\\[" + std::to_string(count) + "/7\\] ([^:]+): .*");
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, shape)) << line;
        named.insert(match[1]);
    }
    EXPECT_EQ(named, std::set<std::string>(
                         {MARKUP_NAME, "alice", "bob", "carol", "dave", "erin", "frank"}));
    EXPECT_NE(run.output.find("carol: build-error: list.c:3:5: error: expected expression\n"),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(std::regex_search(run.output, std::regex("\n7 submissions: .*\n$"))) << run.output;
    // The process the hanging submission left, out of its group and session, is gone, and so
    // is the run's working folder.
    EXPECT_FALSE(running(dir_ / "class" / "pid"));
    EXPECT_EQ(console::namesIn(dir_ / "tmp"), std::vector<std::string>{});
}

// What the page does in a browser, as the lines a script of the test's own writes into it: the
// order of the rows after sorting by score and then by name, and what a click on the faulty
// submission's failed group shows under its row.
constexpr char CLICKS[] = R"(<script>
const lines = [];
const order = () => Array.from(document.querySelectorAll("#matrix tbody"), r => r.dataset.name).join("|");
document.getElementById("by-score").click();
lines.push("by score: " + order());
document.getElementById("by-name").click();
lines.push("by name: " + order());
const bob = document.querySelector("#matrix tbody[data-name=bob]");
const report = bob.rows[1];
lines.push("report shown: " + getComputedStyle(report).display);
bob.querySelector("td.cell.failed a").click();
lines.push("report shown: " + getComputedStyle(report).display);
lines.push("report: " + report.querySelector("pre").textContent);
lines.push("elements made of names or reports: " + document.querySelectorAll("img").length);
lines.push("title: " + document.title);
const shown = document.createElement("pre");
shown.id = "clicks";
shown.textContent = lines.join("\n");
document.body.appendChild(shown);
</script>
)";

// Runs the page at url in a headless browser at a screen's size, asking it for what: the DOM
// after the page's scripts ran (--dump-dom) or a --screenshot=FILE.
console::Run browse(const fs::path& profile, const std::string& url,
                    const std::string& what = "--dump-dom") {
    return console::runProgram(
        {"/bin/bash", "-c",
         "chromium --headless --no-sandbox --disable-gpu "
         "--user-data-dir=\"$0\" --window-size=1280,900 \"$1\" \"$2\" 2>/dev/null",
         profile.string(), what, url},
        {}, "", std::chrono::seconds(120));
}

// The text of the element with the id in a page the browser dumped, its references resolved.
std::string textOf(const std::string& dom, const std::string& id) {
    const size_t open = dom.find("id=\"" + id + "\">");
    if (open == std::string::npos) {
        return "";
    }
    const size_t start = dom.find('>', open) + 1;
    std::string text = dom.substr(start, dom.find("</", start) - start);
    for (const auto& [reference, character] :
         {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
        text = std::regex_replace(text, std::regex(reference), character);
    }
    return text;
}

TEST_F(CheckClass, ThePageSortsAndShowsAFailedCasesReportInABrowser) {
    if (!fs::exists("/usr/bin/chromium")) {
        GTEST_SKIP() << "chromium is not installed (Debian package chromium)";
    }
    addSix();
    ASSERT_EQ(checkClass({"--time-limit", "2", "--html", "class.html"}).exitCode, 0);
    std::string page = console::readFile(dir_ / "class.html");
    EXPECT_EQ(page.find("http"), page.find("http-equiv")) << "the page fetches nothing";
    page.insert(page.rfind("</body>"), CLICKS);
    console::writeFile(dir_ / "clicked.html", page);
    const auto browser = browse(dir_ / "profile", "file://" + (dir_ / "clicked.html").string());
    ASSERT_EQ(browser.exitCode, 0) << browser.output;
    EXPECT_EQ(textOf(browser.output, "clicks"),
              "by score: alice|bob|frank|" + MARKUP_NAME +
                  "|carol|dave|erin\n"
                  "by name: " +
                  MARKUP_NAME +
                  "|alice|bob|carol|dave|erin|frank\n"
                  "report shown: none\n"
                  "report shown: table-row\n"
                  "report: <img src=x onerror=\"document.title=1\"> \\ & \uFFFD\n"
                  "elements made of names or reports: 0\n"
                  "title: Class class");
}

// The groups of the runner's table: the page's columns.
size_t tableGroups() {
    std::set<std::string> groups;
#define CONFORMANCE_CASE(group, number, description) groups.insert(#group);
#define EXTENDED_CASE(group, number, description) groups.insert(#group);
#include "probeCases.h"
#undef CONFORMANCE_CASE
#undef EXTENDED_CASE
    return groups.size();
}

// A class of 300 run with the extended checks: every twentieth not built, laid out otherwise or in
// error, one passing, the rest failing a spread of cases with a report that is markup.
std::vector<Row> largeClass() {
    std::vector<std::string> cases;
#define CONFORMANCE_CASE(group, number, description) cases.push_back(#group "Case" #number);
#define EXTENDED_CASE(group, number, description) cases.push_back(#group "Case" #number);
#include "probeCases.h"
#undef CONFORMANCE_CASE
#undef EXTENDED_CASE
    std::vector<Row> rows(300);
    for (size_t i = 0; i < rows.size(); i++) {
        rows[i].name = "student" + std::to_string(1000 + i);
        const Status notRun[] = {Status::buildError, Status::layoutError, Status::error};
        if (i % 20 < 3) {
            rows[i].status = notRun[i % 20];
            rows[i].reason = "list.c:3:5: error: <script>document.title=3</script>";
            continue;
        }
        for (size_t c = 0; c < cases.size(); c++) {
            const bool passed = i % 20 == 3 || (i * 7 + c * 3) % (i % 5 + 9) != 0;
            rows[i].cases.push_back(
                {cases[c], passed, passed ? 1.0 : 0.0, 1, "<img src=x onerror=document.title=4>"});
        }
        rows[i].status = rows[i].passed() == cases.size() ? Status::passed : Status::failed;
    }
    return rows;
}

// What the large class's page does in a browser: what comes first, what the filters leave,
// whether the first three columns stay when the cases scroll, and where a report opens.
constexpr char LARGE_CLASS_CHECKS[] = R"(<script>
const lines = [], shown = (e) => getComputedStyle(e).display !== "none", by = (s) => document.querySelector(s);
const statuses = () => Array.from(new Set(Array.from(document.querySelectorAll("#matrix tbody"))
  .filter(shown).map(b => b.dataset.status))).sort().join(" ");
lines.push("first: " + by("h1").nextElementSibling.id);
lines.push("groups: " + document.querySelectorAll("th.group").length + ", divider before " +
  by("th.extended-first").textContent);
for (const kind of ["failed", "errors"]) {
  by("button[data-show=" + kind + "]").click();
  lines.push(kind + " shows: " + statuses());
}
by("button[data-show=all]").click();
const scroller = document.getElementById("scroller");
scroller.scrollLeft = 5000;
scroller.scrollTop = 3000;
const row = document.querySelectorAll("#matrix tbody[data-status=failed] > tr:first-child")[120];
const left = (selector) => Math.round(row.querySelector(selector).getBoundingClientRect().left -
  scroller.getBoundingClientRect().left - scroller.clientLeft);
lines.push("after scrolling: name at " + left(".name") + ", score after " +
  (left(".score") > left(".name")) + ", heading at " +
  Math.round(by("#matrix thead th").getBoundingClientRect().top -
  scroller.getBoundingClientRect().top - scroller.clientTop));
row.querySelector("td.cell a").click();
const report = row.nextElementSibling;
lines.push("report: " + shown(report) + ", under its row " +
  (Math.abs(report.getBoundingClientRect().top - row.getBoundingClientRect().bottom) < 2));
lines.push("scripts: " + document.scripts.length + ", images: " + document.images.length);
Object.assign(document.body.appendChild(document.createElement("pre")), {id: "checks", textContent: lines.join("\n")});
</script>
)";

TEST(ClassPage, ALargeClassReadsAtAGlanceInABrowser) {
    const fs::path dir = PAGE_DIR;
    fs::create_directories(dir);
    ASSERT_TRUE(writeHtml(dir / "class.html", largeClass(), "Class large"));
    const std::string page = console::readFile(dir / "class.html");
    // Measured at 0.96 MB, nearly all of it the failed cases' reports.
    EXPECT_LT(page.size(), 2'000'000U) << "the page grew";
    if (!fs::exists("/usr/bin/chromium")) {
        GTEST_SKIP() << "chromium is not installed (Debian package chromium)";
    }
    std::string checked = page;
    checked.insert(checked.rfind("</body>"), LARGE_CLASS_CHECKS);
    console::writeFile(dir / "checked.html", checked);
    const auto browser = browse(dir / "profile", "file://" + (dir / "checked.html").string());
    ASSERT_EQ(browser.exitCode, 0) << browser.output;
    EXPECT_EQ(textOf(browser.output, "checks"),
              "first: summary\n"
              "groups: " + std::to_string(tableGroups()) + ", divider before removeProbe\n"
              "failed shows: failed\n"
              "errors shows: build-error error layout-error\n"
              "after scrolling: name at 0, score after true, heading at 0\n"
              "report: true, under its row true\n"
              "scripts: 2, images: 0");
    // For a reader: the page as it opens, and with a report opened from its address alone.
    for (const auto& [shot, address] : {std::pair{"class.png", ""}, {"report.png", "#r45-g2"}}) {
        const std::string url = "file://" + (dir / "class.html").string() + address;
        EXPECT_EQ(browse(dir / "profile", url, "--screenshot=" + (dir / shot).string()).exitCode,
                  0);
        EXPECT_TRUE(fs::exists(dir / shot)) << shot;
    }
}

TEST(ClassPage, APageThatCannotBeWrittenIsReportedAndLeavesNothing) {
    const console::TempDir dir;
    EXPECT_FALSE(writeHtml(dir / "none/class.html", largeClass(), "Class"));
    EXPECT_TRUE(console::namesIn(dir.path()).empty());
}

TEST(ClassPage, GroupsACaseByItsName) {
    const std::pair<std::string, std::string> groups[] = {
        {"appendProbeCase01", "appendProbe"},
        {"c1", "c1"},
        {"Case01", "Case01"},
        {"xCase", "xCase"},
        {"aCase1b", "aCase1b"},
    };
    for (const auto& [name, group] : groups) {
        EXPECT_EQ(groupOf(name), group);
    }
}

TEST_F(CheckClass, WhatACheckLeavesBehindIsGoneBeforeTheNextStarts) {
    addSubmission("a", "(setsid sleep 300 & echo $! > \"$dir/../pid\"); pass c1; finish 0");
    addSubmission("b", "if kill -0 \"$(cat \"$dir/../pid\")\"; then fail c1 alive; else pass c1; "
                       "fi; finish 0");
    const auto run = checkClass({"--jobs", "1", "--csv", "class.csv"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(console::readFile(dir_ / "class.csv").find("\nb,passed,"), std::string::npos)
        << run.output;
}

TEST_F(CheckClass, AStopEndsEveryCheckAndLeavesNothing) {
    addSubmission("erin", "(setsid sleep 300 & echo $! > \"$dir/../pid\"); sleep 300");
    const auto run =
        console::runProgram({"/usr/bin/timeout", "-s", "TERM", "2", CHECKCLASS_PATH, "--check-list",
                             (dir_ / "stub").string(), "--class", (dir_ / "class").string()},
                            dir_.path(), "", std::chrono::seconds(30));
    EXPECT_EQ(run.exitCode, 124) << run.output;
    EXPECT_FALSE(running(dir_ / "class" / "pid"));
    EXPECT_EQ(console::namesIn(dir_ / "tmp"), std::vector<std::string>{});
}

TEST_F(CheckClass, EveryShardChecksItsPartAndTheirCsvsMakeTheWhole) {
    for (int i = 0; i < 7; i++) {
        addSubmission("s" + std::to_string(i),
                      std::string("echo >> \"$dir/../runs\"; ") +
                          (i % 2 == 0 ? "pass c1; finish 0" : "fail c1 x; finish 1"));
    }
    ASSERT_EQ(checkClass({"--csv", "all.csv"}).exitCode, 0);
    // Two lists in seven submissions: each checked once.
    EXPECT_EQ(console::readFile(dir_ / "class" / "runs"), "\n\n");
    fs::remove(dir_ / "class" / "runs");
    const std::string whole = console::readFile(dir_ / "all.csv");
    const std::string header = whole.substr(0, whole.find('\n') + 1);
    for (int shards = 1; shards <= 9; shards++) {
        std::string joined = header;
        for (int shard = 1; shard <= shards; shard++) {
            const std::string part = "part" + std::to_string(shard) + ".csv";
            const auto run = checkClass(
                {"--shard", std::to_string(shard) + "/" + std::to_string(shards), "--csv", part});
            ASSERT_EQ(run.exitCode, 0) << run.output;
            const std::string csv = console::readFile(dir_ / part);
            ASSERT_TRUE(csv.starts_with(header));
            joined += csv.substr(header.size());
        }
        EXPECT_EQ(joined, whole) << shards << " shards";
    }
}

TEST_F(CheckClass, RefusesWhatItCannotRun) {
    addSubmission("alice", "pass c1; finish 0");
    const std::vector<std::vector<std::string>> wrong = {
        {"--jobs", "0"},  {"--jobs", "x"},        {"--shard", "3/2"}, {"--shard", "0/2"},
        {"--shard", "2"}, {"--time-limit", "-1"}, {"--frobnicate"},   {"--csv"},
    };
    for (const auto& arguments : wrong) {
        EXPECT_EQ(checkClass(arguments).exitCode, 2) << arguments[0];
    }
    // The numbers the runner refuses, refused the same way by every number option.
    for (const std::string number : {"0x10", "1e3", "+5", "", "-1", "99999999999"}) {
        for (const auto& [option, value] : {std::pair{"--jobs", number},
                                            {"--time-limit", number},
                                            {"--shard", number + "/2"},
                                            {"--shard", "1/" + number}}) {
            const auto run = checkClass({option, value});
            EXPECT_EQ(run.exitCode, 2) << option << " " << value;
            EXPECT_EQ(run.output.find("[1/1]"), std::string::npos) << option << " " << value;
        }
    }
    const auto help = console::runProgram({CHECKCLASS_PATH, "--class", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.starts_with("Usage: ")) << help.output;
    const auto missing =
        console::runProgram({CHECKCLASS_PATH, "--check-list", (dir_ / "stub").string(), "--class",
                             (dir_ / "none").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.output.find((dir_ / "none").string() + ": "), std::string::npos);
    const auto noChecker =
        console::runProgram({CHECKCLASS_PATH, "--check-list", (dir_ / "absent").string(), "--class",
                             (dir_ / "class").string()});
    EXPECT_EQ(noChecker.exitCode, 2) << noChecker.output;
    EXPECT_EQ(checkClass({"--csv", "/dev/full"}).exitCode, 2);
}

TEST_F(CheckClass, ASubmissionTheGraderCouldNotCheckIsAnErrorAndTheRunEndsWith2) {
    // Each check in a session its keeper leads: no terminal of the grader's reaches it.
    addSubmission("alice",
                  "[ \"$(cut -d' ' -f6 /proc/$$/stat)\" = \"$PPID\" ] && pass c1; finish 0");
    addSubmission("grace", "echo 'check-list: cannot write the cache' >&2; exit 2");
    addSubmission("tab\tname", "[ \"$no_sandbox\" = yes ] && pass c1; finish 0");
    const auto run = checkClass({"--no-sandbox", "--csv", "class.csv", "--html", "class.html"});
    EXPECT_EQ(run.exitCode, 2) << run.output;
    EXPECT_NE(run.output.find("grace: error: check-list: cannot write the cache\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("] tab?name: passed"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("0 layout-error, 1 error"), std::string::npos) << run.output;
    EXPECT_EQ(console::readFile(dir_ / "class.csv"),
              "submission,status,passed,failed,cases,failed_cases,score,reason\n"
              "alice,passed,1,0,1,,100,\ngrace,error,0,0,0,,0,check-list: cannot write the "
              "cache\ntab\tname,passed,1,0,1,,100,\n");
    EXPECT_NE(console::readFile(dir_ / "class.html").find("class=\"cell error\""),
              std::string::npos);
    EXPECT_EQ(console::readFile(dir_ / "setup-args").find("--check-setup --no-sandbox -- --seed "),
              0U);
}

// --basic reaches the setup check and every submission's; the run's own words follow the locale.
TEST_F(CheckClass, HandsBasicOnAndSpeaksTheUsersLanguage) {
    addSubmission("alice", "[ \"$basic\" = yes ] && pass c1; fail c2 'informe'; finish 1");
    setenv("TEXTDOMAINDIR", BUILD_DIR "/share/locale", 1);
    setenv("LANG", "C.UTF-8", 1);
    setenv("LANGUAGE", "es", 1);
    const auto run = checkClass({"--basic", "--", "--seed", "7"});
    unsetenv("LANGUAGE");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output,
              "[1/1] alice: failed, 1 de 2 casos correctos\n"
              "1 submission: 0 passed, 1 failed, 0 build-error, 0 layout-error, 0 error "
              "(semilla 7)\n");
    EXPECT_EQ(console::readFile(dir_ / "setup-args"), "--check-setup --basic -- --seed 7\n");
}

TEST_F(CheckClass, AFailingSetupStopsTheRunBeforeAnySubmission) {
    addSubmission("alice", "touch \"$here/checked\"; pass c1; finish 0");
    console::writeFile(dir_ / "setup-fails", "");
    const auto failed = checkClass({"--", "--extended"});
    EXPECT_EQ(failed.exitCode, 2);
    EXPECT_EQ(failed.output, "check-list: the sandbox cannot start\n");
    EXPECT_EQ(console::readFile(dir_ / "setup-args").find("--check-setup -- --extended --seed "),
              0U);
    fs::remove(dir_ / "setup-fails");
    for (const std::string& tmpdir :
         {std::string("tmp"), (dir_ / "none").string(), (dir_ / "stub").string()}) {
        setenv("TMPDIR", tmpdir.c_str(), 1);
        const auto refused = checkClass({});
        EXPECT_EQ(refused.exitCode, 2) << tmpdir;
        EXPECT_NE(refused.output.find("TMPDIR"), std::string::npos) << refused.output;
    }
    EXPECT_FALSE(fs::exists(dir_ / "checked"));
}

TEST(ClassVerdict, TellsEachWayACheckEnds) {
    const console::TempDir dir;
    console::writeFile(
        dir / "passed.json",
        R"({"tests":[{"name":"a","status":"passed","score":1,"max_score":1,"output":""}],"score":1})");
    console::writeFile(dir / "bad.json", R"({"tests":[{"name":1}]})");
    const int exited1 = 1 << 8;
    const int exited2 = 2 << 8;
    const int exited3 = 3 << 8;
    const int exited4 = 4 << 8;
    struct Case {
        int status;
        bool timedOut;
        std::string log;
        std::string json;
        Status expected;
        std::string reason;
    } table[] = {
        {0, false, "", "passed.json", Status::passed, ""},
        {exited1, false, "", "passed.json", Status::failed, "the check ended with status 1"},
        {0, false, "last words\n", "bad.json", Status::error,
         "the check wrote no results: last words"},
        {0, false, "", "absent.json", Status::error, "the check wrote no results"},
        {exited1, false, "", "absent.json", Status::error, "the check wrote no results"},
        {exited3, false, "FOLDER/a.c:1:2: error: oops\nmore\n", "", Status::buildError,
         "a.c:1:2: error: oops"},
        {exited3, false, "x.o: undefined reference to `ll_len'\n", "", Status::buildError,
         "x.o: undefined reference to `ll_len'"},
        {exited3, false, "", "", Status::buildError, "the list does not build"},
        {exited4, false, "FOLDER/LinkedList.h does not compile on its own as C\n", "",
         Status::layoutError, "LinkedList.h does not compile on its own as C"},
        // Words of a build's or a layout's fault under the grader's own status are its fault.
        {exited2, false, "FOLDER/a.c:1:2: error: oops\ncheck-list: no cache\n", "passed.json",
         Status::error, "check-list: no cache"},
        {exited2, false, "", "", Status::error, "the check ended with status 2"},
        {5 << 8, false, "lays out the list differently\n", "", Status::error,
         "lays out the list differently"},
        {127 << 8, false, "check-list: cannot run x\n", "", Status::error,
         "check-list: cannot run x"},
        {SIGKILL, true, "", "", Status::failed, "not done after 9 s: stopped"},
        {SIGKILL, false, "", "passed.json", Status::error, "the check ended by SIGKILL"},
        {SIGSEGV, false, "", "", Status::error, "the check ended by SIGSEGV"},
    };
    for (const Case& row : table) {
        const std::string log =
            std::regex_replace(row.log, std::regex("FOLDER"), dir.path().string());
        const auto verdict =
            judge("x", {row.status, row.timedOut, 9, log, dir / row.json, dir.path()});
        EXPECT_EQ(verdict.status, row.expected) << row.log;
        EXPECT_EQ(verdict.reason, row.reason) << row.log;
    }
}

TEST(ClassVerdict, TheSummaryCountsEveryStatusInTheEnumsOrder) {
    std::vector<Row> rows;
    for (const Status status : {Status::error, Status::passed, Status::layoutError, Status::passed,
                                Status::buildError, Status::failed}) {
        Row row;
        row.status = status;
        rows.push_back(row);
    }
    EXPECT_EQ(classSummary(rows),
              "6 submissions: 2 passed, 1 failed, 1 build-error, 1 layout-error, 1 error");
}

TEST(ClassCsv, ScoresAsTheReportsShowThem) {
    const auto verdicts = [](std::vector<std::pair<bool, double>> cases) {
        Row row;
        for (const auto& [passed, weight] : cases) {
            row.cases.push_back({"c", passed, passed ? weight : 0, weight, ""});
        }
        return row;
    };
    const std::pair<Row, std::string> scores[] = {
        {verdicts({}), "0"},
        {verdicts({{true, 3}, {false, 1}}), "75"},
        {verdicts({{true, 0}, {false, 0}, {false, 0}}), "33.3"},
    };
    for (const auto& [row, shown] : scores) {
        EXPECT_EQ(percentText(scorePercent(row)), shown);
    }
}

TEST(ClassCsv, QuotesAFieldOnlyWhereItMust) {
    const std::pair<std::string, std::string> table[] = {
        {"plain name", "plain name"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
        {"", ""},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+1", "'+1"},
        {"-1", "'-1"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tx", "'\tx"},
        {"\rx", "\"'\rx\""},
        {"a=b", "a=b"},
    };
    for (const auto& [field, written] : table) {
        EXPECT_EQ(csvField(field), written);
    }
}

} // namespace
