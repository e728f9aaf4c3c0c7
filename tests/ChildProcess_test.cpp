// ChildProcess: how a child ended, read and waited for through signals that interrupt both, a
// deadline on its pipe, a wait told to stop, and the other children reaped on the way.
#include "ChildProcess.h"

#include <signal.h>
#include <sys/time.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using childProcess::PipedChild;

// Ends the test's children that are still running.
void end(const PipedChild& child) {
    kill(child.pid, SIGKILL);
    int status = 0;
    childProcess::waitFor(child.pid, status);
    close(child.output);
}

TEST(ChildProcess, TellsHowAChildEnded) {
    struct Ending {
        void (*body)(int);
        int exitStatus;
        int signal;
    };
    const Ending endings[] = {
        {[](int) { _exit(0); }, 0, 0},
        {[](int) { _exit(3); }, 3, 0},
        {[](int) {}, 1, 0}, // a body that returns
        {[](int) { raise(SIGABRT); }, -1, SIGABRT},
        {[](int) { raise(SIGKILL); }, -1, SIGKILL},
    };
    for (const Ending& ending : endings) {
        const PipedChild child = childProcess::forkWithPipe(ending.body);
        ASSERT_EQ(child.failed, nullptr);
        close(child.output);
        int status = 0;
        ASSERT_EQ(childProcess::waitFor(child.pid, status), child.pid);
        EXPECT_EQ(childProcess::exitStatus(status), ending.exitStatus);
        EXPECT_EQ(childProcess::endingSignal(status), ending.signal);
    }
}

void ignore(int /*signal*/) {}

// Reads and waits while a timer interrupts them every millisecond; both must see the child out.
TEST(ChildProcess, ReadsAndWaitsThroughInterruptions) {
    struct sigaction action = {};
    action.sa_handler = ignore; // without SA_RESTART: every blocked call fails with EINTR
    sigemptyset(&action.sa_mask);
    struct sigaction before = {};
    sigaction(SIGALRM, &action, &before);
    const PipedChild child = childProcess::forkWithPipe([](int channel) {
        usleep(30000);
        const ssize_t written = write(channel, "hola ", 5);
        usleep(30000);
        _exit(written == 5 && write(channel, "mundo", 5) == 5 ? 7 : 1);
    });
    ASSERT_EQ(child.failed, nullptr);
    const itimerval often = {{0, 1000}, {0, 1000}};
    setitimer(ITIMER_REAL, &often, nullptr);
    char text[4] = {};
    const size_t first = childProcess::readToEnd(child.output, text, sizeof text);
    std::string rest;
    const bool ended = childProcess::readToEnd(
        child.output, rest, std::chrono::steady_clock::now() + std::chrono::seconds(10));
    int status = 0;
    const pid_t waited = childProcess::waitFor(child.pid, status);
    const itimerval never = {};
    setitimer(ITIMER_REAL, &never, nullptr);
    sigaction(SIGALRM, &before, nullptr);
    close(child.output);
    EXPECT_EQ(std::string(text, first), "hola");
    EXPECT_TRUE(ended);
    EXPECT_EQ(rest, " mundo");
    EXPECT_EQ(waited, child.pid);
    EXPECT_EQ(childProcess::exitStatus(status), 7);
}

TEST(ChildProcess, GivesUpOnAPipeAtItsDeadlineAndAWaitWhenToldToStop) {
    const PipedChild child = childProcess::forkWithPipe([](int) {
        sleep(10);
        _exit(0);
    });
    ASSERT_EQ(child.failed, nullptr);
    std::string bytes;
    EXPECT_FALSE(childProcess::readToEnd(
        child.output, bytes, std::chrono::steady_clock::now() + std::chrono::milliseconds(50)));
    const volatile sig_atomic_t stop = 1;
    int status = 0;
    EXPECT_EQ(childProcess::waitFor(child.pid, status, &stop), -1);
    end(child);
}

TEST(ChildProcess, ReapsTheOtherChildrenUntilTheOneAwaited) {
    const PipedChild early = childProcess::forkWithPipe([](int) { _exit(2); });
    const PipedChild late = childProcess::forkWithPipe([](int) {
        usleep(50000);
        _exit(5);
    });
    ASSERT_EQ(early.failed, nullptr);
    ASSERT_EQ(late.failed, nullptr);
    close(early.output);
    close(late.output);
    int status = 0;
    EXPECT_TRUE(childProcess::reapUntil(late.pid, status));
    EXPECT_EQ(childProcess::exitStatus(status), 5);
    EXPECT_EQ(waitpid(early.pid, &status, WNOHANG), -1); // already reaped
    EXPECT_FALSE(childProcess::reapUntil(late.pid, status));
}

} // namespace
