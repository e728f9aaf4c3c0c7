// The readers as a person at a terminal meets them: typed lines in, the exact sequence of prompts
// and error messages out, and what each call stored or left untouched. Every call runs in a child
// process at a fresh pseudo-terminal, which prints the results for the test to compare.
#include "inq_gets.h"

#include "console.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using console::Typing;

// Messages hold a '%' and accents: they must come out exactly as given.
constexpr const char* ASK = "Ingrese (100%): ";
constexpr const char* WRONG = "Dato inválido\n";

// Runs fn at a terminal where the lines are typed, then Ctrl-D; returns what it printed. The
// test fails if the child hangs or does not return 0.
std::string atTerminal(const std::function<void()>& fn, std::vector<std::string> lines,
                       bool endOfInputAfter = true) {
    const auto run = console::runAtTerminal(
        [&] {
            fn();
            return 0;
        },
        Typing{std::move(lines), endOfInputAfter, std::chrono::milliseconds{3000}});
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0);
    return run.output;
}

// Reads the next line typed with plain fgets and prints it in brackets: shows what a reader left.
void printNextLine() {
    char line[2048];
    if (std::fgets(line, sizeof line, stdin) == nullptr) {
        std::printf("[EOF]");
    } else {
        std::printf("[%s]", line);
    }
}

TEST(InqGetInt, StoresTheValueOfADigitLineAndRefusesAnyOtherLine) {
    const std::vector<std::string> lines = {"42",
                                            "007",
                                            "",
                                            "-5",
                                            " 7",
                                            "7 ",
                                            "4x",
                                            "42\r",
                                            "2147483647",
                                            "2147483648",
                                            "99999999999999999999"};
    const std::string out = atTerminal(
        [&] {
            for (std::size_t i = 0; i < lines.size(); ++i) {
                int value = -99;
                const int status = inq_getInt(&value);
                std::printf("%d:%d ", status, value);
            }
        },
        lines);
    EXPECT_EQ(out, "0:42 0:7 0:0 -1:-99 -1:-99 -1:-99 -1:-99 -1:-99 0:2147483647 -1:-99 -1:-99 ");
}

TEST(InqGetInt, TakesALastLineThatHasNoLineEnd) {
    // "12" then Ctrl-D hands the reader the characters without a line end; the second Ctrl-D
    // ends the input.
    const std::string out = atTerminal(
        [] {
            int value = -99;
            const int status = inq_getInt(&value);
            std::printf("%d:%d", status, value);
        },
        {std::string("12") + console::END_OF_INPUT + console::END_OF_INPUT});
    EXPECT_EQ(out, "0:12");
}

TEST(InqGetFloatNumber, StoresDecimalsRoundedToFloatAndRefusesTheRest) {
    const std::string huge(40, '9');
    const std::string tiny = "." + std::string(400, '0') + "1";
    const std::vector<std::string> lines = {"3.",  ".5",    ".",  "",    "2.5", "0.1", "0042",
                                            "1,5", "1.2.3", "-1", "1e5", huge,  tiny};
    const std::string out = atTerminal(
        [&] {
            for (std::size_t i = 0; i < lines.size(); ++i) {
                float value = -99.0f;
                const int status = inq_getFloatNumber(&value);
                std::printf("%d:%g ", status, static_cast<double>(value));
                if (lines[i] == "0.1" && value != 0.1f) {
                    std::printf("(0.1 not rounded to nearest float) ");
                }
            }
        },
        lines);
    EXPECT_EQ(out, "0:3 0:0.5 0:0 0:0 0:2.5 0:0.1 0:42 -1:-99 -1:-99 -1:-99 -1:-99 -1:-99 0:0 ");
}

TEST(InqGetNumber, PromptsAgainAfterEachFailedAttemptUntilAValueInRange) {
    const std::string out = atTerminal(
        [] {
            int value = -99;
            const int status = inq_getNumber(&value, 10, 1, 3, ASK, WRONG);
            std::printf("|%d:%d", status, value);
        },
        {"x", "11", "10"});
    EXPECT_EQ(out, std::string(ASK) + WRONG + ASK + WRONG + ASK + "|0:10");
}

TEST(InqGetNumber, SpendsEveryAttemptAndLeavesTheDestination) {
    const std::string out = atTerminal(
        [] {
            int value = -99;
            const int status = inq_getNumber(&value, 10, 1, 3, ASK, WRONG);
            std::printf("|%d:%d", status, value);
            printNextLine();
        },
        {"0", "abc", "-1", "5"});
    const std::string attempt = std::string(ASK) + WRONG;
    EXPECT_EQ(out, attempt + attempt + attempt + "|-1:-99[5\n]");
}

TEST(InqGetNumber, BoundsAreInclusiveAndMinimumZeroTakesAnEmptyLine) {
    const std::string out = atTerminal(
        [] {
            int value = -99;
            std::printf("%d:", inq_getNumber(&value, 10, 1, 1, "", ""));
            std::printf("%d ", value);
            std::printf("%d:", inq_getNumber(&value, 10, 0, 1, "", ""));
            std::printf("%d", value);
        },
        {"1", ""});
    EXPECT_EQ(out, "0:1 0:0");
}

TEST(InqGetNumber, MaximumBelowMinimumLetsNoValuePass) {
    const std::string out = atTerminal(
        [] {
            int value = -99;
            const int status = inq_getNumber(&value, 1, 10, 2, ASK, WRONG);
            std::printf("|%d:%d", status, value);
        },
        {"5", "1"});
    EXPECT_EQ(out, std::string(ASK) + WRONG + ASK + WRONG + "|-1:-99");
}

TEST(InqGetNumber, NoAttemptsPrintsAndReadsNothing) {
    for (const int attempts : {0, -1, -2147483647 - 1}) {
        const std::string out = atTerminal(
            [attempts] {
                int value = -99;
                float decimal = -99.0f;
                std::printf("%d:%d ", inq_getNumber(&value, 10, 1, attempts, ASK, WRONG), value);
                std::printf("%d:%g", inq_getFloat(&decimal, 10, 1, attempts, ASK, WRONG),
                            static_cast<double>(decimal));
                printNextLine();
            },
            {"5"});
        EXPECT_EQ(out, "-1:-99 -1:-99[5\n]") << attempts << " attempts";
    }
}

TEST(InqGetFloat, AcceptsTheWholeRangeBoundsIncluded) {
    const std::string out = atTerminal(
        [] {
            float value = -99.0f;
            const int status = inq_getFloat(&value, 2.5f, 0.0f, 4, ASK, WRONG);
            std::printf("|%d:%g", status, static_cast<double>(value));
            std::printf(" %d:", inq_getFloat(&value, 2.5f, 0.0f, 1, "", ""));
            std::printf("%g", static_cast<double>(value));
        },
        {"2.6", "-1", "x", "2.5", "0"});
    EXPECT_EQ(out, std::string(ASK) + WRONG + ASK + WRONG + ASK + WRONG + ASK + "|0:2.5 0:0");
}

TEST(InqGetFloat, ABoundThatIsNotANumberLetsNoValuePass) {
    const std::string out = atTerminal(
        [] {
            float value = -99.0f;
            const int status = inq_getFloat(&value, NAN, 0.0f, 2, ASK, WRONG);
            std::printf("|%d:%g", status, static_cast<double>(value));
        },
        {"1", "0"});
    EXPECT_EQ(out, std::string(ASK) + WRONG + ASK + WRONG + "|-1:-99");
}

TEST(InqGetChar, StoresUpToTwoCharactersAsTypedAndLeavesTheRest) {
    const std::string out = atTerminal(
        [] {
            char got[INQ_CHAR_SIZE] = {'#', '#', '#'};
            int status = inq_getChar(ASK, WRONG, got);
            std::printf("|%d:%d,%d,%d ", status, got[0], got[1], got[2]);
            status = inq_getChar(ASK, WRONG, got);
            std::printf("|%d:%d,%d ", status, got[0], got[1]);
            status = inq_getChar(ASK, WRONG, got);
            std::printf("|%d:%s", status, got);
            printNextLine();
        },
        {"y", "", "abc"});
    EXPECT_EQ(out, std::string(ASK) + "|0:121,10,0 " + ASK + "|0:10,0 " + ASK + "|0:ab[c\n]");
}

TEST(InqGetChar, ANullPromptPrintsTheErrorMessageAndReadsNothing) {
    const std::string out = atTerminal(
        [] {
            char got[INQ_CHAR_SIZE] = {'#', '#', '\0'};
            std::printf("|%d:%s", inq_getChar(nullptr, WRONG, got), got);
            printNextLine();
        },
        {"z"});
    EXPECT_EQ(out, std::string(WRONG) + "|-1:##[z\n]");
}

TEST(InqGetChar, TheRestOfItsLineIsTakenByTheMailReaderButDiscardedByTheStringReader) {
    const auto charThen = [](auto reader) {
        return [reader] {
            char got[INQ_CHAR_SIZE];
            char text[INQ_LINE_SIZE] = "previo";
            inq_getChar("? ", "!", got);
            std::printf("|%d:%s", reader("Texto: ", WRONG, text), text);
        };
    };
    EXPECT_EQ(atTerminal(charThen(inq_getMail), {"abc", "hola"}),
              std::string("? Texto: ") + WRONG + "|-1:previo");
    EXPECT_EQ(atTerminal(charThen(inq_getString), {"abc", "hola"}), "? Texto: |0:hola");
}

// One call of a text reader on one typed line: what it printed, its status and its destination.
template <typename Reader> std::string readText(Reader reader, const std::string& line) {
    return atTerminal(
        [reader] {
            char text[INQ_LINE_SIZE] = "previo";
            const int status = reader(ASK, WRONG, text);
            std::printf("|%d:%s", status, text);
        },
        {line});
}

TEST(InqTextReaders, StoreATextThatPassesAndReportOneThatFails) {
    const std::string ok = std::string(ASK) + "|0:";
    const std::string failed = std::string(ASK) + WRONG + "|-1:previo";
    struct Case {
        int (*reader)(const char*, const char*, char*);
        std::string line;
        std::string expected;
    };
    const Case cases[] = {
        {inq_getString, "abc DEF", ok + "abc DEF"},
        {inq_getString, "", ok},
        {inq_getString, "abc1", failed},
        {inq_getString, "abc\r", failed},
        {inq_getString, "José", failed},
        {inq_getMail, "ana.paz@mail.com", ok + "ana.paz@mail.com"},
        {inq_getMail, "ana@b@c", failed},
        {inq_getMail, "", failed},
        {inq_getTelephone, "455-123", ok + "455-123"},
        {inq_getTelephone, "+54 11", failed},
        {inq_getCuil, "20-12345678-3", ok + "20-12345678-3"},
        {inq_getCuil, "203", failed},
        {inq_getCuil, "20-1-2\r", failed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readText(c.reader, c.line), c.expected) << '"' << c.line << '"';
    }
}

TEST(InqTextReaders, ANullMessageGivesMinusOneBeforePrintingOrReading) {
    for (auto reader : {inq_getString, inq_getMail, inq_getTelephone, inq_getCuil}) {
        const std::string out = atTerminal(
            [reader] {
                char text[INQ_LINE_SIZE] = "previo";
                std::printf("%d ", reader(nullptr, WRONG, text));
                std::printf("%d:%s", reader(ASK, nullptr, text), text);
                printNextLine();
            },
            {"1-2-3"});
        EXPECT_EQ(out, "-1 -1:previo[1-2-3\n]");
    }
}

TEST(InqTextReaders, ALongLineIsCutAfter1023CharactersAndTheRestStaysPending) {
    const std::string out = atTerminal(
        [] {
            // Exactly the documented size on the heap, so that one byte more would be caught.
            const auto text = std::make_unique<char[]>(INQ_LINE_SIZE);
            const int status = inq_getString(ASK, WRONG, text.get());
            std::printf("|%d:%zu", status, std::strlen(text.get()));
            printNextLine();
        },
        {std::string(1500, 'a')});
    EXPECT_EQ(out, std::string(ASK) + "|0:1023[" + std::string(477, 'a') + "\n]");
}

TEST(InqTextReaders, ALineOfExactly1023CharactersLeavesItsLineEndPending) {
    const std::string address = std::string(1021, 'a') + "@b";
    const std::string out = atTerminal(
        [] {
            const auto text = std::make_unique<char[]>(INQ_LINE_SIZE);
            std::printf("%d:", inq_getMail("", "", text.get()));
            std::printf("%zu,", std::strlen(text.get()));
            std::printf("%d", inq_getMail("", "E", text.get()));
        },
        {address});
    EXPECT_EQ(out, "0:1023,E-1");
}

// Each reader once, with a destination that still shows its first value when nothing is stored,
// and the output expected when the reader meets end of input.
struct EndCase {
    const char* name;
    std::function<int()> call;
    std::string output;
};

std::vector<EndCase> endCases() {
    const std::string prompt = ASK;
    const std::string attempt = prompt + WRONG;
    const auto text = [](int (*reader)(const char*, const char*, char*)) {
        return [reader] {
            char got[INQ_LINE_SIZE] = "previo";
            const int status = reader(ASK, WRONG, got);
            return status == -1 && std::strcmp(got, "previo") == 0 ? 0 : 1;
        };
    };
    return {
        {"inq_getInt",
         [] {
             int value = -99;
             return inq_getInt(&value) == -1 && value == -99 ? 0 : 1;
         },
         ""},
        {"inq_getFloatNumber",
         [] {
             float value = -99.0f;
             return inq_getFloatNumber(&value) == -1 && value == -99.0f ? 0 : 1;
         },
         ""},
        {"inq_getNumber",
         [] {
             int value = -99;
             return inq_getNumber(&value, 10, 0, 3, ASK, WRONG) == -1 && value == -99 ? 0 : 1;
         },
         attempt + attempt + attempt},
        {"inq_getFloat",
         [] {
             float value = -99.0f;
             return inq_getFloat(&value, 10, 0, 2, ASK, WRONG) == -1 && value == -99.0f ? 0 : 1;
         },
         attempt + attempt},
        {"inq_getChar",
         [] {
             char got[INQ_CHAR_SIZE] = {'#', '#', '\0'};
             return inq_getChar(ASK, WRONG, got) == -1 && std::strcmp(got, "##") == 0 ? 0 : 1;
         },
         prompt},
        {"inq_getString", text(inq_getString), attempt},
        {"inq_getMail", text(inq_getMail), attempt},
        {"inq_getTelephone", text(inq_getTelephone), attempt},
        {"inq_getCuil", text(inq_getCuil), attempt},
    };
}

TEST(InqEndOfInput, CtrlDOnAnEmptyLineFailsEveryReaderAtOnce) {
    for (const EndCase& c : endCases()) {
        const auto run =
            console::runAtTerminal(c.call, Typing{{}, true, std::chrono::milliseconds{3000}});
        EXPECT_FALSE(run.timedOut) << c.name;
        EXPECT_EQ(run.exitCode, 0) << c.name;
        EXPECT_EQ(run.output, c.output) << c.name;
    }
}

TEST(InqEndOfInput, StandardInputAtDevNullFailsEveryReaderAtOnce) {
    for (const EndCase& c : endCases()) {
        const auto run = console::runAtTerminal(
            [&c] {
                const int fd = open("/dev/null", O_RDONLY);
                if (fd < 0 || dup2(fd, STDIN_FILENO) < 0) {
                    return 2;
                }
                close(fd);
                return c.call();
            },
            Typing{{}, false, std::chrono::milliseconds{3000}});
        EXPECT_FALSE(run.timedOut) << c.name;
        EXPECT_EQ(run.exitCode, 0) << c.name;
        EXPECT_EQ(run.output, c.output) << c.name;
    }
}

} // namespace
