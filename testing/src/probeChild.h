// A check run in a child process of the case, for checks whose allocations the case must not
// count (the runner follows a bounded number of heap blocks) or whose crash must not take the
// case's report with it.
#ifndef PROBECHILD_H
#define PROBECHILD_H

#include "ChildProcess.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#ifdef COVERAGE_BUILD
// Coverage builds write their counts from an exit handler, which _exit skips.
extern "C" void __gcov_dump(void);
#endif

namespace probeChild {

// A list may walk recursively, a frame a node: the check gets a stack for its longest list.
constexpr size_t STACK_BYTES = size_t{512} << 20;

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

// Runs the job on a thread with a stack of STACK_BYTES, or here when there is none to be had.
inline void runOnLargeStack(Job& job) {
    pthread_attr_t attributes;
    pthread_t thread;
    const bool made = pthread_attr_init(&attributes) == 0 &&
                      pthread_attr_setstacksize(&attributes, STACK_BYTES) == 0 &&
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
    const childProcess::PipedChild child = childProcess::forkWithPipe([check](int channel) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        Job job{check, "", false};
        runOnLargeStack(job);
        const ssize_t written = write(channel, job.text, strlen(job.text));
#ifdef COVERAGE_BUILD
        __gcov_dump();
#endif
        _exit(job.held && written >= 0 ? 0 : 1);
    });
    if (child.failed != nullptr) {
        snprintf(why, size, "\nError: no se pudo crear el proceso del chequeo (%s)\n",
                 child.failed);
        return 0;
    }
    why[childProcess::readToEnd(child.output, why, size - 1)] = '\0';
    close(child.output);
    int status = 0;
    childProcess::waitFor(child.pid, status);
    if (const int signal = childProcess::endingSignal(status); signal != 0) {
        const char* name = sigabbrev_np(signal);
        snprintf(why, size, "\nError: la lista se cae durante el chequeo (senal %d, SIG%s)\n",
                 signal, name != nullptr ? name : "?");
        return 0;
    }
    return childProcess::exitStatus(status) == 0 ? 1 : 0;
}

} // namespace probeChild

#endif
