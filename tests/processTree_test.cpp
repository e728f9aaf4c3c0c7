// A process that ends as a signal would: its parent sees the signal, even one it had blocked or
// caught, and what its stdio held is written out first.
#include "ChildProcess.h"
#include "processTree.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

void ignore(int /*signal*/) {}

TEST(ProcessTree, EndingAsASignalShowsThatSignalWhetherBlockedCaughtOrIgnored) {
    const struct {
        int signal;
        void (*handler)(int);
        bool blocked;
    } rows[] = {{SIGTERM, SIG_DFL, true}, {SIGINT, ignore, false}, {SIGHUP, SIG_IGN, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.signal);
        std::fflush(nullptr); // the child writes out what its stdio holds: none of the test's
        const auto child = childProcess::forkWithPipe([&row](int out) {
            (void)signal(row.signal, row.handler);
            if (row.blocked) {
                sigset_t set;
                sigemptyset(&set);
                sigaddset(&set, row.signal);
                sigprocmask(SIG_BLOCK, &set, nullptr);
            }
            dup2(out, STDOUT_FILENO);
            std::fputs("held", stdout);
            endAsSignal(row.signal);
        });
        ASSERT_GT(child.pid, 0);
        char held[8] = {};
        EXPECT_EQ(std::string(held, childProcess::readToEnd(child.output, held, sizeof held)),
                  "held");
        close(child.output);
        int status = 0;
        ASSERT_EQ(childProcess::waitFor(child.pid, status), child.pid);
        EXPECT_EQ(childProcess::endingSignal(status), row.signal);
    }
}

} // namespace
