#ifndef TESTS_SUPPORT_CONSOLE_H
#define TESTS_SUPPORT_CONSOLE_H

// Helpers for tests of console code: capture what a call prints, run a call or a program at a
// pseudo-terminal with typed lines, and run a program as built in a folder of its own.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace console {

// Ctrl-D typed at the start of a line: the terminal reports end of input to the reader.
inline constexpr char END_OF_INPUT = '\x04';

// Whether this build runs everything under the sanitizers: check-list's suite is then sanitised as
// a user's list is not, so the tests that build lists with it skip. A coverage build's suite only
// counts, and a list linked with it counts too.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool SANITIZED_BUILD = true;
#else
inline constexpr bool SANITIZED_BUILD = false;
#endif

// Runs fn with file descriptor 1 sent to a temporary file and returns every byte it wrote there,
// through stdio or straight to the descriptor.
std::string captureStdout(const std::function<void()>& fn);

struct Run {
    std::string output; // every byte written to the terminal or pipe, untouched
    int exitCode = -1;  // the exit status, or -1 when the process did not exit normally
    int signal = 0;     // the signal that ended the process, if one did
    bool timedOut = false;
};

// The terminal a typist would have, minus what hides the program's own bytes: canonical line
// mode on, so each read hands over one typed line; no echo, no output post-processing, no input
// translation (a typed '\r' stays '\r'), no signal or editing characters but Ctrl-D for end of
// input.
struct Typing {
    std::vector<std::string> lines; // each sent with '\n' behind it
    bool endOfInputAfter = true;    // type Ctrl-D once the lines are spent
    std::chrono::milliseconds timeout{5000};
    std::string killOnceShown{}; // once the output holds this text, the program gets SIGKILL
    // A terminal that echoes what is typed, as a person's does: line editors edit only there.
    bool echo = false;
    // When not empty, each line (and the final Ctrl-D) is typed only once the output since the
    // line before, less the blanks and line ends at its end, ends with this text: as a person
    // waits for the question, and a line editor has taken the terminal by then.
    std::string typeAfter{};
};

// Ends a forked child at once with status, as _exit does, once a coverage build has written the
// child's counts (its exit handler, which would write them, does not run).
[[noreturn]] void leaveChild(int status);

// Forks, runs fn in the child at a fresh pseudo-terminal, types the lines and collects what the
// child printed until it ends; the child's exit status is fn's result.
Run runAtTerminal(const std::function<int()>& fn, const Typing& typing);

// The same for a program: argv[0] is its path; it runs in cwd (the current folder if empty).
Run runProgramAtTerminal(const std::vector<std::string>& argv, const Typing& typing,
                         const std::filesystem::path& cwd = {});

// Runs a program with stdin from /dev/null (or the given text) and stdout and stderr captured
// together through a pipe.
Run runProgram(const std::vector<std::string>& argv, const std::filesystem::path& cwd = {},
               const std::string& input = {},
               std::chrono::milliseconds timeout = std::chrono::milliseconds{10000});

} // namespace console

#endif
