// check-list --class: checks every submission of a class with check-list, a few at a time, and
// reports each as it finishes, then the class as a summary, a CSV file and a page.
#include "checkerPool.h"
#include "classOptions.h"
#include "classReports.h"
#include "processTree.h"
#include "safeText.h"
#include "status.h"
#include "submissions.h"
#include "translate.h"
#include "verdict.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>

namespace fs = std::filesystem;

namespace {

// A folder of the run's own for the checks' results and messages, removed with the run.
class WorkFolder {
  public:
    bool create() {
        const fs::path base = getenv("TMPDIR") != nullptr ? getenv("TMPDIR") : "/tmp";
        std::string pattern = (base / "checkClass.XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            return false;
        }
        path_ = pattern;
        return true;
    }
    ~WorkFolder() {
        std::error_code ignored;
        if (!path_.empty()) {
            fs::remove_all(path_, ignored);
        }
    }
    const fs::path& path() const {
        return path_;
    }

  private:
    fs::path path_;
};

// The runner's options for every submission, with one seed for all, so that every list meets
// the same extended checks and the same list gets the same results.
std::vector<std::string> runnerOptions(const ClassOptions& options, std::string& seed) {
    std::vector<std::string> given = options.runnerOptions;
    for (size_t i = 0; i < given.size(); i++) {
        if (given[i].starts_with("--seed=")) {
            seed = given[i].substr(7);
        } else if (given[i] == "--seed" && i + 1 < given.size()) {
            seed = given[i + 1];
        }
    }
    if (seed.empty()) {
        seed = std::to_string(std::random_device{}() % 1000000000);
        given.insert(given.end(), {"--seed", seed});
    }
    return given;
}

// check-list with the class's own options, its output to folder/log.
Check checkListIn(size_t id, const fs::path& folder, const ClassOptions& options) {
    Check check{id, {options.checkList}, folder / "work", folder / "log"};
    if (options.noSandbox) {
        check.argv.push_back("--no-sandbox");
    }
    if (options.basic) {
        check.argv.push_back("--basic");
    }
    return check;
}

// The command that checks a submission, its results written to json.
Check checkOf(size_t id, const Submission& submission, const fs::path& folder,
              const ClassOptions& options, const std::vector<std::string>& runner) {
    Check check = checkListIn(id, folder, options);
    for (const fs::path& source : submission.sources) {
        check.argv.push_back(source.string());
    }
    check.argv.push_back("--");
    check.argv.insert(check.argv.end(), runner.begin(), runner.end());
    check.argv.insert(check.argv.end(), {"--json", (folder / "results.json").string()});
    return check;
}

std::string readLog(const fs::path& path) {
    constexpr size_t KEPT = size_t{64} * 1024;
    std::string text(KEPT, '\0');
    FILE* file = fopen(path.c_str(), "r");
    const size_t length = file == nullptr ? 0 : fread(text.data(), 1, KEPT, file);
    if (file != nullptr) {
        fclose(file);
    }
    text.resize(length);
    return text;
}

// The last line of text, or "".
std::string lastLine(std::string_view text) {
    while (text.ends_with('\n')) {
        text.remove_suffix(1);
    }
    const size_t start = text.rfind('\n');
    return std::string(start == std::string_view::npos ? text : text.substr(start + 1));
}

// Runs check-list --check-setup, which checks what is the grader's and not a submission's (the
// suite, the sandbox, the runner's options) before any submission is blamed for it, its line
// shown when it fails. 0 when it holds, EXIT_TROUBLE when it does not, or minus the signal
// that stopped the run.
int checkSetup(const ClassOptions& options, const fs::path& work,
               const std::vector<std::string>& runner) {
    const fs::path folder = work / "setup";
    std::error_code error;
    fs::create_directories(folder / "work", error);
    Check check = checkListIn(0, folder, options);
    check.argv.insert(check.argv.begin() + 1, "--check-setup");
    check.argv.push_back("--");
    check.argv.insert(check.argv.end(), runner.begin(), runner.end());
    CheckerPool pool(options.timeLimit);
    const auto ended = !error && pool.start(check) ? pool.next() : std::nullopt;
    if (ended && WIFEXITED(ended->status) && WEXITSTATUS(ended->status) == EXIT_OK) {
        return 0;
    }
    if (pool.interruption() != 0) {
        return -pool.interruption();
    }
    const std::string line = lastLine(readLog(check.log));
    fprintf(stderr, "%s\n",
            shown(line.empty() ? std::string("check-list: ") + tr("the setup check failed") : line)
                .c_str());
    return EXIT_TROUBLE;
}

// "[done/total] name: status, P of C cases passed: reason".
void printRow(const Row& row, size_t done, size_t total) {
    // Appended piece by piece: g++ 12 at -O3 warns falsely of overlapping copies in a chain of +.
    std::string line = "[";
    line.append(std::to_string(done)).append("/").append(std::to_string(total)).append("] ");
    line.append(shown(row.name)).append(": ").append(statusName(row.status));
    if (!row.cases.empty()) {
        char counts[128];
        snprintf(counts, sizeof counts, tr(", %zu of %zu cases passed"), row.passed(),
                 row.cases.size());
        line.append(counts);
    }
    if (!row.reason.empty()) {
        line.append(": ").append(shown(row.reason));
    }
    printf("%s\n", line.c_str());
    fflush(stdout);
}

// Checks the submissions, each list once: a submission with the same sources as an earlier one
// gets that one's row. Fills rows in the submissions' order; 0 when every submission has its
// row, minus the signal that stopped the run, or EXIT_TROUBLE when a check could not be started.
int checkAll(const std::vector<Submission>& submissions, const ClassOptions& options,
             const fs::path& work, const std::vector<std::string>& runner, std::vector<Row>& rows) {
    rows.assign(submissions.size(), Row{});
    std::vector<std::vector<size_t>> copies(submissions.size());
    std::vector<size_t> queue;
    std::map<std::string, size_t> firstWith;
    size_t done = 0;
    auto finish = [&](size_t i, const Row& row) {
        rows[i] = row;
        printRow(row, ++done, submissions.size());
        for (const size_t copy : copies[i]) {
            rows[copy] = row;
            rows[copy].name = submissions[copy].name;
            printRow(rows[copy], ++done, submissions.size());
        }
    };
    for (size_t i = 0; i < submissions.size(); i++) {
        const std::string key = contentKey(submissions[i]);
        if (submissions[i].sources.empty()) {
            finish(i, withoutSources(submissions[i].name));
        } else if (const auto first = firstWith.find(key);
                   !key.empty() && first != firstWith.end()) {
            copies[first->second].push_back(i);
        } else {
            firstWith.emplace(key, i);
            queue.push_back(i);
        }
    }
    CheckerPool pool(options.timeLimit);
    for (size_t next = 0; done < submissions.size();) {
        while (pool.running() < options.jobs && next < queue.size()) {
            const size_t i = queue[next++];
            const fs::path folder = work / std::to_string(i);
            std::error_code error;
            fs::create_directories(folder / "work", error);
            if (error || !pool.start(checkOf(i, submissions[i], folder, options, runner))) {
                fprintf(stderr, tr("check-list: cannot start the check of %s: %s\n"),
                        shown(submissions[i].name).c_str(),
                        (error ? error.message() : std::string(strerror(errno))).c_str());
                return EXIT_TROUBLE;
            }
        }
        const auto ended = pool.next();
        if (!ended) {
            return -pool.interruption();
        }
        const fs::path folder = work / std::to_string(ended->id);
        const Submission& submission = submissions[ended->id];
        finish(ended->id, judge(submission.name, {ended->status, ended->timedOut, options.timeLimit,
                                                  readLog(folder / "log"), folder / "results.json",
                                                  submission.folder}));
    }
    return 0;
}

// Writes the files asked for; false, with a message, when one fails.
bool writeReports(const ClassOptions& options, const std::vector<Row>& rows) {
    const auto failed = [](const std::string& path) {
        fprintf(stderr, tr("check-list: %s: cannot write: %s\n"), path.c_str(), strerror(errno));
        return false;
    };
    if (options.csv && !writeCsv(*options.csv, rows)) {
        return failed(*options.csv);
    }
    const std::string title = tr("Class %s", fs::absolute(options.classFolder).filename().string());
    if (options.html && !writeHtml(*options.html, rows, title)) {
        return failed(*options.html);
    }
    return true;
}

// The whole run; its exit status, or minus the signal that stopped it. Throughout this file a
// run a signal stopped is told by minus that signal, which no exit status can be.
int checkClass(ClassOptions& options) {
    std::vector<Submission> all;
    std::string error;
    if (!findSubmissions(options.classFolder, all, error)) {
        fprintf(stderr, "check-list: %s: %s\n", options.classFolder.c_str(), error.c_str());
        return EXIT_TROUBLE;
    }
    const std::vector<Submission> submissions = shardOf(all, options.shard, options.shards);
    if (const char* tmpdir = getenv("TMPDIR");
        tmpdir != nullptr &&
        (tmpdir[0] != '/' || !fs::is_directory(tmpdir) || access(tmpdir, W_OK | X_OK) != 0)) {
        fprintf(stderr,
                tr("check-list: TMPDIR must be an absolute path of a writable folder, not "
                   "'%s'\n"),
                shown(tmpdir).c_str());
        return EXIT_TROUBLE;
    }
    WorkFolder work;
    if (!work.create()) {
        fprintf(stderr, tr("check-list: cannot create a working folder: %s\n"), strerror(errno));
        return EXIT_TROUBLE;
    }
    options.checkList = fs::absolute(options.checkList).string();
    std::string seed;
    const std::vector<std::string> runner = runnerOptions(options, seed);
    if (const int setup = checkSetup(options, work.path(), runner); setup != 0) {
        return setup;
    }
    std::vector<Row> rows;
    if (const int stopped = checkAll(submissions, options, work.path(), runner, rows);
        stopped != 0) {
        return stopped;
    }
    const bool anyError = std::any_of(rows.begin(), rows.end(),
                                      [](const Row& row) { return row.status == Status::error; });
    printf(tr("%s (seed %s)\n"), classSummary(rows).c_str(), seed.c_str());
    if (!writeReports(options, rows)) {
        return EXIT_TROUBLE;
    }
    if (!flushOutput()) {
        fprintf(stderr, tr("check-list: cannot write the results: %s\n"), strerror(errno));
        return EXIT_TROUBLE;
    }
    return anyError ? EXIT_TROUBLE : EXIT_OK;
}

} // namespace

int main(int argc, char** argv) {
    // A closed pipe then shows as a failed write, which the run reports, and not as a kill.
    startTranslations();
    (void)signal(SIGPIPE, SIG_IGN);
    ClassOptions options;
    if (const auto status = parseClassOptions(argc, argv, options)) {
        return *status;
    }
    const int status = checkClass(options);
    if (status >= 0) {
        return status;
    }
    // Every check is ended and the working folder gone: end as the signal would have.
    fflush(stdout);
    fprintf(stderr, tr("check-list: stopped by SIG%s\n"), sigabbrev_np(-status));
    endAsSignal(-status);
}
