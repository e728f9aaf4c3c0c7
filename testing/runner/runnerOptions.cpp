// probeRunner's command line: one table of the options, from which the help is written and
// by which each option is read and applied.
#include "runnerOptions.h"

#include "numbers.h"
#include "probeSeed.h"
#include "usage.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// The longest timeout accepted: a day, far beyond any case, and well inside what the clock and
// poll() can count.
constexpr double kMaxTimeout = 86400;

// What the help says before and after the options.
constexpr char kUsageHead[] = R"(Usage: probeRunner [OPTION]...
Runs the linked-list conformance cases against the list this program was built with.
Each case runs in processes of its own: a crash, a hang, an exit or a stray process of
the list fails that case alone, and what the list prints is kept out of the results.

Options:
)";
constexpr char kUsageTail[] = R"(
Exit status: 0 when no case failed, 1 when one did, 2 for a usage error or when the
runner itself fails (its output, a pipe, a fork, the JUnit or JSON file).
)";

// Where the help's options start, and where the lines that describe them start.
constexpr size_t kIndent = 2;
constexpr size_t kHelpColumn = 21;

// Applies an option given its value ("" for an option that takes none): the exit status when
// the run ends here, or nothing.
using Apply = std::optional<int> (*)(const std::string& value, Options& options);

template <bool Options::*flag, bool to = true>
std::optional<int> set(const std::string&, Options& options) {
    options.*flag = to;
    return std::nullopt;
}

template <std::optional<std::string> Options::*file>
std::optional<int> keep(const std::string& value, Options& options) {
    options.*file = value;
    return std::nullopt;
}

std::optional<int> addGroup(const std::string& value, Options& options) {
    if (!isGroup(value)) {
        return usageError("no group is named '" + value + "'");
    }
    options.groups.push_back(value);
    return std::nullopt;
}

std::optional<int> addCase(const std::string& value, Options& options) {
    if (!isCase(value)) {
        return usageError("no case is named '" + value + "'");
    }
    options.cases.push_back(value);
    return std::nullopt;
}

// A seed is decimal digits only, within 64 bits.
std::optional<int> setSeed(const std::string& value, Options&) {
    char* end = nullptr;
    errno = 0;
    probeSeed = strtoull(value.c_str(), &end, 10);
    if (value.find('.') != std::string::npos || !isDecimal(value) || *end != '\0' || errno != 0) {
        return usageError("the seed must be a whole number, not '" + value + "'");
    }
    return std::nullopt;
}

// The seconds above 0 and at most kMaxTimeout that value holds; 0 when it holds no such number.
double secondsIn(const std::string& value) {
    const double seconds = isDecimal(value) ? strtod(value.c_str(), nullptr) : 0;
    return seconds > 0 && seconds <= kMaxTimeout ? seconds : 0;
}

std::optional<int> setTimeout(const std::string& value, Options& options) {
    options.timeout = secondsIn(value);
    if (options.timeout == 0) {
        return usageError("the timeout must be a number of seconds above 0 and at most " +
                          std::to_string(static_cast<int>(kMaxTimeout)) + ", not '" + value + "'");
    }
    return std::nullopt;
}

std::optional<int> setCaseTimeout(const std::string& value, Options& options) {
    const size_t equals = value.find('=');
    const std::string name = value.substr(0, equals);
    const double seconds = equals == std::string::npos ? 0 : secondsIn(value.substr(equals + 1));
    if (!isCase(name) || name.starts_with("Case") || seconds == 0) {
        return usageError("a case's timeout is NAME=SECONDS, a case's full name and seconds as "
                          "--timeout takes them, not '" +
                          value + "'");
    }
    options.caseTimeouts[name] = seconds;
    return std::nullopt;
}

std::optional<int> readWeights(const std::string& value, Options& options) {
    if (!options.weights.read(value)) {
        return EXIT_TROUBLE; // the weights said why
    }
    return std::nullopt;
}

// A descriptor this process holds open, past standard error.
std::optional<int> setTranscript(const std::string& value, Options& options) {
    const size_t fd = wholeNumber(value, INT_MAX);
    if (fd <= 2 || fcntl(static_cast<int>(fd), F_GETFD) < 0) {
        return usageError("the transcript needs an open descriptor above 2, not '" + value + "'");
    }
    options.transcript = static_cast<int>(fd);
    return std::nullopt;
}

std::optional<int> showHelp(const std::string&, Options&);

std::optional<int> showVersion(const std::string&, Options&) {
    return printVersion("probeRunner");
}

// One option: its name and other name, the name of its value in the help (none when it takes
// no value), its help (lines after the first start at kHelpColumn) and how it is applied.
struct Option {
    std::string_view name;
    std::string_view alias;
    const char* value;
    std::string_view help;
    Apply apply;
};

// Every option, in the order the help shows them.
constexpr Option kOptions[] = {
    {"--group", "", "NAME", "run only the cases of group NAME (may be repeated)", addGroup},
    {"--case", "", "NAME",
     "run only case NAME: a full name such as extractProbeCase04, or a\n"
     "number such as Case04 for that case of every group (may be repeated)",
     addCase},
    {"--extended", "", nullptr, "after the conformance cases, run the extended checks",
     set<&Options::extended>},
    {"--seed", "", "N",
     "draw the extended checks' random operations from seed N, in\n"
     "decimal digits (default: a new seed each run, printed in the report)",
     setSeed},
    {"--list", "", nullptr, "list the selected cases instead of running them", set<&Options::list>},
    {"--tap", "", nullptr, "write a TAP stream instead of the plain lines", set<&Options::tap>},
    {"--junit", "", "FILE", "also write the results to FILE as JUnit XML", keep<&Options::junit>},
    {"--json", "", "FILE", "also write the results to FILE as graders' JSON", keep<&Options::json>},
    {"--weights", "", "FILE", "the points of the cases in the JSON (default: one a case)",
     readWeights},
    {"--report", "", nullptr, "after the results, print the whole report the cases wrote",
     set<&Options::report>},
    {"--failures", "", nullptr, "show only the failed cases and the summary",
     set<&Options::failuresOnly>},
    {"--verbose", "", nullptr,
     "show a sanitizer's reports whole, not cut down to the list's frames", set<&Options::verbose>},
    {"--repro", "", "FILE",
     "when the model check fails, write its program to FILE, ready to\n"
     "compile with the list",
     keep<&Options::repro>},
    {"--no-fork", "", nullptr,
     "run the cases in this process (for a debugger): no crash, hang or\n"
     "output protection",
     set<&Options::fork, false>},
    {"--timeout", "", "SECONDS",
     "fail a case still running after SECONDS, decimal digits with an\n"
     "optional fraction such as 0.5 (default 5, at most 86400)",
     setTimeout},
    {"--transcript", "", "FD",
     "write each case's line for the judge to descriptor FD (as JSON),\n"
     "and no summary: the judge decides the verdicts",
     setTranscript},
    {"--case-timeout", "", "NAME=SECONDS",
     "fail case NAME (its full name) after SECONDS instead (may be\n"
     "repeated)",
     setCaseTimeout},
    {"--help", "-h", nullptr, "show this help", showHelp},
    {"--version", "", nullptr, "show the version", showVersion},
};

// One option's lines of the help.
std::string helpOf(const Option& option) {
    std::string names(option.name);
    if (!option.alias.empty()) {
        names.append(", ").append(option.alias);
    }
    if (option.value != nullptr) {
        names.append(" ").append(option.value);
    }
    std::string text(kIndent, ' ');
    text += names;
    text.append(kIndent + names.size() < kHelpColumn ? kHelpColumn - kIndent - names.size() : 1,
                ' ');
    for (const char c : option.help) {
        text += c;
        if (c == '\n') {
            text.append(kHelpColumn, ' ');
        }
    }
    return text + '\n';
}

const std::string& usage() {
    static const std::string text = [] {
        std::string all = kUsageHead;
        for (const Option& option : kOptions) {
            all += helpOf(option);
        }
        return all + kUsageTail;
    }();
    return text;
}

std::optional<int> showHelp(const std::string&, Options&) {
    fputs(usage().c_str(), stdout);
    return EXIT_OK;
}

const Option* optionNamed(std::string_view name) {
    for (const Option& option : kOptions) {
        if (name == option.name || (!option.alias.empty() && name == option.alias)) {
            return &option;
        }
    }
    return nullptr;
}

} // namespace

int usageError(const std::string& message) {
    return reportUsageError("probeRunner", message, usage());
}

std::optional<int> parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; i++) {
        std::string_view name = argv[i];
        std::optional<std::string> value;
        if (const size_t equals = name.find('='); equals != std::string_view::npos) {
            value = std::string(name.substr(equals + 1));
            name = name.substr(0, equals);
        }
        const Option* option = optionNamed(name);
        if (option == nullptr) {
            return usageError("unknown option '" + std::string(argv[i]) + "'");
        }
        if (option->value != nullptr && !value) {
            if (i + 1 == argc) {
                return usageError("option '" + std::string(name) + "' needs a value");
            }
            value = argv[++i];
        } else if (option->value == nullptr && value) {
            return usageError("option '" + std::string(name) + "' takes no value");
        }
        if (const auto status = option->apply(value.value_or(""), options)) {
            return status;
        }
    }
    if (options.failuresOnly && options.tap) {
        return usageError("--failures leaves out lines a TAP stream needs: not with --tap");
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
