// The class runner's options: its table, from which the help is written, and what each does.
#include "classOptions.h"

#include "numbers.h"
#include "translate.h"
#include "usage.h"

#include <sched.h>

namespace {

enum Id { CLASS = 1, CHECK_LIST, JOBS, CSV, HTML, SHARD, TIME_LIMIT, BASIC, NO_SANDBOX };

// The most parts a class is cut into.
constexpr unsigned long long MOST_SHARDS = 100000;

constexpr Option CLASS_OPTIONS[] = {
    {"--class", "", Takes::text, "DIR",
     trLater("check every folder directly under DIR as one submission"), CLASS},
    {"--check-list", "", Takes::text, "PROGRAM",
     trLater("the check-list that checks each submission (check-list names itself)"), CHECK_LIST},
    {"--jobs", "", Takes::whole, "N",
     trLater("check N submissions at once (default: the processors)"), JOBS, 1, 256},
    {"--csv", "", Takes::text, "FILE", trLater("write a row per submission to FILE as CSV"), CSV},
    {"--html", "", Takes::text, "FILE",
     trLater("write the class as a page of submissions by cases to FILE"), HTML},
    {"--shard", "", Takes::text, "K/N",
     trLater("check only the K-th of N consecutive parts of the sorted\n"
             "submissions"),
     SHARD},
    {"--time-limit", "", Takes::seconds, "SECS",
     trLater("stop a submission's build and check after SECS seconds\n"
             "(default 600, at most 86400)"),
     TIME_LIMIT, 0, 86400},
    {"--basic", "", Takes::nothing, nullptr,
     trLater("check the 33 conformance cases alone, without the extended\n"
             "checks"),
     BASIC},
    {"--no-sandbox", "", Takes::nothing, nullptr,
     trLater("build and run every list with your own rights, outside the\n"
             "sandbox (only for a class whose code you trust)"),
     NO_SANDBOX},
};

constexpr CommandLine::Program PROGRAM = {
    "check-list",
    false,
    trLater(" --class DIR [OPTION]... [-- RUNNER_OPTION...]"),
    trLater("Checks every folder directly under DIR as one submission: its .c and .cpp files\n"
            "are the list, checked with its own LinkedList.h as check-list checks a single\n"
            "list. Prints a line per submission as it finishes, then a summary.\n"
            "\n"),
    CLASS_OPTIONS,
    trLater("Options after -- go to probeRunner for every submission (--group, --timeout ...).\n"
            "Every submission meets the conformance cases and the extended checks, leaks\n"
            "included, with one seed.\n"
            "\n"
            "Before the first submission, check-list --check-setup checks the suite, the\n"
            "sandbox and the runner's options. A submission's status is passed, failed,\n"
            "build-error, layout-error, or error when the grader could not check it.\n"
            "\n"
            "Exit status: 0 when every submission was checked, whatever its lists did; 2 for\n"
            "a usage error, a failed setup check, a submission in error, or when the run\n"
            "itself failed.\n"),
    0,
    true,
    Speaks::userLanguage,
};

size_t processors() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
        return static_cast<size_t>(CPU_COUNT(&set));
    }
    return 1;
}

// K/N with 1 <= K <= N; why not, or "".
std::string applyShard(std::string_view value, ClassOptions& options) {
    const size_t slash = value.find('/');
    const auto shards = slash == std::string_view::npos
                            ? std::nullopt
                            : readWhole(value.substr(slash + 1), 1, MOST_SHARDS);
    const auto shard = shards ? readWhole(value.substr(0, slash), 1, *shards) : std::nullopt;
    if (!shard) {
        return tr("the shard must be K/N with 1 <= K <= N, not '%s'", std::string(value));
    }
    options.shard = *shard;
    options.shards = *shards;
    return "";
}

std::string apply(const Given& given, ClassOptions& options) {
    switch (given.option.id) {
    case CLASS:
        options.classFolder = given.text;
        break;
    case CHECK_LIST:
        options.checkList = given.text;
        break;
    case JOBS:
        options.jobs = given.whole;
        break;
    case CSV:
        options.csv = given.text;
        break;
    case HTML:
        options.html = given.text;
        break;
    case SHARD:
        return applyShard(given.text, options);
    case TIME_LIMIT:
        options.timeLimit = given.seconds;
        break;
    case BASIC:
        options.basic = true;
        break;
    default:
        options.noSandbox = true;
    }
    return "";
}

} // namespace

std::optional<int> parseClassOptions(int argc, char** argv, ClassOptions& options) {
    const CommandLine line(PROGRAM, argc, argv);
    std::vector<const char*> runner;
    if (const auto status =
            line.read([&options](const Given& given) { return apply(given, options); }, runner)) {
        return status;
    }
    options.runnerOptions.assign(runner.begin(), runner.end());
    if (options.classFolder.empty() || options.checkList.empty()) {
        return line.refuse(options.classFolder.empty()
                               ? tr("name the class folder with --class DIR")
                               : tr("name the checker with --check-list"));
    }
    if (options.jobs == 0) {
        options.jobs = processors();
    }
    return std::nullopt;
}
