#ifndef TESTS_SUPPORT_SAMELINES_H
#define TESTS_SUPPORT_SAMELINES_H

// Comparing a long text, such as the output of a whole session, line by line: a wrong byte shows
// as the one line that holds it, not as a diff of the whole text.

#include <gtest/gtest.h>
#include <string>

namespace console {

// For EXPECT_PRED_FORMAT2: success when actual and expected are the same bytes; otherwise the
// number of the first line that differs, both forms of it, and the line before it for context.
// Line ends are '\n'; every other byte that does not print shows as a C escape ("\r", "\x1b").
::testing::AssertionResult sameLines(const char* actualText, const char* expectedText,
                                     const std::string& actual, const std::string& expected);

} // namespace console

// Expects actual to be expected, byte for byte, and reports the first line that is not.
#define EXPECT_SAME_LINES(actual, expected)                                                        \
    EXPECT_PRED_FORMAT2(console::sameLines, actual, expected)

#endif
