// A check run in a child process of the case, for checks whose allocations the case must not
// count (the runner follows a bounded number of heap blocks) or whose crash must not take the
// case's report with it.
#ifndef PROBECHILD_H
#define PROBECHILD_H

#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <cstdio>
#include <cstring>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#ifdef COVERAGE_BUILD
// Coverage builds write their counts from an exit handler, which _exit skips.
extern "C" void __gcov_dump(void);
#endif

namespace probeChild {

// A list may walk recursively, a frame a node: the check gets a stack for its longest list.
constexpr size_t kStackBytes = size_t{512} << 20;

struct Job {
    bool (*check)(char* why, size_t size);
    char text[256];
    bool held;
};

inline void* runJob(void* argument) {
    auto* job = static_cast<Job*>(argument);
    job->held = job->check(job->text, sizeof job->text);
    return nullptr;
}

// Runs the job on a thread with a stack of kStackBytes, or here when there is none to be had.
inline void runOnLargeStack(Job& job) {
    pthread_attr_t attributes;
    pthread_t thread;
    const bool made = pthread_attr_init(&attributes) == 0 &&
                      pthread_attr_setstacksize(&attributes, kStackBytes) == 0 &&
                      pthread_create(&thread, &attributes, runJob, &job) == 0;
    if (made) {
        pthread_join(thread, nullptr);
    } else {
        runJob(&job);
    }
}

// Runs check(why, size) in a child process: 1 when it held; 0 when it did not, or when the child
// crashed or could not be made, with why saying so.
inline int holds(bool (*check)(char* why, size_t size), char* why, size_t size) {
    int channel[2];
    if (pipe(channel) != 0) {
        snprintf(why, size, "\nError: no se pudo crear el proceso del chequeo (pipe)\n");
        return 0;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(channel[0]);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        Job job{check, "", false};
        runOnLargeStack(job);
        const ssize_t written = write(channel[1], job.text, strlen(job.text));
#ifdef COVERAGE_BUILD
        __gcov_dump();
#endif
        _exit(job.held && written >= 0 ? 0 : 1);
    }
    close(channel[1]);
    size_t length = 0;
    ssize_t count = 0;
    while (pid > 0 && length + 1 < size &&
           (count = read(channel[0], why + length, size - 1 - length)) != 0) {
        length += count > 0 ? static_cast<size_t>(count) : 0;
        if (count < 0 && errno != EINTR) {
            break;
        }
    }
    why[length] = '\0';
    close(channel[0]);
    int status = 0;
    while (pid > 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (pid < 0) {
        snprintf(why, size, "\nError: no se pudo crear el proceso del chequeo (fork)\n");
        return 0;
    }
    if (WIFSIGNALED(status)) {
        const char* name = sigabbrev_np(WTERMSIG(status));
        snprintf(why, size, "\nError: la lista se cae durante el chequeo (senal %d, SIG%s)\n",
                 WTERMSIG(status), name != nullptr ? name : "?");
        return 0;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : 0;
}

} // namespace probeChild

#endif
