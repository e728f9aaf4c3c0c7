#ifndef VERDICT_H
#define VERDICT_H

// What the check of one submission found: its status, its cases and, where it could not be
// checked as a list, why.

#include <filesystem>
#include <string>
#include <vector>

// error: the grader could not check the submission (check-list's own trouble, a signal that was
// not the time limit's, no results): its fault and not the list's.
enum class Status { passed, failed, buildError, layoutError, error };

// Whether status is one of the enum's. The switch names every status, so that the compiler refuses
// a status added to the enum until it is named here too, and STATUSES follows it.
constexpr bool isStatus(Status status) {
    switch (status) {
    case Status::passed:
    case Status::failed:
    case Status::buildError:
    case Status::layoutError:
    case Status::error:
        return true;
    }
    return false;
}

// How many statuses there are, their values running from 0 in the enum's order: the length of an
// array that a status indexes.
inline constexpr int STATUSES = [] {
    int count = 0;
    while (isStatus(static_cast<Status>(count))) {
        ++count;
    }
    return count;
}();

// "passed", "failed", "build-error", "layout-error", "error".
const char* statusName(Status status);

struct CaseVerdict {
    std::string name;
    bool passed = false;
    double score = 0;
    double maxScore = 0;
    std::string output; // why it failed and its report block
};

struct Row {
    std::string name; // the submission's
    Status status = Status::failed;
    std::vector<CaseVerdict> cases;
    std::string reason;  // one line: why it did not pass, where that is not a case's report
    std::string message; // the checker's own messages, for a submission that was not run
    size_t passed() const;
    double score() const;
    double maxScore() const;
};

// What the checker's run tells: how it ended (status as waitpid gives it, or timedOut after
// timeLimit seconds), what it printed (log) and the results it wrote (json, absent when it wrote
// none). Paths under folder, the submission's, are shown relative to it.
struct CheckerRun {
    int status = 0;
    bool timedOut = false;
    double timeLimit = 0;
    std::string log;
    std::filesystem::path json;
    std::filesystem::path folder;
};

Row judge(const std::string& name, const CheckerRun& run);

// "N submissions: N passed, N failed, N build-error, N layout-error, N error".
std::string classSummary(const std::vector<Row>& rows);

// A row for a submission without a source file.
Row withoutSources(const std::string& name);

#endif
