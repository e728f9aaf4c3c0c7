// probeRunner: runs the linked-list conformance cases against the list it was built with, each
// case in a child process of its own, and reports every case, the failure report and a summary.
#include "probeSeed.h"
#include "utest.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#ifdef COVERAGE_BUILD
// Coverage builds write their counts from an exit handler, which _exit skips: a child writes them
// itself before it leaves.
extern "C" void __gcov_dump(void);
#endif

// The groups' functions live in their own libraries.
#define CONFORMANCE_CASE(group, number)                                                            \
    void group##Setup();                                                                           \
    void group##Case##number();
#define EXTENDED_CASE CONFORMANCE_CASE
#include "probeCases.h"
#undef CONFORMANCE_CASE
#undef EXTENDED_CASE

namespace {

struct ProbeCase {
    const char* group;
    const char* name;
    void (*setup)();
    void (*run)();
    bool extended; // runs only under --extended
};

constexpr ProbeCase kCases[] = {
#define CONFORMANCE_CASE(group, number)                                                            \
    {#group, #group "Case" #number, group##Setup, group##Case##number, false},
#define EXTENDED_CASE(group, number)                                                               \
    {#group, #group "Case" #number, group##Setup, group##Case##number, true},
#include "probeCases.h"
#undef CONFORMANCE_CASE
#undef EXTENDED_CASE
};

// How a case ended.
enum class Ending { passed, assertion, signal, timeout, exited };

struct Outcome {
    Ending ending = Ending::passed;
    std::string file;   // the failing assertion's source, for Ending::assertion
    int line = 0;       // and its line
    std::string report; // what the case appended to the report
    int detail = 0;     // the signal or the exit status
    double seconds = 0;
};

struct Options {
    std::vector<std::string> groups;
    std::vector<std::string> cases;
    bool extended = false;
    bool list = false;
    bool tap = false;
    bool fork = true;
    double timeout = 5;
    std::optional<std::string> junit;
};

constexpr int kExitFailed = 1;
constexpr int kExitTrouble = 2; // a usage error, or the runner itself failed

// The longest timeout accepted: a day, far beyond any case, and well inside what the clock and
// poll() can count.
constexpr double kMaxTimeout = 86400;

constexpr char kUsage[] = R"(Usage: probeRunner [OPTION]...
Runs the linked-list conformance cases against the list this program was built with.
Each case runs in a child process of its own: a crash or a hang fails that case alone.

  --group NAME       run only the cases of group NAME (may be repeated)
  --case NAME        run only case NAME: a full name such as extractProbeCase04, or a
                     number such as Case04 for that case of every group (may be repeated)
  --extended         after the conformance cases, run the extended checks
  --seed N           draw the extended checks' random operations from seed N (default:
                     a new seed each run, printed in the report)
  --list             list the selected cases instead of running them
  --tap              write a TAP stream instead of the plain lines
  --junit FILE       also write the results to FILE as JUnit XML
  --no-fork          run the cases in this process (for a debugger): no crash or hang
                     protection
  --timeout SECONDS  fail a case still running after SECONDS (default 5, at most 86400)
  --help             show this help

Exit status: 0 when no case failed, 1 when one did, 2 for a usage error or when the
runner itself fails (a pipe, a fork, the JUnit file).
)";

// Appends text to the report as far as it fits, keeping it NUL-terminated.
void appendToReport(std::string_view text) {
    const size_t used = strlen(utest_printErrorBuffer);
    const size_t room = sizeof utest_printErrorBuffer - 1 - used;
    const size_t count = text.size() < room ? text.size() : room;
    memcpy(utest_printErrorBuffer + used, text.data(), count);
    utest_printErrorBuffer[used + count] = '\0';
}

// Runs a case here and reads its result from the assertion globals.
Outcome runInProcess(const ProbeCase& probe) {
    const size_t reportStart = strlen(utest_printErrorBuffer);
    utest_flagTestError = 0;
    probe.run();
    Outcome outcome;
    outcome.report = utest_printErrorBuffer + reportStart;
    if (utest_flagTestError != 0) {
        outcome.ending = Ending::assertion;
        outcome.file = utest_fileTestError != nullptr ? utest_fileTestError : "";
        outcome.line = utest_lineTestError;
    }
    return outcome;
}

// Writes all of bytes to fd; false when the pipe fails.
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// The result a child hands back: the flag, the line, then the file and the report text, each
// behind its length.
std::string encodeResult(const Outcome& outcome) {
    std::string bytes;
    auto putNumber = [&bytes](uint32_t value) {
        bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    putNumber(outcome.ending == Ending::assertion ? 1 : 0);
    putNumber(static_cast<uint32_t>(outcome.line));
    putNumber(static_cast<uint32_t>(outcome.file.size()));
    bytes += outcome.file;
    putNumber(static_cast<uint32_t>(outcome.report.size()));
    bytes += outcome.report;
    return bytes;
}

// Reads back what encodeResult wrote; nothing when the bytes are cut short.
std::optional<Outcome> decodeResult(std::string_view bytes) {
    auto getNumber = [&bytes]() -> std::optional<uint32_t> {
        uint32_t value;
        if (bytes.size() < sizeof value) {
            return std::nullopt;
        }
        memcpy(&value, bytes.data(), sizeof value);
        bytes.remove_prefix(sizeof value);
        return value;
    };
    auto getText = [&](std::string& text) {
        const auto size = getNumber();
        if (!size || bytes.size() < *size) {
            return false;
        }
        text = bytes.substr(0, *size);
        bytes.remove_prefix(*size);
        return true;
    };
    Outcome outcome;
    const auto flag = getNumber();
    const auto line = getNumber();
    if (!flag || !line || !getText(outcome.file) || !getText(outcome.report) || !bytes.empty()) {
        return std::nullopt;
    }
    outcome.ending = *flag != 0 ? Ending::assertion : Ending::passed;
    outcome.line = static_cast<int>(*line);
    return outcome;
}

// Reads the child's result from fd until it closes; false when the deadline passes first.
bool readUntilClosed(int fd, std::chrono::steady_clock::time_point deadline, std::string& bytes) {
    char chunk[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd ready{fd, POLLIN, 0};
        // poll() counts in an int of milliseconds; the +1 rounds the last fraction up.
        const auto wait = std::min<std::chrono::milliseconds::rep>(left.count(), INT_MAX - 1);
        const int polled = poll(&ready, 1, static_cast<int>(wait) + 1);
        if (polled < 0 && errno != EINTR) {
            return false;
        }
        if (polled <= 0) {
            continue;
        }
        const ssize_t count = read(fd, chunk, sizeof chunk);
        if (count == 0) {
            return true;
        }
        if (count > 0) {
            bytes.append(chunk, static_cast<size_t>(count));
        } else if (errno != EINTR) {
            return true;
        }
    }
}

// Runs a case in a child process, which hands its result back through a pipe. A child that dies
// of a signal, outlives the timeout or exits without a result fails the case.
Outcome runInChild(const ProbeCase& probe, double timeout) {
    int channel[2];
    if (pipe(channel) != 0) {
        perror("probeRunner: pipe");
        exit(kExitTrouble);
    }
    fflush(stdout);
    const pid_t pid = fork();
    if (pid < 0) {
        perror("probeRunner: fork");
        exit(kExitTrouble);
    }
    if (pid == 0) {
        close(channel[0]);
        const bool sent = writeAll(channel[1], encodeResult(runInProcess(probe)));
        fflush(stdout);
#ifdef COVERAGE_BUILD
        __gcov_dump();
#endif
        _exit(sent ? 0 : kExitTrouble);
    }
    close(channel[1]);
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(timeout));
    std::string bytes;
    const bool finished = readUntilClosed(channel[0], deadline, bytes);
    close(channel[0]);
    if (!finished) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    Outcome outcome;
    if (!finished) {
        outcome.ending = Ending::timeout;
    } else if (WIFSIGNALED(status)) {
        outcome.ending = Ending::signal;
        outcome.detail = WTERMSIG(status);
    } else if (const auto result = decodeResult(bytes);
               result && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        outcome = *result;
    } else {
        outcome.ending = Ending::exited;
        outcome.detail = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return outcome;
}

// Why a failed case failed, in a few words: the assertion's place, the signal, the timeout.
std::string describeFailure(const Outcome& outcome, double timeout) {
    char text[160];
    switch (outcome.ending) {
    case Ending::passed:
        return "";
    case Ending::assertion:
        snprintf(text, sizeof text, "%s:%d", outcome.file.c_str(), outcome.line);
        break;
    case Ending::signal: {
        const char* abbreviation = sigabbrev_np(outcome.detail);
        snprintf(text, sizeof text, "crashed: signal %d (SIG%s, %s)", outcome.detail,
                 abbreviation != nullptr ? abbreviation : "?", strsignal(outcome.detail));
        break;
    }
    case Ending::timeout:
        snprintf(text, sizeof text, "timed out after %g s", timeout);
        break;
    case Ending::exited:
        snprintf(text, sizeof text, "exited with status %d before finishing", outcome.detail);
        break;
    }
    return text;
}

// Writes each line of a case's report block as a TAP comment.
void printTapComments(std::string_view block) {
    while (!block.empty()) {
        const size_t end = block.find('\n');
        std::string_view line = block.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        printf(line.empty() ? "#\n" : "# %.*s\n", static_cast<int>(line.size()), line.data());
        block.remove_prefix(end == std::string_view::npos ? block.size() : end + 1);
    }
}

// The text with the characters XML reserves escaped; a carriage return is kept as a reference
// and other control characters, which XML 1.0 cannot hold, become '?'.
std::string escapeXml(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\r':
            escaped += "&#13;";
            break;
        default:
            const bool control = static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t';
            escaped += control ? '?' : c;
        }
    }
    return escaped;
}

struct Result {
    const ProbeCase* probe;
    Outcome outcome;
};

// Writes the results as JUnit XML, one test suite per group; false when the file fails.
bool writeJunit(const std::string& path, const std::vector<Result>& results, double timeout) {
    FILE* file = fopen(path.c_str(), "w");
    if (file == nullptr) {
        return false;
    }
    auto countIn = [&results](std::string_view group, bool failedOnly) {
        int count = 0;
        double seconds = 0;
        for (const Result& result : results) {
            if (group.empty() || group == result.probe->group) {
                const bool failed = result.outcome.ending != Ending::passed;
                count += failedOnly ? failed : 1;
                seconds += result.outcome.seconds;
            }
        }
        return std::pair{count, seconds};
    };
    const auto [total, seconds] = countIn("", false);
    fprintf(file, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    fprintf(file, "<testsuites name=\"probeRunner\" tests=\"%d\" failures=\"%d\" time=\"%.3f\">\n",
            total, countIn("", true).first, seconds);
    for (size_t i = 0; i < results.size(); i++) {
        const char* group = results[i].probe->group;
        if (i == 0 || strcmp(group, results[i - 1].probe->group) != 0) {
            const auto [groupTotal, groupSeconds] = countIn(group, false);
            fprintf(file,
                    "  <testsuite name=\"%s\" tests=\"%d\" failures=\"%d\" errors=\"0\" "
                    "time=\"%.3f\">\n",
                    group, groupTotal, countIn(group, true).first, groupSeconds);
        }
        const Outcome& outcome = results[i].outcome;
        fprintf(file, "    <testcase classname=\"%s\" name=\"%s\" time=\"%.3f\"", group,
                results[i].probe->name, outcome.seconds);
        if (outcome.ending == Ending::passed) {
            fprintf(file, "/>\n");
        } else {
            static constexpr const char* kTypes[] = {"", "assertion", "crash", "timeout", "exit"};
            fprintf(file, ">\n      <failure message=\"%s\" type=\"%s\">%s</failure>\n",
                    escapeXml(describeFailure(outcome, timeout)).c_str(),
                    kTypes[static_cast<int>(outcome.ending)], escapeXml(outcome.report).c_str());
            fprintf(file, "    </testcase>\n");
        }
        if (i + 1 == results.size() || strcmp(group, results[i + 1].probe->group) != 0) {
            fprintf(file, "  </testsuite>\n");
        }
    }
    fprintf(file, "</testsuites>\n");
    return fclose(file) == 0;
}

// Prints a usage error and the way to the help; the exit status for it.
int usageError(const std::string& message) {
    fprintf(stderr, "probeRunner: %s\nTry 'probeRunner --help'.\n", message.c_str());
    return kExitTrouble;
}

bool isGroup(std::string_view name) {
    for (const ProbeCase& probe : kCases) {
        if (name == probe.group) {
            return true;
        }
    }
    return false;
}

// True when a case filter picks the case: its full name or its CaseNN part.
bool caseMatches(const ProbeCase& probe, std::string_view filter) {
    const std::string_view name = probe.name;
    return filter == name || filter == name.substr(strlen(probe.group));
}

// True when a case filter picks some case of some group.
bool isCase(std::string_view filter) {
    for (const ProbeCase& probe : kCases) {
        if (caseMatches(probe, filter)) {
            return true;
        }
    }
    return false;
}

// Reads the command line into options; the exit status of a usage error, or nothing.
std::optional<int> parseOptions(int argc, char** argv, Options& options) {
    static constexpr std::string_view kFlags[] = {"--help",    "-h",   "--list",
                                                  "--tap",     "--no-fork", "--extended"};
    static constexpr std::string_view kValued[] = {"--group", "--case", "--junit", "--timeout",
                                                   "--seed"};
    auto isIn = [](const auto& names, std::string_view name) {
        return std::find(std::begin(names), std::end(names), name) != std::end(names);
    };
    for (int i = 1; i < argc; i++) {
        std::string_view option = argv[i];
        std::optional<std::string> value;
        if (const size_t equals = option.find('='); equals != std::string_view::npos) {
            value = std::string(option.substr(equals + 1));
            option = option.substr(0, equals);
        }
        const std::string name(option);
        if (isIn(kValued, option) && !value) {
            if (i + 1 == argc) {
                return usageError("option '" + name + "' needs a value");
            }
            value = argv[++i];
        } else if (isIn(kFlags, option) && value) {
            return usageError("option '" + name + "' takes no value");
        }
        if (option == "--help" || option == "-h") {
            fputs(kUsage, stdout);
            return 0;
        } else if (option == "--group") {
            if (!isGroup(*value)) {
                return usageError("no group is named '" + *value + "'");
            }
            options.groups.push_back(*value);
        } else if (option == "--case") {
            if (!isCase(*value)) {
                return usageError("no case is named '" + *value + "'");
            }
            options.cases.push_back(*value);
        } else if (option == "--junit") {
            options.junit = *value;
        } else if (option == "--timeout") {
            char* end = nullptr;
            options.timeout = strtod(value->c_str(), &end);
            if (value->empty() || *end != '\0' || !std::isfinite(options.timeout) ||
                options.timeout <= 0 || options.timeout > kMaxTimeout) {
                return usageError("the timeout must be a number of seconds above 0 and at most " +
                                  std::to_string(static_cast<int>(kMaxTimeout)) + ", not '" +
                                  *value + "'");
            }
        } else if (option == "--seed") {
            char* end = nullptr;
            errno = 0;
            probeSeed = strtoull(value->c_str(), &end, 10);
            if (value->empty() || *end != '\0' || errno != 0 || !isdigit(value->front())) {
                return usageError("the seed must be a whole number, not '" + *value + "'");
            }
        } else if (option == "--extended") {
            options.extended = true;
        } else if (option == "--list") {
            options.list = true;
        } else if (option == "--tap") {
            options.tap = true;
        } else if (option == "--no-fork") {
            options.fork = false;
        } else {
            return usageError("unknown option '" + std::string(argv[i]) + "'");
        }
    }
    return std::nullopt;
}

// True when the filters pick the case.
bool isSelected(const ProbeCase& probe, const Options& options) {
    if (probe.extended && !options.extended) {
        return false;
    }
    auto matches = [](const std::vector<std::string>& filters, auto&& test) {
        if (filters.empty()) {
            return true;
        }
        for (const std::string& filter : filters) {
            if (test(filter)) {
                return true;
            }
        }
        return false;
    };
    return matches(options.groups, [&](const std::string& g) { return g == probe.group; }) &&
           matches(options.cases, [&](const std::string& c) { return caseMatches(probe, c); });
}

// Runs the selected cases, each group's setup first, printing one line per case as it ends.
std::vector<Result> runCases(const std::vector<const ProbeCase*>& selected,
                             const Options& options) {
    std::vector<Result> results;
    for (const ProbeCase* probe : selected) {
        // What is printed so far must reach a pipe even when this case takes the runner down,
        // as it can under --no-fork.
        fflush(stdout);
        if (results.empty() || strcmp(results.back().probe->group, probe->group) != 0) {
            probe->setup();
        }
        const auto start = std::chrono::steady_clock::now();
        Outcome outcome = options.fork ? runInChild(*probe, options.timeout) : runInProcess(*probe);
        outcome.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (options.fork) {
            appendToReport(outcome.report);
        }
        utest_totalTestsCounter++;
        const bool passed = outcome.ending == Ending::passed;
        utest_okTestsCounter += passed;
        const std::string why = describeFailure(outcome, options.timeout);
        if (options.tap) {
            printf("%s %d - %s %s\n", passed ? "ok" : "not ok", utest_totalTestsCounter,
                   probe->group, probe->name);
            if (!passed) {
                printf("# %s\n", why.c_str());
                printTapComments(outcome.report);
            }
        } else {
            printf("%s %s %s%s%s\n", passed ? "PASS" : "FAIL", probe->group, probe->name,
                   passed ? "" : " ", why.c_str());
        }
        results.push_back({probe, std::move(outcome)});
    }
    return results;
}

} // namespace

unsigned long long probeSeed = 0;

int main(int argc, char** argv) {
    probeSeed = (static_cast<unsigned long long>(std::random_device{}()) << 32) ^
                std::random_device{}();
    Options options;
    if (const auto status = parseOptions(argc, argv, options)) {
        return *status;
    }
    std::vector<const ProbeCase*> selected;
    for (const ProbeCase& probe : kCases) {
        if (isSelected(probe, options)) {
            selected.push_back(&probe);
        }
    }
    if (selected.empty()) {
        return usageError("no case matches the --group and --case filters");
    }
    if (options.list) {
        for (const ProbeCase* probe : selected) {
            printf("%s %s\n", probe->group, probe->name);
        }
        return 0;
    }
    if (options.tap) {
        printf("TAP version 13\n1..%zu\n", selected.size());
    }
    const std::vector<Result> results = runCases(selected, options);
    const int failed = utest_totalTestsCounter - utest_okTestsCounter;
    if (options.tap) {
        printf("# %d passed, %d failed\n", utest_okTestsCounter, failed);
    } else {
        const size_t length = strlen(utest_printErrorBuffer);
        fputs(utest_printErrorBuffer, stdout);
        if (length > 0 && utest_printErrorBuffer[length - 1] != '\n') {
            putchar('\n');
        }
        printf("%d passed, %d failed\n", utest_okTestsCounter, failed);
    }
    if (options.junit && !writeJunit(*options.junit, results, options.timeout)) {
        fprintf(stderr, "probeRunner: cannot write '%s'\n", options.junit->c_str());
        return kExitTrouble;
    }
    return failed == 0 ? 0 : kExitFailed;
}
