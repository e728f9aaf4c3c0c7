// The console helpers are what every dialogue test stands on: prove that the terminal behaves as
// a typist's would before trusting it.
#include "console.h"
#include "files.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <stdio_ext.h>
#include <unistd.h>

namespace {

using console::Typing;

TEST(CaptureStdout, TakesStdioAndRawDescriptorWrites) {
    const std::string out = console::captureStdout([] {
        std::printf("uno %d\n", 1);
        std::fputs("dos", stdout);
        std::fflush(stdout);
        (void)!write(STDOUT_FILENO, "tres", 4);
    });
    EXPECT_EQ(out, "uno 1\ndostres");
}

TEST(RunAtTerminal, HandsTypedAheadLinesOverOneAtATime) {
    const auto run = console::runAtTerminal(
        [] {
            char line[64];
            if (std::fgets(line, sizeof line, stdin) == nullptr) {
                return 1;
            }
            __fpurge(stdin); // must lose nothing typed after the first line
            if (std::fgets(line, sizeof line, stdin) == nullptr) {
                return 2;
            }
            std::printf("[%s]", line);
            return 0;
        },
        Typing{{"primera", "segunda"}});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "[segunda\n]");
}

TEST(RunAtTerminal, KeepsCarriageReturnsAndLineFeedsUntranslated) {
    const auto run = console::runAtTerminal(
        [] {
            char line[64];
            if (std::fgets(line, sizeof line, stdin) == nullptr) {
                return 1;
            }
            std::printf("%zu\n", std::strlen(line));
            return 0;
        },
        Typing{{"ab\r"}});
    EXPECT_EQ(run.output, "4\n");
}

TEST(RunAtTerminal, CtrlDOnAnEmptyLineIsEndOfInput) {
    const auto run = console::runAtTerminal(
        [] {
            char line[64];
            return std::fgets(line, sizeof line, stdin) == nullptr ? 7 : 0;
        },
        Typing{{}});
    EXPECT_EQ(run.exitCode, 7);
    EXPECT_EQ(run.output, "");
}

TEST(RunAtTerminal, StopsAHangingChild) {
    const auto run = console::runAtTerminal(
        [] {
            for (;;) {
                pause();
            }
            return 0;
        },
        Typing{{}, false, std::chrono::milliseconds{200}});
    EXPECT_TRUE(run.timedOut);
    EXPECT_EQ(run.exitCode, -1);
}

TEST(RunProgram, PassesInputAndCollectsOutputWithExitStatus) {
    const auto run =
        console::runProgram({"/bin/sh", "-c", "cat; echo fin >&2; exit 3"}, {}, "hola\n");
    EXPECT_EQ(run.output, "hola\nfin\n");
    EXPECT_EQ(run.exitCode, 3);
}

TEST(RunProgram, RunsInTheFolderItIsGiven) {
    console::TempDir dir;
    console::writeFile(dir / "dato", "x");
    const auto run = console::runProgram({"/bin/sh", "-c", "cat dato"}, dir.path());
    EXPECT_EQ(run.output, "x");
}

} // namespace
