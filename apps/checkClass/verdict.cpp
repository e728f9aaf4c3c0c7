// Judging a submission from its checker's run.
#include "verdict.h"

#include "status.h"

#include <signal.h>
#include <sys/wait.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

namespace {

// The lines of text.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// text with every occurrence of the submission's folder and the '/' behind it taken out.
std::string relative(std::string text, const std::filesystem::path& folder) {
    const std::string prefix = folder.string() + "/";
    for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at)) {
        text.erase(at, prefix.size());
    }
    return text;
}

// The first line holding one of the marks, or "".
std::string firstLineWith(const std::vector<std::string>& lines,
                          std::initializer_list<const char*> marks) {
    for (const std::string& line : lines) {
        for (const char* mark : marks) {
            if (line.find(mark) != std::string::npos) {
                return line;
            }
        }
    }
    return "";
}

// Reads the cases from the checker's JSON; false when there is no such file or it is not the
// results' form.
bool readCases(const std::filesystem::path& path, const std::filesystem::path& folder,
               std::vector<CaseVerdict>& cases) {
    std::ifstream file(path);
    const nlohmann::json results = nlohmann::json::parse(file, nullptr, false);
    if (!results.is_object() || !results.contains("tests") || !results["tests"].is_array()) {
        return false;
    }
    for (const nlohmann::json& test : results["tests"]) {
        if (!test.is_object() || !test.value("name", nlohmann::json()).is_string() ||
            !test.value("score", nlohmann::json()).is_number() ||
            !test.value("max_score", nlohmann::json()).is_number()) {
            return false;
        }
        cases.push_back({test["name"], test.value("status", "") == "passed", test["score"],
                         test["max_score"], relative(test.value("output", ""), folder)});
    }
    return true;
}

// The line of lines that says why, or else their last one, or else otherwise.
std::string reasonIn(const std::vector<std::string>& lines,
                     std::initializer_list<const char*> marks, const std::string& otherwise) {
    const std::string line = firstLineWith(lines, marks);
    return !line.empty() ? line : lines.empty() ? otherwise : lines.back();
}

} // namespace

const char* statusName(Status status) {
    static constexpr const char* NAMES[] = {"passed", "failed", "build-error", "layout-error",
                                            "error"};
    static_assert(std::size(NAMES) == STATUSES, "a name for every status");
    return NAMES[static_cast<int>(status)];
}

size_t Row::passed() const {
    size_t count = 0;
    for (const CaseVerdict& verdict : cases) {
        count += verdict.passed ? 1 : 0;
    }
    return count;
}

double Row::score() const {
    double sum = 0;
    for (const CaseVerdict& verdict : cases) {
        sum += verdict.score;
    }
    return sum;
}

double Row::maxScore() const {
    double sum = 0;
    for (const CaseVerdict& verdict : cases) {
        sum += verdict.maxScore;
    }
    return sum;
}

Row judge(const std::string& name, const CheckerRun& run) {
    Row row;
    row.name = name;
    row.message = relative(run.log, run.folder);
    const std::vector<std::string> lines = linesOf(row.message);
    if (run.timedOut) {
        char text[96];
        snprintf(text, sizeof text, "not done after %g s: stopped", run.timeLimit);
        row.reason = text;
        return row;
    }
    if (WIFSIGNALED(run.status)) {
        const char* abbreviation = sigabbrev_np(WTERMSIG(run.status));
        row.status = Status::error;
        row.reason = std::string("the check ended by SIG") + (abbreviation ? abbreviation : "?");
        return row;
    }
    const int exit = WEXITSTATUS(run.status);
    if (exit == EXIT_BUILD) {
        row.status = Status::buildError;
        row.reason = reasonIn(
            lines, {": error: ", ": fatal error: ", "undefined reference", "multiple definition"},
            "the list does not build");
        return row;
    }
    if (exit == EXIT_LAYOUT) {
        row.status = Status::layoutError;
        row.reason = reasonIn(lines, {"LinkedList.h"}, "the list's records are laid out otherwise");
        return row;
    }
    row.status = Status::error;
    if (exit != EXIT_OK && exit != EXIT_FAILED) {
        row.reason =
            lines.empty() ? "the check ended with status " + std::to_string(exit) : lines.back();
        return row;
    }
    if (!readCases(run.json, run.folder, row.cases)) {
        row.cases.clear();
        row.reason = "the check wrote no results" + (lines.empty() ? "" : ": " + lines.back());
        return row;
    }
    const bool allPassed = row.passed() == row.cases.size() && !row.cases.empty();
    row.status = exit == EXIT_OK && allPassed ? Status::passed : Status::failed;
    if (row.status == Status::failed && allPassed) {
        row.reason = "the check ended with status " + std::to_string(exit);
    }
    return row;
}

Row withoutSources(const std::string& name) {
    Row row;
    row.name = name;
    row.status = Status::buildError;
    row.reason = "no .c or .cpp file in the folder";
    return row;
}

std::string classSummary(const std::vector<Row>& rows) {
    size_t counts[STATUSES] = {};
    for (const Row& row : rows) {
        counts[static_cast<int>(row.status)]++;
    }
    std::string text =
        std::to_string(rows.size()) + (rows.size() == 1 ? " submission:" : " submissions:");
    for (int i = 0; i < STATUSES; i++) {
        text += std::string(i == 0 ? " " : ", ") + std::to_string(counts[i]) + " " +
                statusName(static_cast<Status>(i));
    }
    return text;
}
