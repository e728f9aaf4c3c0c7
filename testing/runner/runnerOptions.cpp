// probeRunner's command line: the options, their checks and the help text.
#include "runnerOptions.h"

#include "probeSeed.h"
#include "usage.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// The longest timeout accepted: a day, far beyond any case, and well inside what the clock and
// poll() can count.
constexpr double kMaxTimeout = 86400;

constexpr char kUsage[] = R"(Usage: probeRunner [OPTION]...
Runs the linked-list conformance cases against the list this program was built with.
Each case runs in processes of its own: a crash, a hang, an exit or a stray process of
the list fails that case alone, and what the list prints is kept out of the results.

  --group NAME       run only the cases of group NAME (may be repeated)
  --case NAME        run only case NAME: a full name such as extractProbeCase04, or a
                     number such as Case04 for that case of every group (may be repeated)
  --extended         after the conformance cases, run the extended checks
  --seed N           draw the extended checks' random operations from seed N, in
                     decimal digits (default: a new seed each run, printed in the report)
  --list             list the selected cases instead of running them
  --tap              write a TAP stream instead of the plain lines
  --junit FILE       also write the results to FILE as JUnit XML
  --json FILE        also write the results to FILE as graders' JSON
  --weights FILE     the points of the cases in the JSON (default: one a case)
  --report           after the results, print the whole report the cases wrote
  --failures         show only the failed cases and the summary
  --verbose          show a sanitizer's reports whole, not cut down to the list's frames
  --repro FILE       when the model check fails, write its program to FILE, ready to
                     compile with the list
  --no-fork          run the cases in this process (for a debugger): no crash, hang or
                     output protection
  --timeout SECONDS  fail a case still running after SECONDS, decimal digits with an
                     optional fraction such as 0.5 (default 5, at most 86400)
  --help, -h         show this help
  --version          show the version

Exit status: 0 when no case failed, 1 when one did, 2 for a usage error or when the
runner itself fails (its output, a pipe, a fork, the JUnit or JSON file).
)";

template <typename Names> bool isIn(const Names& names, std::string_view name) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// True when text is decimal digits with at most one '.' between digits: the only form of a
// number on the command line (no sign, exponent, blank, hexadecimal or "inf").
bool isDecimal(std::string_view text) {
    const size_t point = text.find('.');
    auto digits = [](std::string_view part) {
        return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) {
            return isdigit(static_cast<unsigned char>(c)) != 0;
        });
    };
    return point == std::string_view::npos
               ? digits(text)
               : digits(text.substr(0, point)) && digits(text.substr(point + 1));
}

// Reads a timeout in seconds; false when it is not one the runner accepts.
bool parseTimeout(const std::string& value, double& timeout) {
    if (!isDecimal(value)) {
        return false;
    }
    timeout = strtod(value.c_str(), nullptr);
    return timeout > 0 && timeout <= kMaxTimeout;
}

// Reads a seed: decimal digits only, within 64 bits; false otherwise.
bool parseSeed(const std::string& value) {
    char* end = nullptr;
    errno = 0;
    probeSeed = strtoull(value.c_str(), &end, 10);
    return value.find('.') == std::string::npos && isDecimal(value) && *end == '\0' && errno == 0;
}

// Applies one option that takes no value; false when it is none of them.
bool applyFlag(std::string_view option, Options& options) {
    if (option == "--extended") {
        options.extended = true;
    } else if (option == "--list") {
        options.list = true;
    } else if (option == "--tap") {
        options.tap = true;
    } else if (option == "--report") {
        options.report = true;
    } else if (option == "--no-fork") {
        options.fork = false;
    } else if (option == "--failures") {
        options.failuresOnly = true;
    } else if (option == "--verbose") {
        options.verbose = true;
    } else {
        return false;
    }
    return true;
}

// Applies one option with its value; the exit status of a usage error, or nothing.
std::optional<int> applyValued(std::string_view option, const std::string& value,
                               Options& options) {
    if (option == "--group") {
        if (!isGroup(value)) {
            return usageError("no group is named '" + value + "'");
        }
        options.groups.push_back(value);
    } else if (option == "--case") {
        if (!isCase(value)) {
            return usageError("no case is named '" + value + "'");
        }
        options.cases.push_back(value);
    } else if (option == "--junit") {
        options.junit = value;
    } else if (option == "--repro") {
        options.repro = value;
    } else if (option == "--json") {
        options.json = value;
    } else if (option == "--weights") {
        if (!options.weights.read(value)) {
            return EXIT_TROUBLE;
        }
    } else if (option == "--timeout") {
        if (!parseTimeout(value, options.timeout)) {
            return usageError("the timeout must be a number of seconds above 0 and at most " +
                              std::to_string(static_cast<int>(kMaxTimeout)) + ", not '" + value +
                              "'");
        }
    } else if (!parseSeed(value)) { // --seed
        return usageError("the seed must be a whole number, not '" + value + "'");
    }
    return std::nullopt;
}

} // namespace

int usageError(const std::string& message) {
    return reportUsageError("probeRunner", message, kUsage);
}

std::optional<int> parseOptions(int argc, char** argv, Options& options) {
    static constexpr std::string_view kFlags[] = {"--help",     "-h",        "--version",
                                                  "--list",     "--tap",     "--no-fork",
                                                  "--extended", "--report",  "--failures",
                                                  "--verbose"};
    static constexpr std::string_view kValued[] = {"--group", "--case",    "--junit",
                                                   "--json",  "--weights", "--timeout",
                                                   "--seed",  "--repro"};
    for (int i = 1; i < argc; i++) {
        std::string_view option = argv[i];
        std::optional<std::string> value;
        if (const size_t equals = option.find('='); equals != std::string_view::npos) {
            value = std::string(option.substr(equals + 1));
            option = option.substr(0, equals);
        }
        const std::string name(option);
        if (isIn(kValued, option)) {
            if (!value && i + 1 == argc) {
                return usageError("option '" + name + "' needs a value");
            }
            if (!value) {
                value = argv[++i];
            }
            if (const auto status = applyValued(option, *value, options)) {
                return status;
            }
        } else if (isIn(kFlags, option) && value) {
            return usageError("option '" + name + "' takes no value");
        } else if (asksForHelp(argv[i])) {
            fputs(kUsage, stdout);
            return EXIT_OK;
        } else if (option == "--version") {
            return printVersion("probeRunner");
        } else if (!applyFlag(option, options)) {
            return usageError("unknown option '" + std::string(argv[i]) + "'");
        }
    }
    if (options.failuresOnly && options.tap) {
        return usageError("--failures leaves out lines a TAP stream needs: not with --tap");
    }
    return std::nullopt;
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
