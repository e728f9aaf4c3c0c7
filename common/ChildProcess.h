// Child processes: forking one with a pipe from it, reading that pipe and waiting for the child
// through the signals that interrupt both, and telling from a wait status how the child ended.
// Header-only, so that the suite's case groups, the runner, checkClass and the tests' support take
// it without a library between them.
#ifndef CHILD_PROCESS_H
#define CHILD_PROCESS_H

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>

namespace childProcess {

// Waits for pid to end (any child for -1), waiting again when a signal interrupts the wait; when
// stop is given, a signal that has set it ends the wait instead, and so does a stop set before
// it. What waitpid gave: pid, or -1 when there is no such child or the wait stopped.
inline pid_t waitFor(pid_t pid, int& status, const volatile sig_atomic_t* stop = nullptr) {
    pid_t done = -1;
    while ((stop == nullptr || *stop == 0) && (done = waitpid(pid, &status, 0)) < 0 &&
           errno == EINTR) {
    }
    return done;
}

// Waits for any child until pid ends, reaping the others that end before it; false when pid is
// no child of this process.
inline bool reapUntil(pid_t pid, int& status) {
    for (;;) {
        const pid_t done = waitFor(-1, status);
        if (done == pid) {
            return true;
        }
        if (done < 0) {
            return false;
        }
    }
}

// The signal that ended a child with this wait status, or 0 when no signal did.
inline int endingSignal(int status) {
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// The status a child with this wait status exited with, or -1 when it did not exit.
inline int exitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads fd into `into` until the writers close it, a read fails, or size bytes have come; a read
// a signal interrupts is made again. How many bytes came.
inline size_t readToEnd(int fd, char* into, size_t size) {
    size_t length = 0;
    while (length < size) {
        const ssize_t count = read(fd, into + length, size - length);
        if (count == 0 || (count < 0 && errno != EINTR)) {
            break;
        }
        length += count > 0 ? static_cast<size_t>(count) : 0;
    }
    return length;
}

// Appends what fd gives to bytes until the writers close it or a read fails; false when the
// deadline passes first.
inline bool readToEnd(int fd, std::string& bytes, std::chrono::steady_clock::time_point deadline) {
    char chunk[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(std::max<long>(left.count(), 0)));
        if (polled == 0) {
            return false;
        }
        const ssize_t count = polled > 0 ? read(fd, chunk, sizeof chunk) : -1;
        if (count == 0 || (count < 0 && errno != EINTR)) {
            return true;
        }
        bytes.append(chunk, count > 0 ? static_cast<size_t>(count) : 0);
    }
}

// A forked child and the read end of a pipe from it; failed names the call that failed ("pipe",
// "fork"), with pid and output -1, when there is no child.
struct PipedChild {
    pid_t pid = -1;
    int output = -1;
    const char* failed = nullptr;
};

// Forks a child that runs body(writeEnd), the pipe's write end, and ends there; body ends the
// process itself, and a child whose body returns exits with status 1.
template <typename Body> PipedChild forkWithPipe(Body&& body) {
    int ends[2];
    if (pipe(ends) != 0) {
        return {-1, -1, "pipe"};
    }
    const pid_t pid = fork();
    if (pid < 0) {
        close(ends[0]);
        close(ends[1]);
        return {-1, -1, "fork"};
    }
    if (pid == 0) {
        close(ends[0]);
        body(ends[1]);
        _exit(1);
    }
    close(ends[1]);
    return {pid, ends[0], nullptr};
}

} // namespace childProcess

#endif
