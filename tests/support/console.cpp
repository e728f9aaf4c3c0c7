#include "console.h"

#include "ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#ifdef COVERAGE_BUILD
extern "C" void __gcov_dump(void);
#endif

namespace console {

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

termios typistTerminal(bool echo) {
    termios t{};
    t.c_iflag = 0;
    t.c_oflag = 0;
    t.c_cflag = CS8 | CREAD | CLOCAL;
    t.c_lflag = echo ? ICANON | ECHO : ICANON;
    for (cc_t& c : t.c_cc) {
        c = _POSIX_VDISABLE;
    }
    t.c_cc[VEOF] = END_OF_INPUT;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, B38400);
    cfsetospeed(&t, B38400);
    return t;
}

std::string typedBytes(const Typing& typing) {
    std::string bytes;
    for (const std::string& line : typing.lines) {
        bytes += line;
        bytes += '\n';
    }
    if (typing.endOfInputAfter) {
        bytes += END_OF_INPUT;
    }
    return bytes;
}

void finish(pid_t pid, Run& run) {
    int status = 0;
    childProcess::waitFor(pid, status);
    if (childProcess::exitStatus(status) >= 0) {
        run.exitCode = childProcess::exitStatus(status);
    } else if (childProcess::endingSignal(status) != 0) {
        run.signal = childProcess::endingSignal(status);
    }
}

// Whether output, from its byte `from` on and less the blanks and line ends at its end, ends with
// question.
bool asks(const std::string& output, size_t from, const std::string& question) {
    const size_t end = output.find_last_not_of(" \r\n");
    return end != std::string::npos && end + 1 >= from + question.size() &&
           output.compare(end + 1 - question.size(), question.size(), question) == 0;
}

// Writes to `in` what it takes of the input not yet sent.
void typeSome(int in, const std::string& input, std::size_t& sent) {
    const ssize_t n = write(in, input.data() + sent, input.size() - sent);
    if (n > 0) {
        sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EAGAIN) {
        sent = input.size(); // the reader is gone: nobody will read the rest
    }
}

// Feeds `input` to fd `in` (when it is not -1) while collecting everything readable from fd `out`
// until the other side hangs up or the time is up. A pipe `in` is closed once the input is spent,
// so that the reader sees its end. Once the output holds killOnceShown (when not empty), the
// process is killed with SIGKILL. With typeAfter, input goes a line at a time (see Typing).
Run converse(pid_t pid, int out, int in, const std::string& input, bool closeWhenSent,
             std::chrono::milliseconds timeout, const std::string& killOnceShown = {},
             const std::string& typeAfter = {}) {
    Run run;
    // How much of the input may be typed, and where the output stood when the last line went.
    size_t allowed = typeAfter.empty() ? input.size() : 0;
    size_t askedFrom = 0;
    const auto deadline = Clock::now() + timeout;
    fcntl(out, F_SETFL, fcntl(out, F_GETFL) | O_NONBLOCK);
    if (in != -1) {
        fcntl(in, F_SETFL, fcntl(in, F_GETFL) | O_NONBLOCK);
    }
    std::size_t sent = 0;
    char chunk[4096];
    for (;;) {
        if (closeWhenSent && in != -1 && sent == input.size()) {
            close(in);
            in = -1;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            run.timedOut = true;
            break;
        }
        if (sent == allowed && allowed < input.size() && asks(run.output, askedFrom, typeAfter)) {
            const size_t lineEnd = input.find('\n', allowed);
            allowed = lineEnd == std::string::npos ? input.size() : lineEnd + 1;
            askedFrom = run.output.size();
        }
        const bool typing = in != -1 && sent < allowed;
        pollfd fds[2] = {{out, POLLIN, 0}, {in, POLLOUT, 0}};
        if (poll(fds, typing ? 2 : 1, static_cast<int>(left.count())) < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("poll");
        }
        if (typing && (fds[1].revents & POLLOUT)) {
            typeSome(in, input, sent);
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            const ssize_t n = read(out, chunk, sizeof chunk);
            if (n > 0) {
                run.output.append(chunk, static_cast<std::size_t>(n));
                if (!killOnceShown.empty() && run.output.find(killOnceShown) != std::string::npos) {
                    kill(pid, SIGKILL);
                }
            } else if (n == 0 || errno != EAGAIN) {
                break; // end of file, or EIO once every holder of the terminal is gone
            }
        }
    }
    if (closeWhenSent && in != -1) {
        close(in);
    }
    finish(pid, run);
    return run;
}

Run atTerminal(const std::function<void()>& child, const Typing& typing) {
    std::fflush(nullptr);
    termios terminal = typistTerminal(typing.echo);
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, &terminal, nullptr);
    if (pid < 0) {
        fail("forkpty");
    }
    if (pid == 0) {
        child();
        _exit(127);
    }
    Run run = converse(pid, master, master, typedBytes(typing), false, typing.timeout,
                       typing.killOnceShown, typing.typeAfter);
    close(master);
    return run;
}

[[noreturn]] void execIn(const std::vector<std::string>& argv, const std::filesystem::path& cwd) {
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) {
        _exit(126);
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
}

} // namespace

std::string captureStdout(const std::function<void()>& fn) {
    std::fflush(stdout);
    FILE* sink = std::tmpfile();
    if (sink == nullptr) {
        fail("tmpfile");
    }
    const int saved = dup(STDOUT_FILENO);
    dup2(fileno(sink), STDOUT_FILENO);
    fn();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string bytes;
    std::rewind(sink);
    char chunk[4096];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, sink)) > 0) {
        bytes.append(chunk, n);
    }
    std::fclose(sink);
    return bytes;
}

void leaveChild(int status) {
#ifdef COVERAGE_BUILD
    __gcov_dump();
#endif
    _exit(status);
}

Run runAtTerminal(const std::function<int()>& fn, const Typing& typing) {
    return atTerminal(
        [&fn] {
            // The parent's stdout may have been a pipe: a terminal is line buffered.
            std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
            const int result = fn();
            std::fflush(stdout);
            leaveChild(result);
        },
        typing);
}

Run runProgramAtTerminal(const std::vector<std::string>& argv, const Typing& typing,
                         const std::filesystem::path& cwd) {
    return atTerminal([&] { execIn(argv, cwd); }, typing);
}

Run runProgram(const std::vector<std::string>& argv, const std::filesystem::path& cwd,
               const std::string& input, std::chrono::milliseconds timeout) {
    int output[2];
    int feed[2];
    if (pipe(output) != 0 || pipe(feed) != 0) {
        fail("pipe");
    }
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        fail("fork");
    }
    if (pid == 0) {
        dup2(feed[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        close(feed[0]);
        close(feed[1]);
        close(output[0]);
        close(output[1]);
        execIn(argv, cwd);
    }
    close(feed[0]);
    close(output[1]);
    signal(SIGPIPE, SIG_IGN);
    Run run = converse(pid, output[0], feed[1], input, true, timeout);
    close(output[0]);
    return run;
}

} // namespace console
