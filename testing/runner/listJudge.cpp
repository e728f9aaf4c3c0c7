// listJudge: decides the verdicts of a list's run outside the list's reach. The list's runner,
// in the sandbox, writes a line for each case (--transcript): how it ended and the values its
// assertions checked, as a count and a hash. The same cases, with the same options and seed, run
// against the list the project ships (the reference runner, trusted code); a case passes only
// where the list's line says it passed with the very values the reference checked. What the
// list's process claims on its own (its exit status, lines it prints, files it writes) decides
// nothing. The results files are written here, from these verdicts.
#include "AtomicFile.h"
#include "ChildProcess.h"
#include "junitReport.h"
#include "numbers.h"
#include "safeText.h"
#include "status.h"
#include "translate.h"
#include "usage.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* PROGRAM = "check-list";

// The judge's own trouble: one line, status 2.
[[noreturn]] void trouble(const std::string& reason) {
    fflush(stdout);
    fprintf(stderr, "%s: %s\n", PROGRAM, reason.c_str());
    exit(EXIT_TROUBLE);
}

// The same, for a call that failed with errno set.
[[noreturn]] void troubleWith(const std::string& what) {
    trouble(what + ": " + strerror(errno));
}

struct JudgeOptions {
    std::string runner;
    std::string reference;
    std::optional<std::string> sandbox; // none: no sandbox
    std::optional<std::string> cache;
    std::vector<std::string> shared; // runner options both runners get
    std::optional<std::string> json, junit, repro;
    std::vector<std::string> weights; // for the reference alone, which weighs the cases
    bool seeded = false, timed = false, onlyAsks = false;
    bool sanitised = false; // the list's runner is built with the sanitizers
    bool extended = false;  // the extended checks run after the conformance cases
};

// The runner options that take a value, and those the judge keeps for itself.
bool takesValue(const std::string& option) {
    for (const char* name : {"--group", "--case", "--seed", "--timeout", "--json", "--junit",
                             "--repro", "--weights", "--transcript", "--case-timeout"}) {
        if (option == name) {
            return true;
        }
    }
    return false;
}

enum JudgeOption { RUNNER = 1, REFERENCE, SANDBOX, NO_SANDBOX, CACHE, ASAN };

constexpr Option JUDGE_OPTIONS[] = {
    {"--runner", "", Takes::text, "PATH", trLater("the list's runner, built with the list"),
     RUNNER},
    {"--reference", "", Takes::text, "PATH",
     trLater("the runner built with the project's own list (default: referenceRunner\n"
             "beside this program)"),
     REFERENCE},
    {"--sandbox", "", Takes::text, "PATH",
     trLater("run the list's runner through PATH (tools/sandbox.sh)"), SANDBOX},
    {"--no-sandbox", "", Takes::nothing, nullptr, trLater("run the list's runner as it is"),
     NO_SANDBOX},
    {"--cache", "", Takes::text, "DIR",
     trLater("keep the reference's lines for a seed in DIR, for the next run"), CACHE},
    {"--asan", "", Takes::nothing, nullptr,
     trLater("the list's runner is built with the sanitizers: slower cases"), ASAN},
};

constexpr CommandLine::Program JUDGE_LINE = {
    "listJudge",
    false,
    trLater(" --runner PATH [OPTION]... -- [RUNNER_OPTION]..."),
    trLater("Runs the list's runner and the reference with the runner options after --, and\n"
            "decides each case's verdict from their lines (check-list runs it).\n"
            "\n"),
    JUDGE_OPTIONS,
    trLater("\n"
            "Exit status: 0 when every case passed, 1 when one failed, 2 for a usage error or\n"
            "when the judge could not do its work.\n"),
    0,
    true,
    Speaks::userLanguage,
};

// Reads the command line; ends the program when it is wrong, or asks for help or the version.
JudgeOptions parse(int argc, char** argv) {
    JudgeOptions options;
    bool sandboxed = true;
    const CommandLine line(JUDGE_LINE, argc, argv);
    std::vector<const char*> runnerOptions;
    const auto apply = [&options, &sandboxed](const Given& given) {
        const std::string value(given.text);
        switch (given.option.id) {
        case RUNNER:
            options.runner = value;
            break;
        case REFERENCE:
            options.reference = value;
            break;
        case SANDBOX:
            options.sandbox = value;
            break;
        case CACHE:
            options.cache = value;
            break;
        case ASAN:
            options.sanitised = true;
            break;
        default:
            sandboxed = false;
        }
        return std::string();
    };
    if (const auto status = line.read(apply, runnerOptions)) {
        exit(*status);
    }
    if (options.runner.empty()) {
        exit(line.refuse(tr("name the list's runner (--runner)")));
    }
    if (options.reference.empty()) {
        options.reference = (fs::path(argv[0]).parent_path() / "referenceRunner").string();
    }
    if (!sandboxed) {
        options.sandbox.reset();
    } else if (!options.sandbox) {
        exit(line.refuse(tr("name the sandbox (--sandbox) or give --no-sandbox")));
    }
    // A runner or sandbox that cannot be started is the checker's trouble: the list never ran.
    for (const std::string& program : {options.runner, options.sandbox.value_or(options.runner)}) {
        if (access(program.c_str(), X_OK) != 0) {
            troubleWith("cannot run " + program);
        }
    }
    for (size_t i = 0; i < runnerOptions.size(); i++) {
        const std::string option = runnerOptions[i];
        const std::string value =
            takesValue(option) && i + 1 < runnerOptions.size() ? runnerOptions[++i] : "";
        if (option == "--transcript") {
            trouble("--transcript is the judge's own");
        } else if (option == "--json") {
            options.json = value;
        } else if (option == "--junit") {
            options.junit = value;
        } else if (option == "--repro") {
            options.repro = value;
        } else if (option == "--weights") {
            options.weights = {option, value};
        } else {
            options.seeded = options.seeded || option == "--seed";
            options.extended = options.extended || option == "--extended";
            options.timed = options.timed || option == "--timeout" || option == "--case-timeout";
            options.onlyAsks = options.onlyAsks || option == "--list" || option == "--help" ||
                               option == "-h" || option == "--version";
            options.shared.push_back(option);
            if (takesValue(option)) {
                options.shared.push_back(value);
            }
        }
    }
    return options;
}

// One case's line as a runner wrote it.
struct CaseLine {
    std::string name, group, ending, output;
    unsigned long long checks = 0;
    std::string digest;
    double seconds = 0;
    double points = 1; // what the case is worth, in the reference's lines
};

// The case lines of a transcript, in order; lines that are not such an object are skipped: they
// are the list's, and prove nothing.
std::vector<CaseLine> readTranscript(const std::string& text) {
    std::vector<CaseLine> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        try {
            const nlohmann::json object = nlohmann::json::parse(line);
            lines.push_back({object.at("case"), object.at("group"), object.at("ending"),
                             object.at("output"), object.at("checks"), object.at("digest"),
                             object.at("seconds"), object.value("points", 1.0)});
        } catch (const nlohmann::json::exception&) {
            continue;
        }
    }
    return lines;
}

// Starts argv with standard input from /dev/null, descriptor 3 the write end of a new pipe (kept
// across the exec even where the pipe was made on 3 itself), and
// standard output and error as given (-1: this process's own). Returns the pid and the pipe's
// read end.
std::pair<pid_t, int> start(const std::vector<std::string>& argv, int out, int err) {
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) {
        troubleWith("cannot make a pipe");
    }
    fflush(stdout);
    fflush(stderr);
    const pid_t pid = fork();
    if (pid < 0) {
        troubleWith("cannot start a runner");
    }
    if (pid == 0) {
        // A runner outside the sandbox ends with the judge, as bubblewrap's does.
        (void)prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int nothing = open("/dev/null", O_RDONLY);
        if (nothing < 0 || dup2(nothing, STDIN_FILENO) < 0 || dup2(channel[1], 3) < 0 ||
            (out >= 0 && dup2(out, STDOUT_FILENO) < 0) ||
            (err >= 0 && dup2(err, STDERR_FILENO) < 0) || fcntl(3, F_SETFD, 0) < 0) {
            _exit(127);
        }
        std::vector<char*> args;
        args.reserve(argv.size() + 1);
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        fprintf(stderr, "%s: cannot run %s: %s\n", PROGRAM, args[0], strerror(errno));
        _exit(127);
    }
    close(channel[1]);
    return {pid, channel[0]};
}

// Reads fd to its end or, once pid has ended, to what is there already: a process the list left
// behind cannot hold the judge by keeping the descriptor open. Returns the text and pid's end.
std::pair<std::string, int> readUntilEnded(int fd, pid_t pid) {
    std::string text;
    std::optional<int> ended;
    char buffer[65536];
    for (;;) {
        pollfd wanted = {fd, POLLIN, 0};
        const int ready = poll(&wanted, 1, ended ? 0 : 100);
        if (ready > 0) {
            const ssize_t got = read(fd, buffer, sizeof buffer);
            if (got > 0) {
                text.append(buffer, static_cast<size_t>(got));
                continue;
            }
            if (got == 0 || errno != EINTR) {
                break;
            }
        } else if (ready == 0 && ended) {
            break;
        }
        int status = 0;
        if (!ended && waitpid(pid, &status, WNOHANG) == pid) {
            ended = status;
        }
    }
    close(fd);
    if (!ended) {
        int status = 0;
        childProcess::waitFor(pid, status);
        ended = status;
    }
    return {text, *ended};
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A name for mkstemp and mkdtemp in TMPDIR, /tmp where it is unset.
std::string temporaryPattern() {
    const char* folder = getenv("TMPDIR");
    return (folder != nullptr && *folder != '\0' ? std::string(folder) : "/tmp") +
           "/listJudge.XXXXXX";
}

// The first line of text, or what is there.
std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// Where the reference's lines for these options are kept: the reference runner as it is on the
// disk, and the options.
fs::path referenceEntry(const fs::path& cache, const JudgeOptions& options,
                        const std::vector<std::string>& shared) {
    struct stat status {};
    std::string key = options.reference;
    if (stat(options.reference.c_str(), &status) == 0) {
        key += ' ' + std::to_string(status.st_size) + ' ' + std::to_string(status.st_ino) + ' ' +
               std::to_string(status.st_mtim.tv_sec) + '.' + std::to_string(status.st_mtim.tv_nsec);
    }
    for (const std::string& option : shared) {
        key += '\0' + option;
    }
    for (const std::string& option : options.weights) {
        key += '\0' + option;
    }
    char name[40];
    snprintf(name, sizeof name, "reference-%016zx", std::hash<std::string>{}(key));
    return cache / std::string(name);
}

// The reference's lines: kept, or from a run of the reference runner now. Any failure of the
// reference is the checker's: the list it runs is correct.
std::string referenceTranscript(const JudgeOptions& options,
                                const std::vector<std::string>& shared) {
    std::optional<fs::path> entry;
    if (options.cache && options.seeded) {
        std::error_code ignored;
        fs::create_directory(*options.cache, ignored);
        entry = referenceEntry(*options.cache, options, shared);
        std::string kept = readFile(*entry);
        if (!kept.empty()) {
            return kept;
        }
    }
    // The reference's messages go to a file, read only should it fail.
    std::string pattern = temporaryPattern();
    const int err = mkostemp(pattern.data(), O_CLOEXEC);
    if (err < 0) {
        troubleWith("cannot make a temporary file in " + pattern);
    }
    unlink(pattern.c_str());
    const int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
    std::vector<std::string> argv = {options.reference, "--transcript", "3"};
    argv.insert(argv.end(), shared.begin(), shared.end());
    argv.insert(argv.end(), options.weights.begin(), options.weights.end());
    const auto [pid, channel] = start(argv, nothing, err);
    close(nothing);
    auto [text, status] = readUntilEnded(channel, pid);
    std::string messages(4096, '\0');
    messages.resize(
        static_cast<size_t>(std::max<ssize_t>(pread(err, messages.data(), messages.size(), 0), 0)));
    close(err);
    const std::vector<CaseLine> lines = readTranscript(text);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == EXIT_TROUBLE || lines.empty()) {
        trouble(messages.empty() ? tr("the reference run failed") : firstLine(messages));
    }
    for (const CaseLine& line : lines) {
        if (line.ending != "passed") {
            trouble(tr("the correct list the checks are compared with failed %s on this "
                       "machine; the list was not judged",
                       line.name));
        }
    }
    if (entry) {
        AtomicFile kept;
        if (kept.open(entry->c_str())) {
            fputs(text.c_str(), kept.stream());
            (void)kept.commit();
        }
    }
    return text;
}

// Each case's time limit from the reference's own time for it, where none was given: 50 times
// as long, and at least a tenth of a second, so that a list that hangs costs that much a case
// rather than the runner's 5 s, and a sound list has room to spare even on a busy machine. A
// sanitised runner is slower, and a sanitizer takes a while to write its report: at least 2 s then.
std::vector<std::string> derivedTimeouts(const std::vector<CaseLine>& reference, bool sanitised) {
    const double least = sanitised ? 2.0 : 0.1;
    std::vector<std::string> options;
    for (const CaseLine& line : reference) {
        char seconds[32];
        snprintf(seconds, sizeof seconds, "%.3f", std::max(least, 50 * line.seconds));
        options.insert(options.end(), {"--case-timeout", line.name + "=" + seconds});
    }
    return options;
}

// The list's runner, in the sandbox where there is one; its lines and its exit.
std::string runList(const JudgeOptions& options, const std::vector<std::string>& shared,
                    const fs::path& out) {
    std::vector<std::string> argv;
    fs::path repro = out / "repro.c";
    if (options.sandbox) {
        argv = {*options.sandbox,
                "--ro",
                fs::path(options.runner).parent_path().string(),
                "/runner",
                "--rw",
                out.string(),
                "/out"};
        for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "TERM",
                                 "NO_COLOR", "PROBERUNNER_NO_PID_NAMESPACE"}) {
            if (const char* value = getenv(name)) {
                argv.insert(argv.end(), {"--setenv", name, value});
            }
        }
        argv.insert(argv.end(), {"--", "/runner/" + fs::path(options.runner).filename().string()});
        repro = "/out/repro.c";
    } else {
        argv = {options.runner};
    }
    argv.insert(argv.end(), {"--transcript", "3"});
    argv.insert(argv.end(), shared.begin(), shared.end());
    if (options.repro) {
        argv.insert(argv.end(), {"--repro", repro.string()});
    }
    const auto [pid, channel] = start(argv, -1, -1);
    return readUntilEnded(channel, pid).first;
}

// A case that runs out of its derived time limit may have waited for a core on a busy machine
// rather than hung: when a few cases did, they are run once more with the runner's own limit, and
// their new lines stand in for the old. A list that hangs in more cases than that is not run again,
// so that a class of hanging lists costs no more. A case's line is replaced only by exactly one
// line of the same name, so that a list cannot write itself a pass here either.
constexpr size_t RERUN_AT_MOST = 3;

void rerunTimeouts(const JudgeOptions& options, const std::vector<std::string>& shared,
                   const fs::path& out, std::vector<CaseLine>& list) {
    std::vector<std::string> again = shared;
    std::string names;
    size_t count = 0;
    for (const CaseLine& line : list) {
        if (line.ending == "timeout") {
            again.insert(again.end(), {"--case", line.name});
            names += (names.empty() ? "" : ", ") + line.name;
            count++;
        }
    }
    if (count == 0 || count > RERUN_AT_MOST) {
        return;
    }
    printf(tr("%s ran out of time: run again with the runner's own limit, in case the machine was "
              "busy\n"),
           shown(names).c_str());
    fflush(stdout);
    const std::vector<CaseLine> rerun = readTranscript(runList(options, again, out));
    for (CaseLine& line : list) {
        if (line.ending != "timeout") {
            continue;
        }
        const auto same = [&line](const CaseLine& other) { return other.name == line.name; };
        if (std::count_if(rerun.begin(), rerun.end(), same) == 1) {
            line = *std::find_if(rerun.begin(), rerun.end(), same);
        }
    }
}

struct Verdict {
    CaseLine reference;
    bool passed = false;
    std::string output; // why it failed, and its report
};

// Each case of the reference judged on the list's lines.
std::vector<Verdict> judge(const std::vector<CaseLine>& reference,
                           const std::vector<CaseLine>& list) {
    std::map<std::string, std::vector<const CaseLine*>> byName;
    for (const CaseLine& line : list) {
        byName[line.name].push_back(&line);
    }
    std::vector<Verdict> verdicts;
    for (const CaseLine& expected : reference) {
        Verdict verdict{expected, false, ""};
        const auto& found = byName[expected.name];
        if (found.empty()) {
            verdict.output = "no result: the list's run ended before this case\n";
        } else if (found.size() > 1) {
            verdict.output = "the case has more than one result: the list wrote its own\n";
        } else if (found[0]->ending != "passed") {
            verdict.output = found[0]->output;
        } else if (found[0]->checks != expected.checks || found[0]->digest != expected.digest) {
            verdict.output = "the list's answers are not a correct list's (" +
                             std::to_string(found[0]->checks) + " values checked, " +
                             std::to_string(expected.checks) + " in a correct list's run)\n";
        } else {
            verdict.passed = true;
        }
        verdicts.push_back(std::move(verdict));
    }
    return verdicts;
}

// Replaces the file at path with text in one step.
void writeWhole(const std::string& path, const std::string& text) {
    AtomicFile file;
    if (!file.open(path.c_str()) ||
        fwrite(text.data(), 1, text.size(), file.stream()) != text.size() || !file.commit()) {
        troubleWith("cannot write '" + path + "'");
    }
}

nlohmann::ordered_json points(double value) {
    return value == static_cast<double>(static_cast<long long>(value))
               ? nlohmann::ordered_json(static_cast<long long>(value))
               : nlohmann::ordered_json(value);
}

void writeJson(const std::string& path, const std::vector<Verdict>& verdicts) {
    nlohmann::ordered_json tests = nlohmann::ordered_json::array();
    double score = 0;
    for (const Verdict& verdict : verdicts) {
        const double worth = verdict.reference.points;
        score += verdict.passed ? worth : 0;
        tests.push_back({{"name", verdict.reference.name},
                         {"status", verdict.passed ? "passed" : "failed"},
                         {"score", points(verdict.passed ? worth : 0)},
                         {"max_score", points(worth)},
                         {"output", shown(verdict.output)}});
    }
    const nlohmann::ordered_json results = {{"tests", tests}, {"score", points(score)}};
    writeWhole(path, results.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
}

void writeJunit(const std::string& path, const std::vector<Verdict>& verdicts) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n";
    size_t failed = 0;
    std::string cases;
    for (const Verdict& verdict : verdicts) {
        failed += verdict.passed ? 0 : 1;
        cases += "  <testcase classname=\"" + escapeXml(verdict.reference.group) + "\" name=\"" +
                 escapeXml(verdict.reference.name) + "\">";
        if (!verdict.passed) {
            cases += "<failure message=\"" + escapeXml(firstLine(verdict.output)) + "\">" +
                     escapeXml(verdict.output) + "</failure>";
        }
        cases += "</testcase>\n";
    }
    xml += " <testsuite name=\"probeRunner\" tests=\"" + std::to_string(verdicts.size()) +
           "\" failures=\"" + std::to_string(failed) + "\">\n" + cases +
           " </testsuite>\n</testsuites>\n";
    writeWhole(path, xml);
}

// The private folder the list's runner may write its files to.
fs::path makeOutFolder() {
    std::string pattern = temporaryPattern();
    if (mkdtemp(pattern.data()) == nullptr) {
        troubleWith("cannot make a temporary folder in " + pattern);
    }
    return pattern;
}

// The judge's work; main() makes anything it throws (memory, a file system error) its trouble.
int judgeList(int argc, char** argv) {
    JudgeOptions options = parse(argc, argv);
    if (options.onlyAsks) {
        // Listing the cases, the help and the version need no list: the reference answers.
        std::vector<char*> args = {const_cast<char*>(options.reference.c_str())};
        for (std::string& option : options.shared) {
            args.push_back(option.data());
        }
        for (std::string& option : options.weights) {
            args.push_back(option.data());
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        troubleWith("cannot run " + options.reference);
    }
    std::vector<std::string> shared = options.shared;
    if (!options.seeded) {
        std::random_device random;
        const unsigned long long seed =
            (static_cast<unsigned long long>(random()) << 32) ^ random();
        shared.insert(shared.end(), {"--seed", std::to_string(seed)});
    }
    const std::vector<CaseLine> reference = readTranscript(referenceTranscript(options, shared));
    std::vector<std::string> forList = shared;
    if (!options.timed) {
        const std::vector<std::string> timeouts = derivedTimeouts(reference, options.sanitised);
        forList.insert(forList.end(), timeouts.begin(), timeouts.end());
    }
    const fs::path out = makeOutFolder();
    std::vector<CaseLine> list = readTranscript(runList(options, forList, out));
    if (!options.timed) {
        rerunTimeouts(options, shared, out, list);
    }
    const std::vector<Verdict> verdicts = judge(reference, list);
    std::map<std::string, bool> claimed;
    for (const CaseLine& line : list) {
        claimed[line.name] = line.ending == "passed";
    }
    int passed = 0;
    for (const Verdict& verdict : verdicts) {
        passed += verdict.passed ? 1 : 0;
        if (!verdict.passed && claimed[verdict.reference.name]) {
            printf("FAIL %s %s: %s", verdict.reference.group.c_str(),
                   verdict.reference.name.c_str(), shown(verdict.output).c_str());
        }
    }
    const int failed = static_cast<int>(verdicts.size()) - passed;
    // Which checks ran, since the extended ones are the default and a bare count hides their
    // absence.
    printf(options.extended ? tr("%d passed, %d failed (the conformance cases and the extended "
                                 "checks)\n")
                            : tr("%d passed, %d failed (the conformance cases alone)\n"),
           passed, failed);
    if (options.json) {
        writeJson(*options.json, verdicts);
    }
    if (options.junit) {
        writeJunit(*options.junit, verdicts);
    }
    std::error_code ignored;
    if (options.repro && fs::exists(out / "repro.c")) {
        writeWhole(*options.repro, readFile(out / "repro.c"));
    }
    fs::remove_all(out, ignored);
    if (!flushOutput()) {
        troubleWith(tr("cannot write the results"));
    }
    return failed == 0 ? EXIT_OK : EXIT_FAILED;
}

} // namespace

int main(int argc, char** argv) {
    startTranslations();
    (void)signal(SIGPIPE, SIG_IGN);
    try {
        return judgeList(argc, argv);
    } catch (const std::exception& error) {
        trouble(error.what());
    }
}
