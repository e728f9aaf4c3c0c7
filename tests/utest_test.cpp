#include "utest.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

const char* windowsStyleName();
const char* bareName();

namespace {

void* const high = reinterpret_cast<void*>(std::uintptr_t{0x123456789abcdef0});
void* const low = reinterpret_cast<void*>(std::uintptr_t{0x10});
int calls = 0;
bool reached = false;
std::string longText(300, 'x');

// A new value on every call, so that a report shows which call it printed.
int nextCall() {
    return ++calls;
}

using Case = void (*)();

struct Failure {
    Case run;
    std::string report;
};

class Utest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(utest_printErrorBuffer, 0, sizeof utest_printErrorBuffer);
        utest_flagTestError = 0;
        utest_lineTestError = 0;
        utest_fileTestError = nullptr;
        calls = 0;
        reached = false;
    }

    static std::string report() {
        return utest_printErrorBuffer;
    }
};

TEST_F(Utest, EachAssertionReportsItsLineAndMessageAndRecordsTheFailure) {
    const std::vector<Failure> failures{
        {+[] { utest_assertEqualsInt(3, 0); }, "assert equals failed '3' != '0'\r\n"},
        {+[] { utest_assertEqualsFloat(1.5f, 2.25f); },
         "assert equals failed '1.500000' != '2.250000'\r\n"},
        {+[] { utest_assertEqualsPointer(high, low); },
         "assert equals failed '0x9abcdef0' != '0x10'\r\n"},
        {+[] { utest_assertNotEqualsInt(-1, -1); }, "assert not equals failed '-1' != '-1'\r\n"},
        {+[] { utest_assertNotEqualsFloat(0.5, 0.5); },
         "assert not equals failed '0.500000' != '0.500000'\r\n"},
        {+[] { utest_assertNotEqualsPointer(high, high); },
         "assert not equals failed '0x9abcdef0' != '0x9abcdef0'\r\n"},
        {+[] { utest_assertNull(low); }, "assert null failed. Value: '0x10' \r\n"},
        {+[] { utest_assertNotNull(nullptr); }, "assert not null failed. Value: '(nil)' \r\n"},
        {+[] { utest_assertEqualsString("abc", "abd", 3); },
         "assert equals string. Value: 'abc' != 'abd' \r\n"},
        {+[] { utest_assertEqualsIntMsg(3, 0, "\nmsg\n"); },
         "assert equals failed '3' != '0'\r\n\nmsg\n\r\n"},
        {+[] { utest_assertEqualsFloatMsg(1.0, 0.0, "m"); },
         "assert equals failed '1.000000' != '0.000000'\r\nm\r\n"},
        {+[] { utest_assertEqualsPointerMsg(high, nullptr, "m"); },
         "assert equals failed '0x123456789abcdef0' != '(nil)'\r\nm\r\n"},
        {+[] { utest_assertNotEqualsIntMsg(-1, -1, "m"); },
         "assert not equals failed '-1' != '-1'\r\nm\r\n"},
        {+[] { utest_assertNotEqualsFloatMsg(2.0f, 2.0f, "m"); },
         "assert not equals failed '2.000000' != '2.000000'\r\nm\r\n"},
        {+[] { utest_assertNotEqualsPointerMsg(low, low, "m"); },
         "assert not equals failed '0x10' != '0x10'\r\nm\r\n"},
        {+[] { utest_assertNullMsg(high, "m"); },
         "assert null failed. Value: '0x123456789abcdef0' \r\nm\r\n"},
        {+[] { utest_assertNotNullMsg(nullptr, "m"); },
         "assert not null failed. Value: '(nil)' \r\nm\r\n"},
        {+[] { utest_assertEqualsStringMsg("ab", "ax", 2, "m"); },
         "assert equals string. Value: 'ab' != 'ax' \r\nm\r\n"},
    };
    for (const Failure& failure : failures) {
        SetUp();
        utest_print("before\r\n");
        failure.run();
        EXPECT_EQ(report(), "before\r\n" + failure.report);
        EXPECT_EQ(utest_flagTestError, 1) << failure.report;
        EXPECT_STREQ(utest_fileTestError, "utest_test.cpp");
    }
}

TEST_F(Utest, PassingAssertionsLeaveEverythingAsItWas) {
    const std::vector<Case> passes{
        +[] { utest_assertEqualsInt(2, 2); },
        +[] { utest_assertEqualsFloat(0.5f, 0.5); },
        +[] { utest_assertEqualsPointer(high, high); },
        +[] { utest_assertNotEqualsInt(1, 2); },
        +[] { utest_assertNotEqualsFloat(1.0, 2.0); },
        +[] { utest_assertNotEqualsPointer(high, low); },
        +[] { utest_assertNull(nullptr); },
        +[] { utest_assertNotNull(low); },
        +[] { utest_assertEqualsString("abc", "abd", 2); },
        +[] { utest_assertEqualsIntMsg(1, 1, "m"); },
        +[] { utest_assertEqualsFloatMsg(1.0, 1.0, "m"); },
        +[] { utest_assertEqualsPointerMsg(low, low, "m"); },
        +[] { utest_assertNotEqualsIntMsg(1, 0, "m"); },
        +[] { utest_assertNotEqualsFloatMsg(1.0, 0.0, "m"); },
        +[] { utest_assertNotEqualsPointerMsg(low, nullptr, "m"); },
        +[] { utest_assertNullMsg(nullptr, "m"); },
        +[] { utest_assertNotNullMsg(high, "m"); },
        +[] { utest_assertEqualsStringMsg("", "", 1, "m"); },
    };
    for (Case pass : passes) {
        pass();
    }
    EXPECT_EQ(report(), "");
    EXPECT_EQ(utest_flagTestError, 0);
    EXPECT_EQ(utest_lineTestError, 0);
    EXPECT_EQ(utest_fileTestError, nullptr);
}

int failingLine = 0;

TEST_F(Utest, AFailureRecordsItsOwnLineAndLeavesTheCaseAtOnce) {
    const Case failing = +[] {
        utest_assertEqualsInt(1, 1);
        failingLine = __LINE__ + 1;
        utest_assertNotNullMsg(nullptr, "first");
        reached = true;
        utest_assertEqualsInt(1, 2);
    };
    failing();
    EXPECT_FALSE(reached);
    EXPECT_EQ(utest_lineTestError, failingLine);
    EXPECT_EQ(report(), "assert not null failed. Value: '(nil)' \r\nfirst\r\n");
}

TEST_F(Utest, ArgumentsAreEvaluatedAgainForTheReportOnlyWhenTheAssertionFails) {
    const Case passing = +[] { utest_assertEqualsIntMsg(nextCall(), 1, "m"); };
    passing();
    EXPECT_EQ(calls, 1);
    const Case failing = +[] { utest_assertEqualsIntMsg(nextCall(), 9, "m"); };
    failing();
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(report(), "assert equals failed '3' != '9'\r\nm\r\n");
}

TEST_F(Utest, StringsCompareExactlySCharactersNulIncluded) {
    const Case none = +[] { utest_assertEqualsString("abc", "xyz", 0); };
    none();
    const Case beyond = +[] { utest_assertEqualsString("abc", "abd", 2); };
    beyond();
    EXPECT_EQ(utest_varAux, 2);
    const Case pastNul = +[] { utest_assertEqualsString("ab\0c", "ab\0c", 4); };
    pastNul();
    EXPECT_EQ(utest_flagTestError, 0);
    const Case behindNul = +[] { utest_assertEqualsString("ab\0c", "ab\0d", 4); };
    behindNul();
    EXPECT_EQ(utest_flagTestError, 1);
    EXPECT_EQ(utest_varAux, 3);
    EXPECT_EQ(report(), "assert equals string. Value: 'ab' != 'ab' \r\n");
}

TEST_F(Utest, PrintMacrosAppendFormattedLines) {
    utest_print("Setup...\r\n");
    utest_print("Setup...\r\n");
    utest_print1("%d\r\n", 1);
    utest_print2("%d%s\r\n", 1, "b");
    utest_print3("%d%s%c\r\n", 1, "b", 'c');
    utest_print4("%d%s%c%x\r\n", 1, "b", 'c', 255);
    EXPECT_EQ(report(), "Setup...\r\nSetup...\r\n1\r\n1b\r\n1bc\r\n1bcff\r\n");
}

TEST_F(Utest, ALineOrAReportThatDoesNotFitIsCutInsteadOfOverflowing) {
    const Case longMessage = +[] { utest_assertEqualsIntMsg(1, 2, longText.c_str()); };
    longMessage();
    EXPECT_EQ(report(), "assert equals failed '1' != '2'\r\n" + std::string(255, 'x'));

    const size_t room = 4;
    std::memset(utest_printErrorBuffer, 'a', sizeof utest_printErrorBuffer - 1 - room);
    utest_print("Setup...\r\n");
    utest_print("Setup...\r\n");
    EXPECT_EQ(std::strlen(utest_printErrorBuffer), sizeof utest_printErrorBuffer - 1);
    EXPECT_EQ(report().substr(report().size() - 5), "aSetu");
}

// Each assertion is one statement: as the unbraced branch of an if, its else still belongs to
// that if, and a failure in the branch still leaves the case.
TEST_F(Utest, AnAssertionIsOneStatementUnderAnUnbracedIfElse) {
    const Case failingBranch = +[] {
        if (nextCall() == 1)
            utest_assertEqualsIntMsg(1, 2, "branch");
        else
            reached = true;
        reached = true;
    };
    failingBranch();
    EXPECT_EQ(utest_flagTestError, 1);
    EXPECT_FALSE(reached);
    EXPECT_EQ(report(), "assert equals failed '1' != '2'\r\nbranch\r\n");
}

// The notes a passing case leaves: how many values it checked, and their hash.
std::pair<unsigned long long, unsigned long long> notesOf(void (*run)(int, const void*), int value,
                                                          const void* pointer) {
    utest_startNotes();
    run(value, pointer);
    return {utest_checkCount, utest_checkDigest};
}

void checksBoth(int value, const void* pointer) {
    utest_assertEqualsInt(value, value);
    utest_assertEqualsPointer(pointer, pointer);
}

TEST(UtestNotes, TellNumbersApartAndPointersOnlyByNullOrNot) {
    int one = 0;
    int two = 0;
    const auto first = notesOf(checksBoth, 3, &one);
    EXPECT_EQ(first.first, 2U);
    EXPECT_EQ(notesOf(checksBoth, 3, &two), first); // another address, the same notes
    EXPECT_NE(notesOf(checksBoth, 4, &one), first);
    EXPECT_NE(notesOf(checksBoth, 3, nullptr), first);
}

TEST(UtestNotes, APassingAssertionEvaluatesEachArgumentOnce) {
    int calls = 0;
    const auto call = [&calls] { return ++calls; };
    const auto passing = [&] { utest_assertEqualsInt(call(), 1); };
    passing();
    EXPECT_EQ(calls, 1);
}

TEST(UtestFileName, IsThePathAfterItsLastSlashElseBackslashElseWhole) {
    EXPECT_STREQ(__FILENAME__, "utest_test.cpp");
    EXPECT_STREQ(windowsStyleName(), "winCase.cpp");
    EXPECT_STREQ(bareName(), "bare.cpp");
}

} // namespace

// Below this point the compiler names this file differently.
#line 1 "C:\\suite\\src\\winCase.cpp"
const char* windowsStyleName() {
    return __FILENAME__;
}
#line 1 "bare.cpp"
const char* bareName() {
    return __FILENAME__;
}

