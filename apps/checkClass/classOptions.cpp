// The class runner's options, their checks and its help.
#include "classOptions.h"

#include "numbers.h"
#include "translate.h"
#include "usage.h"

#include <sched.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// The help, in the user's language.
const char* usageText() {
    return tr("Usage: check-list --class DIR [OPTION]... [-- RUNNER_OPTION...]\n"
              "Checks every folder directly under DIR as one submission: its .c and .cpp files\n"
              "are the list, checked with its own LinkedList.h as check-list checks a single\n"
              "list. Prints a line per submission as it finishes, then a summary.\n"
              "\n"
              "  --jobs N           check N submissions at once (default: the processors)\n"
              "  --csv FILE         write a row per submission to FILE as CSV\n"
              "  --html FILE        write the class as a page of submissions by cases to FILE\n"
              "  --shard K/N        check only the K-th of N consecutive parts of the sorted\n"
              "                     submissions\n"
              "  --time-limit SECS  stop a submission's build and check after SECS seconds\n"
              "                     (default 600)\n"
              "  --basic            check the 33 conformance cases alone, without the extended\n"
              "                     checks\n"
              "  --no-sandbox       build and run every list with your own rights, outside the\n"
              "                     sandbox (only for a class whose code you trust)\n"
              "  --help             show this help\n"
              "Options after -- go to probeRunner for every submission (--group, --timeout ...).\n"
              "Every submission meets the conformance cases and the extended checks, leaks\n"
              "included, with one seed.\n"
              "\n"
              "Before the first submission, check-list --check-setup checks the suite, the\n"
              "sandbox and the runner's options. A submission's status is passed, failed,\n"
              "build-error, layout-error, or error when the grader could not check it.\n"
              "\n"
              "Exit status: 0 when every submission was checked, whatever its lists did; 2 for\n"
              "a usage error, a failed setup check, a submission in error, or when the run\n"
              "itself failed.\n");
}

int usageError(const std::string& message) {
    fprintf(stderr, tr("check-list: %s\nTry 'check-list --class --help'.\n"), message.c_str());
    return EXIT_USAGE;
}

size_t processors() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
        return static_cast<size_t>(CPU_COUNT(&set));
    }
    return 1;
}

// Applies an option and its value; the exit status of a usage error, or nothing.
std::optional<int> apply(std::string_view option, const std::string& value, ClassOptions& options) {
    if (option == "--class") {
        options.classFolder = value;
    } else if (option == "--check-list") {
        options.checkList = value;
    } else if (option == "--csv") {
        options.csv = value;
    } else if (option == "--html") {
        options.html = value;
    } else if (option == "--jobs") {
        options.jobs = wholeNumber(value, 256);
        if (options.jobs == 0) {
            return usageError(tr("the jobs must be a whole number from 1 to 256, not '%s'", value));
        }
    } else if (option == "--shard") {
        const size_t slash = value.find('/');
        options.shards =
            slash == std::string::npos ? 0 : wholeNumber(value.substr(slash + 1), 100000);
        options.shard =
            options.shards == 0 ? 0 : wholeNumber(value.substr(0, slash), options.shards);
        if (options.shard == 0) {
            return usageError(tr("the shard must be K/N with 1 <= K <= N, not '%s'", value));
        }
    } else { // --time-limit
        options.timeLimit = isDecimal(value) ? strtod(value.c_str(), nullptr) : 0;
        if (options.timeLimit <= 0 || options.timeLimit > 86400) {
            return usageError(tr("the time limit must be a number of seconds above 0 and at most "
                                 "86400, not '%s'",
                                 value));
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<int> parseClassOptions(int argc, char** argv, ClassOptions& options) {
    static constexpr std::string_view kValued[] = {
        "--class", "--check-list", "--csv", "--html", "--jobs", "--shard", "--time-limit"};
    // Help wins wherever it stands before "--", even where an option would take it as its value
    // (check-list --class --help).
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; i++) {
        if (asksForHelp(argv[i])) {
            fputs(usageText(), stdout);
            return flushOutput() ? EXIT_OK : EXIT_TROUBLE;
        }
    }
    for (int i = 1; i < argc; i++) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            options.runnerOptions.assign(argv + i + 1, argv + argc);
            break;
        }
        if (argument == "--no-sandbox" || argument == "--basic") {
            (argument == "--basic" ? options.basic : options.noSandbox) = true;
            continue;
        }
        const size_t equals = argument.find('=');
        const std::string_view option = argument.substr(0, equals);
        bool known = false;
        for (const std::string_view valued : kValued) {
            known = known || option == valued;
        }
        if (!known) {
            return usageError(tr("unknown option '%s'", std::string(argument)));
        }
        if (equals == std::string_view::npos && i + 1 == argc) {
            return usageError(tr("option '%s' needs a value", std::string(option)));
        }
        const std::string value = equals == std::string_view::npos
                                      ? std::string(argv[++i])
                                      : std::string(argument.substr(equals + 1));
        if (const auto status = apply(option, value, options)) {
            return status;
        }
    }
    if (options.classFolder.empty() || options.checkList.empty()) {
        return usageError(options.classFolder.empty() ? tr("name the class folder with --class DIR")
                                                      : tr("name the checker with --check-list"));
    }
    if (options.jobs == 0) {
        options.jobs = processors();
    }
    return std::nullopt;
}
