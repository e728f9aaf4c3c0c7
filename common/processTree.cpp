// PID namespaces, subreapers and the killing of a process's descendants.
#include "processTree.h"

#include "ChildProcess.h"
#include "File.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/capability.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#ifdef COVERAGE_BUILD
// Coverage builds write their counts from an exit handler, which _exit skips.
extern "C" void __gcov_dump(void);
#endif

namespace {

// The pid that text holds in full, or -1.
pid_t pidIn(const char* text) {
    char* end = nullptr;
    errno = 0;
    const long pid = strtol(text, &end, 10);
    return end != text && *end == '\0' && errno == 0 && pid > 0 && pid <= INT_MAX
               ? static_cast<pid_t>(pid)
               : -1;
}

// The parent pid in a /proc/<pid>/stat line: the second field after the command, whose name
// may hold blanks and parentheses, so it is found after the last ')'; -1 if there is none.
pid_t parentIn(const char* stat) {
    const char* close = strrchr(stat, ')');
    if (close == nullptr || close[1] != ' ' || close[2] == '\0' || close[3] != ' ') {
        return -1;
    }
    char* end = nullptr;
    const long parent = strtol(close + 4, &end, 10);
    return end != close + 4 && *end == ' ' && parent >= 0 && parent <= INT_MAX
               ? static_cast<pid_t>(parent)
               : -1;
}

// True when /proc numbers processes as this process does.
bool procSeesOwnPid() {
    char link[32] = {};
    const ssize_t length = readlink("/proc/self", link, sizeof link - 1);
    return length > 0 && pidIn(link) == getpid();
}

// The pids of this process's children, dead or alive, as /proc lists them.
std::vector<pid_t> children() {
    std::vector<pid_t> found;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) {
        return found;
    }
    const pid_t self = getpid();
    // readdir_r is deprecated, and the runner has one thread.
    // cppcheck-suppress readdirCalled
    while (const dirent* entry = readdir(proc)) {
        const pid_t pid = pidIn(entry->d_name);
        if (pid <= 0) {
            continue;
        }
        char path[64];
        snprintf(path, sizeof path, "/proc/%d/stat", pid);
        const File file(fopen(path, "r"));
        char stat[512] = {};
        if (file != nullptr && fgets(stat, sizeof stat, file.get()) != nullptr &&
            parentIn(stat) == self) {
            found.push_back(pid);
        }
    }
    closedir(proc);
    return found;
}

// Waits for a child to end; false when it is not this process's child.
bool reap(pid_t pid) {
    int status = 0;
    return childProcess::waitFor(pid, status) == pid;
}

} // namespace

bool isDescendant(pid_t pid) {
    const pid_t self = getpid();
    // Bounded: a chain of parents is never longer than the processes there are, and a cycle
    // cannot happen, but a pid reused mid-walk should not keep the walk going.
    for (int steps = 0; pid > 1 && steps < 4096; steps++) {
        char path[32] = "/proc/";
        size_t at = 6;
        char digits[12];
        size_t count = 0;
        for (pid_t rest = pid; rest > 0; rest /= 10) {
            digits[count++] = static_cast<char>('0' + rest % 10);
        }
        while (count > 0) {
            path[at++] = digits[--count];
        }
        memcpy(path + at, "/stat", 6);
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        char stat[512];
        const ssize_t length = read(fd, stat, sizeof stat - 1);
        close(fd);
        if (length <= 0) {
            return false;
        }
        stat[length] = '\0';
        pid = parentIn(stat);
        if (pid == self) {
            return true;
        }
    }
    return false;
}

void hideFromOtherProcesses() {
    (void)prctl(PR_SET_DUMPABLE, 0);
}

void detachCase() {
    // A new session has no terminal; it is also the case's process group, which ends at once.
    if (setsid() < 0) {
        (void)setpgid(0, 0);
    }
    (void)prctl(PR_CAPBSET_DROP, CAP_SYS_PTRACE, 0, 0, 0);
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(SYS_capget, &header, data) != 0) {
        return;
    }
    const unsigned bit = 1u << (CAP_SYS_PTRACE % 32);
    __user_cap_data_struct& word = data[CAP_SYS_PTRACE / 32];
    word.effective &= ~bit;
    word.permitted &= ~bit;
    word.inheritable &= ~bit;
    (void)syscall(SYS_capset, &header, data);
}

bool enterPidNamespace() {
    return unshare(CLONE_NEWPID) == 0 || unshare(CLONE_NEWUSER | CLONE_NEWPID) == 0;
}

bool becomeSubreaper() {
    return prctl(PR_SET_CHILD_SUBREAPER, 1) == 0;
}

void killChildren() {
    if (!procSeesOwnPid()) {
        return;
    }
    for (std::vector<pid_t> found = children(); !found.empty(); found = children()) {
        for (const pid_t pid : found) {
            kill(pid, SIGKILL);
        }
        for (const pid_t pid : found) {
            reap(pid);
        }
    }
}

void writeOutBeforeEnding() {
    fflush(nullptr);
#ifdef COVERAGE_BUILD
    __gcov_dump();
#endif
}

void leaveProcess(int status) {
    writeOutBeforeEnding();
    _exit(status);
}

void endAsSignal(int signal) {
    writeOutBeforeEnding();
    (void)::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    (void)sigprocmask(SIG_UNBLOCK, &set, nullptr);
    (void)raise(signal);
    _exit(128 + signal);
}
