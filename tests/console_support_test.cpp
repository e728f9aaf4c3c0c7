// The console helpers are what every dialogue test stands on: prove that the terminal behaves as
// a typist's would before trusting it.
#include "console.h"
#include "files.h"
#include "sameLines.h"

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

// A session compared line by line fails on any byte, a missing line end included, and names the
// first line that differs.
TEST(SameLines, FailsOnAnyByteAndNamesTheFirstLineThatDiffers) {
    struct Case {
        const char* actual;
        const char* expected;
        const char* said; // nullptr: the same
    };
    const Case cases[] = {
        {"uno\ndos\n", "uno\ndos\n", nullptr},
        {"uno\ndos\ntres\n", "uno\nDos\ntres\n", "at line 2 of 4"},
        {"uno\ndos\r\n", "uno\ndos\n", "actual:   \"dos\\r\""},
        {"uno\ndos", "uno\ndos\n", "at line 3 of 2 (expected 3 lines)"},
        {"\x1b[A", "", "\"\\x1b[A\""},
    };
    for (const Case& c : cases) {
        const auto result = console::sameLines("a", "e", c.actual, c.expected);
        EXPECT_EQ(static_cast<bool>(result), c.said == nullptr) << c.actual;
        if (c.said != nullptr) {
            EXPECT_NE(std::string(result.message()).find(c.said), std::string::npos)
                << result.message();
        }
    }
}

} // namespace
