// QuotedFields: lines split as spreadsheets write them, and fields written so that they split back.
#include "QuotedFields.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The fields of line as text, a quoted one shown in brackets.
std::vector<std::string> split(std::string_view line, char separator,
                               QuotedLine expected = QuotedLine::ok) {
    std::vector<QuotedField> fields(7); // storage left by an earlier, longer line
    EXPECT_EQ(splitQuotedFields(line, separator, fields), expected) << line;
    std::vector<std::string> texts;
    for (const QuotedField& field : fields) {
        texts.push_back(field.quoted ? "[" + field.text + "]" : field.text);
    }
    return texts;
}

using Texts = std::vector<std::string>;

TEST(QuotedFields, SplitsAtTheSeparatorOutsideQuotesOnly) {
    EXPECT_EQ(split("7;Eva;;1500,50;", ';'), (Texts{"7", "Eva", "", "1500,50", ""}));
    EXPECT_EQ(split("", ','), (Texts{""}));
    EXPECT_EQ(split("\"a,b\",\"\",\"say \"\"hi\"\"\",\"\"\"\"", ','),
              (Texts{"[a,b]", "[]", "[say \"hi\"]", "[\"]"}));
    // Only a field that starts with a quote is quoted; elsewhere a quote is text.
    EXPECT_EQ(split("O\"Brien, \"x\"", ','), (Texts{"O\"Brien", " \"x\""}));
}

TEST(QuotedFields, RefusesAQuoteLeftOpenOrTextBehindAClosingQuote) {
    for (const char* line : {"\"abc", "a,\"b\"\"", "\""}) {
        split(line, ',', QuotedLine::unclosedQuote);
    }
    for (const char* line : {"\"a\"b,c", "x,\"a\" ", "\"a\"\"b\"c"}) {
        split(line, ',', QuotedLine::afterQuote);
    }
}

TEST(QuotedFields, WhatIsWrittenSplitsBackAsItWas) {
    const Texts fields = {"plain", "", "a;b", "say \"hi\"", "line\r\nend", "1500,50"};
    for (const char separator : {',', ';'}) {
        std::string line;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) {
                line.push_back(separator);
            }
            appendQuotedField(line, fields[i], needsQuotes(fields[i], separator));
        }
        std::vector<QuotedField> back;
        ASSERT_EQ(splitQuotedFields(line, separator, back), QuotedLine::ok) << line;
        ASSERT_EQ(back.size(), fields.size());
        for (size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(back[i].text, fields[i]);
            EXPECT_EQ(back[i].quoted, needsQuotes(fields[i], separator)) << fields[i];
        }
    }
    EXPECT_FALSE(needsQuotes("1500,50", ';'));
    EXPECT_TRUE(needsQuotes("1500,50", ','));
    std::string quoted;
    appendQuotedField(quoted, "Eva", true);
    EXPECT_EQ(quoted, "\"Eva\"");
}

} // namespace
