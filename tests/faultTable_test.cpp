// Every faulty list of the table tests/lists/faults.md is caught where the table says, by the 33
// conformance cases and by the extended checks; the run prints which cases fail against each.
#include "faultyRuns.h"
#include "files.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>
#include <iostream>
#include <regex>
#include <sstream>

extern char** environ;

using namespace faulty;

namespace {

// The timeout of the matrix's runs: a hanging case costs this much, a case that answers takes
// far less.
const std::string SHORT_TIMEOUT = "0.25";

// A row of the table of faulty lists.
struct Row {
    std::string fault;
    std::string base;
    bool caughtByConformance;
    bool caughtExtended;
};

std::vector<Row> readTable() {
    static const std::regex ROW(
        "\\| `(\\w+)` \\| `(\\w+\\.c)` \\| .* \\| (yes|no) \\| (yes|no) \\|");
    std::istringstream lines(console::readFile(FAULT_TABLE));
    std::vector<Row> rows;
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_match(line, match, ROW)) {
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
    constexpr size_t AT_ONCE = 2;
    size_t started = 0;
    size_t running = 0;
    while (started < runs.size() || running > 0) {
        if (started < runs.size() && running < AT_ONCE) {
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
        runs.push_back({row.fault, {"--timeout", SHORT_TIMEOUT}, stem + ".xml"});
        runs.push_back({row.fault,
                        {"--extended", "--seed", "1", "--timeout", SHORT_TIMEOUT},
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
        EXPECT_EQ(plain.size(), static_cast<size_t>(CONFORMANCE)) << row.fault;
        EXPECT_EQ(extended.size(), static_cast<size_t>(EVERY_CASE)) << row.fault;
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

} // namespace
