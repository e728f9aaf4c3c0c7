// The field readers the programs share.
#include "Fields.h"

#include <array>
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(Fields, ReadsA32BitIntegerAndNothingElse) {
    int value = 7;
    EXPECT_EQ(parseInt32("2147483647", value), IntegerText::ok);
    EXPECT_EQ(value, INT_MAX);
    EXPECT_EQ(parseInt32("-2147483648", value), IntegerText::ok);
    EXPECT_EQ(value, INT_MIN);
    EXPECT_EQ(parseInt32("-0", value), IntegerText::ok);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(parseInt32("000000000000000000000000042", value), IntegerText::ok);
    EXPECT_EQ(value, 42);
    for (const char* beyond : {"2147483648", "-2147483649", "99999999999999999999999999"}) {
        EXPECT_EQ(parseInt32(beyond, value), IntegerText::outOfRange) << beyond;
    }
    for (const char* bad : {"", "-", "+1", " 1", "1 ", "1x", "--1", "1-", "99999999999999x"}) {
        EXPECT_EQ(parseInt32(bad, value), IntegerText::notInteger) << bad;
    }
    EXPECT_EQ(value, 42) << "a failed read leaves the value";
}

// The last field takes the rest of the line, so that a caller sees a comma too many there.
TEST(Fields, SplitsAtTheFirstCommasAndLeavesTheRestToTheLastField) {
    struct Case {
        std::string_view line;
        size_t count;
        std::vector<std::string_view> kept;
    };
    const Case cases[] = {
        {"", 1, {""}},
        {"a", 1, {"a"}},
        {"a,b", 2, {"a", "b"}},
        {"a,,c", 3, {"a", "", "c"}},
        {",", 2, {"", ""}},
        {"a,b,", 3, {"a", "b", ""}},
        {"a,b,c,d", 3, {"a", "b", "c,d"}},
        {"a,b,c,,,", 3, {"a", "b", "c,,,"}},
        {"\"a,b\",c", 3, {"\"a", "b\"", "c"}},
    };
    for (const Case& c : cases) {
        std::array<std::string_view, 3> fields{"-", "-", "-"};
        EXPECT_EQ(splitAtCommas(c.line, fields), c.count) << c.line;
        for (size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(fields[i], i < c.kept.size() ? c.kept[i] : "-") << c.line << " field " << i;
        }
    }
}

TEST(Fields, RefusesAnIntegerFieldByItsName) {
    constexpr IntegerRefusals one = integerRefusals("el id");
    constexpr IntegerRefusals many = integerRefusals("las horas", true);
    struct Case {
        const char* text;
        const IntegerRefusals& refusals;
        const char* refusal; // nullptr: read
    };
    const Case cases[] = {
        {"12", one, nullptr},
        {"x", one, "el id no es un entero"},
        {"2147483648", one, "el id está fuera del rango de -2147483648 a 2147483647"},
        {"", many, "las horas no son un entero"},
        {"-2147483649", many, "las horas están fuera del rango de -2147483648 a 2147483647"},
    };
    for (const Case& c : cases) {
        int value = 7;
        const char* refusal = readInt32(c.text, value, c.refusals);
        if (c.refusal == nullptr) {
            EXPECT_EQ(refusal, nullptr) << c.text;
            EXPECT_EQ(value, 12);
        } else {
            ASSERT_NE(refusal, nullptr) << c.text;
            EXPECT_STREQ(refusal, c.refusal);
            EXPECT_EQ(value, 7) << c.text;
        }
    }
}

} // namespace
