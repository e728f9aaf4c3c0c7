// probeRunner's command line: one table of the options, from which the help is written and
// by which each option is read, and what each does.
#include "runnerOptions.h"

#include "numbers.h"
#include "probeSeed.h"
#include "translate.h"
#include "usage.h"

#include <fcntl.h>

#include <algorithm>
#include <climits>
#include <string_view>

namespace {

// The longest timeout accepted: a day, far beyond any case, and well inside what the clock and
// poll() can count.
constexpr unsigned long long MAX_TIMEOUT = 86400;

enum Id {
    GROUP = 1,
    CASE,
    EXTENDED,
    SEED,
    LIST,
    TAP,
    JUNIT,
    JSON,
    WEIGHTS,
    REPORT,
    FAILURES,
    VERBOSE,
    REPRO,
    NO_FORK,
    TIMEOUT,
    TRANSCRIPT,
    CASE_TIMEOUT,
};

// Every option, in the order the help shows them.
constexpr Option RUNNER_OPTIONS[] = {
    {"--group", "", Takes::text, "NAME",
     trLater("run only the cases of group NAME (may be repeated)"), GROUP},
    {"--case", "", Takes::text, "NAME",
     trLater("run only case NAME: a full name such as extractProbeCase04, or a\n"
             "number such as Case04 for that case of every group (may be repeated)"),
     CASE},
    {"--extended", "", Takes::nothing, nullptr,
     trLater("after the conformance cases, run the extended checks"), EXTENDED},
    {"--seed", "", Takes::whole, "N",
     trLater("draw the extended checks' random operations from seed N, in\n"
             "decimal digits (default: a new seed each run, printed in the report)"),
     SEED, 0, ULLONG_MAX},
    {"--list", "", Takes::nothing, nullptr,
     trLater("list the selected cases instead of running them"), LIST},
    {"--tap", "", Takes::nothing, nullptr, trLater("write a TAP stream instead of the plain lines"),
     TAP},
    {"--junit", "", Takes::text, "FILE", trLater("also write the results to FILE as JUnit XML"),
     JUNIT},
    {"--json", "", Takes::text, "FILE", trLater("also write the results to FILE as graders' JSON"),
     JSON},
    {"--weights", "", Takes::text, "FILE",
     trLater("the points of the cases in the JSON (default: one a case)"), WEIGHTS},
    {"--report", "", Takes::nothing, nullptr,
     trLater("after the results, print the whole report the cases wrote"), REPORT},
    {"--failures", "", Takes::nothing, nullptr,
     trLater("show only the failed cases and the summary"), FAILURES},
    {"--verbose", "", Takes::nothing, nullptr,
     trLater("show a sanitizer's reports whole, not cut down to the list's frames"), VERBOSE},
    {"--repro", "", Takes::text, "FILE",
     trLater("when the model check fails, write its program to FILE, ready to\n"
             "compile with the list"),
     REPRO},
    {"--no-fork", "", Takes::nothing, nullptr,
     trLater("run the cases in this process (for a debugger): no crash, hang or\n"
             "output protection"),
     NO_FORK},
    {"--timeout", "", Takes::seconds, "SECONDS",
     trLater("fail a case still running after SECONDS, decimal digits with an\n"
             "optional fraction such as 0.5 (default 5, at most 86400)"),
     TIMEOUT, 0, MAX_TIMEOUT},
    {"--transcript", "", Takes::whole, "FD",
     trLater("write each case's line for the judge to descriptor FD (as JSON),\n"
             "and no summary: the judge decides the verdicts"),
     TRANSCRIPT, 3, INT_MAX},
    {"--case-timeout", "", Takes::text, "NAME=SECONDS",
     trLater("fail case NAME (its full name) after SECONDS instead (may be\n"
             "repeated)"),
     CASE_TIMEOUT},
};

constexpr CommandLine::Program PROGRAM = {
    "probeRunner",
    false,
    trLater(" [OPTION]..."),
    trLater(
        "Runs the linked-list conformance cases against the list this program was built with.\n"
        "Each case runs in processes of its own: a crash, a hang, an exit or a stray process of\n"
        "the list fails that case alone, and what the list prints is kept out of the results.\n"
        "\n"),
    RUNNER_OPTIONS,
    trLater("\n"
            "Exit status: 0 when no case failed, 1 when one did, 2 for a usage error or when the\n"
            "runner itself fails (its output, a pipe, a fork, the JUnit or JSON file).\n"),
    0,
    false,
    Speaks::userLanguage,
};

const CommandLine& commandLine(int argc = 0, char** argv = nullptr) {
    static const CommandLine line(PROGRAM, argc, argv);
    return line;
}

// NAME=SECONDS for a case of its full name; why not, or "".
std::string applyCaseTimeout(std::string_view value, Options& options) {
    const size_t equals = value.find('=');
    const std::string name(value.substr(0, equals));
    const auto seconds = equals == std::string_view::npos
                             ? std::nullopt
                             : readSeconds(value.substr(equals + 1), MAX_TIMEOUT);
    if (!isCase(name) || name.starts_with("Case") || !seconds) {
        return tr("a case's timeout is NAME=SECONDS, a case's full name and seconds as "
                  "--timeout takes them, not '%s'",
                  std::string(value));
    }
    options.caseTimeouts[name] = *seconds;
    return "";
}

// What an option that takes no value turns on (--no-fork: off).
bool& switchOf(int id, Options& options) {
    switch (id) {
    case EXTENDED:
        return options.extended;
    case LIST:
        return options.list;
    case TAP:
        return options.tap;
    case REPORT:
        return options.report;
    case FAILURES:
        return options.failuresOnly;
    case VERBOSE:
        return options.verbose;
    default:
        return options.fork;
    }
}

std::string apply(const Given& given, Options& options) {
    const std::string value(given.text);
    switch (given.option.id) {
    case GROUP:
        if (!isGroup(value)) {
            return tr("no group is named '%s'", value);
        }
        options.groups.push_back(value);
        break;
    case CASE:
        if (!isCase(value)) {
            return tr("no case is named '%s'", value);
        }
        options.cases.push_back(value);
        break;
    case SEED:
        probeSeed = given.whole;
        break;
    case TIMEOUT:
        options.timeout = given.seconds;
        break;
    case TRANSCRIPT:
        if (fcntl(static_cast<int>(given.whole), F_GETFD) < 0) {
            return tr("the transcript needs an open descriptor above 2, not '%s'", value);
        }
        options.transcript = static_cast<int>(given.whole);
        break;
    case CASE_TIMEOUT:
        return applyCaseTimeout(given.text, options);
    case JUNIT:
        options.junit = value;
        break;
    case JSON:
        options.json = value;
        break;
    case REPRO:
        options.repro = value;
        break;
    case WEIGHTS:
        options.weightsFile = value;
        break;
    default:
        switchOf(given.option.id, options) = given.option.id != NO_FORK;
    }
    return "";
}

} // namespace

int usageError(const std::string& message) {
    return commandLine().refuse(message);
}

std::optional<int> parseOptions(int argc, char** argv, Options& options) {
    std::vector<const char*> none;
    const CommandLine& line = commandLine(argc, argv);
    if (const auto status =
            line.read([&options](const Given& given) { return apply(given, options); }, none)) {
        return status;
    }
    if (options.failuresOnly && options.tap) {
        return usageError(tr("--failures leaves out lines a TAP stream needs: not with --tap"));
    }
    if (options.weightsFile && !options.weights.read(*options.weightsFile)) {
        return EXIT_TROUBLE; // the weights said why
    }
    return std::nullopt;
}

double timeoutOf(const ProbeCase& probe, const Options& options) {
    const auto own = options.caseTimeouts.find(probe.name);
    return own != options.caseTimeouts.end() ? own->second : options.timeout;
}

bool isSelected(const ProbeCase& probe, const Options& options) {
    if (probe.extended && !options.extended) {
        return false;
    }
    auto matches = [](const std::vector<std::string>& filters, auto&& test) {
        return filters.empty() || std::any_of(filters.begin(), filters.end(), test);
    };
    return matches(options.groups, [&](const std::string& g) { return g == probe.group; }) &&
           matches(options.cases, [&](const std::string& c) { return caseMatches(probe, c); });
}
