// The validators decide what every console dialogue accepts: check each class against the texts a
// user may type, and every byte value both alone and hidden inside an otherwise valid text.
#include "inq_gets.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace {

using Validator = int (*)(const char*);

struct Class {
    const char* name;
    Validator validate;
    std::string_view accepted; // every byte the class admits
    char counted;              // the separator with a count rule, or '\0'
    std::string_view valid;    // a text that passes and already meets its count rule
};

constexpr std::string_view DIGITS = "0123456789";
constexpr std::string_view LETTERS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

const std::string NUMBER{DIGITS};
const std::string TELEPHONE = std::string{DIGITS} + "-";
const std::string FLOAT = std::string{DIGITS} + ".";
const std::string ALPHANUMERIC = std::string{DIGITS} + std::string{LETTERS};
const std::string LETTER = std::string{LETTERS} + " ";
const std::string MAIL = ALPHANUMERIC + "@_-.";

const std::array<Class, 7> CLASSES{{
    {"inq_isNumber", inq_isNumber, NUMBER, '\0', "0042"},
    {"inq_isTelephone", inq_isTelephone, TELEPHONE, '\0', "455-123"},
    {"inq_isFloatNumber", inq_isFloatNumber, FLOAT, '.', "12.5"},
    {"inq_isAlphanumeric", inq_isAlphanumeric, ALPHANUMERIC, '\0', "abc123"},
    {"inq_isLetter", inq_isLetter, LETTER, '\0', "abc DEF"},
    {"inq_isMail", inq_isMail, MAIL, '@', "ana.paz@mail.com"},
    {"inq_isCuil", inq_isCuil, TELEPHONE, '-', "20-345-6"},
}};

// Expected results in the order of CLASSES: number, telephone, float, alphanumeric, letter, mail,
// cuil.
struct Example {
    const char* text;
    std::array<int, 7> expected;
};

const Example EXAMPLES[] = {
    {"", {1, 1, 1, 1, 1, 0, 0}},
    {"abc\n", {0, 0, 0, 0, 0, 0, 0}},
    {"12\n", {0, 0, 0, 0, 0, 0, 0}},
    {"a@b\n", {0, 0, 0, 0, 0, 0, 0}},
    {"1-2\n-", {0, 0, 0, 0, 0, 0, 0}},
    {"\xc3\xa1", {0, 0, 0, 0, 0, 0, 0}},
    {"0042", {1, 1, 1, 1, 0, 0, 0}},
    {"-5", {0, 1, 0, 0, 0, 0, 0}},
    {"+5", {0, 0, 0, 0, 0, 0, 0}},
    {" 5", {0, 0, 0, 0, 0, 0, 0}},
    {"5 ", {0, 0, 0, 0, 0, 0, 0}},
    {"455-123", {0, 1, 0, 0, 0, 0, 0}},
    {"-", {0, 1, 0, 0, 0, 0, 0}},
    {"--11--", {0, 1, 0, 0, 0, 0, 0}},
    {"(011) 455", {0, 0, 0, 0, 0, 0, 0}},
    {"+54 11", {0, 0, 0, 0, 0, 0, 0}},
    {"12.5", {0, 0, 1, 0, 0, 0, 0}},
    {".5", {0, 0, 1, 0, 0, 0, 0}},
    {"5.", {0, 0, 1, 0, 0, 0, 0}},
    {".", {0, 0, 1, 0, 0, 0, 0}},
    {"1.2.3", {0, 0, 0, 0, 0, 0, 0}},
    {"..", {0, 0, 0, 0, 0, 0, 0}},
    {"12,5", {0, 0, 0, 0, 0, 0, 0}},
    {"-3.2", {0, 0, 0, 0, 0, 0, 0}},
    {"1e5", {0, 0, 0, 1, 0, 0, 0}},
    {" 3", {0, 0, 0, 0, 0, 0, 0}},
    {"abc123", {0, 0, 0, 1, 0, 0, 0}},
    {"ABC", {0, 0, 0, 1, 1, 0, 0}},
    {"abc 123", {0, 0, 0, 0, 0, 0, 0}},
    {"a_b", {0, 0, 0, 0, 0, 0, 0}},
    {"   ", {0, 0, 0, 0, 1, 0, 0}},
    {"  abc DEF ", {0, 0, 0, 0, 1, 0, 0}},
    {"a.b", {0, 0, 0, 0, 0, 0, 0}},
    {"abc1", {0, 0, 0, 1, 0, 0, 0}},
    {"Jos\xc3\xa9", {0, 0, 0, 0, 0, 0, 0}},
    {"a\tb", {0, 0, 0, 0, 0, 0, 0}},
    {"@", {0, 0, 0, 0, 0, 1, 0}},
    {"@@", {0, 0, 0, 0, 0, 0, 0}},
    {"@mail.com", {0, 0, 0, 0, 0, 1, 0}},
    {"ana@", {0, 0, 0, 0, 0, 1, 0}},
    {"ana.@-x", {0, 0, 0, 0, 0, 1, 0}},
    {"a_b-c.d@e", {0, 0, 0, 0, 0, 1, 0}},
    {"ana@b@c", {0, 0, 0, 0, 0, 0, 0}},
    {"anapaz", {0, 0, 0, 1, 1, 0, 0}},
    {"ana @mail.com", {0, 0, 0, 0, 0, 0, 0}},
    {"ana+x@mail.com", {0, 0, 0, 0, 0, 0, 0}},
    {"ana,x@mail.com", {0, 0, 0, 0, 0, 0, 0}},
    {"20-345-6", {0, 1, 0, 0, 0, 0, 1}},
    {"1-2-3", {0, 1, 0, 0, 0, 0, 1}},
    {"--", {0, 1, 0, 0, 0, 0, 1}},
    {"---", {0, 1, 0, 0, 0, 0, 0}},
    {"203", {1, 1, 1, 1, 0, 0, 0}},
    {"20-34-56-7", {0, 1, 0, 0, 0, 0, 0}},
    {"20-34A-6", {0, 0, 0, 0, 0, 0, 0}},
    {"20-12345678-3", {0, 1, 0, 0, 0, 0, 1}},
};

TEST(Validators, AnswerEveryExampleWithExactlyZeroOrOne) {
    for (const Example& example : EXAMPLES) {
        for (std::size_t i = 0; i < CLASSES.size(); ++i) {
            EXPECT_EQ(CLASSES[i].validate(example.text), example.expected[i])
                << CLASSES[i].name << " on \"" << example.text << '"';
        }
    }
}

TEST(Validators, ValidSamplesPass) {
    for (const Class& c : CLASSES) {
        EXPECT_EQ(c.validate(std::string{c.valid}.c_str()), 1) << c.name;
    }
}

// What the text made of one byte should give: in the class, and meeting the count rule with that
// one character (a lone '@' is a mail, a lone '.' a decimal, no single byte is a CUIL).
int expectedAlone(const Class& c, char byte) {
    if (c.accepted.find(byte) == std::string_view::npos) {
        return 0;
    }
    if (c.validate == inq_isMail) {
        return byte == '@' ? 1 : 0;
    }
    return c.validate == inq_isCuil ? 0 : 1;
}

TEST(Validators, EverySingleByteAlonePassesOnlyItsClasses) {
    for (int value = 0x01; value <= 0xFF; ++value) {
        const char byte = static_cast<char>(value);
        const char text[] = {byte, '\0'};
        for (const Class& c : CLASSES) {
            EXPECT_EQ(c.validate(text), expectedAlone(c, byte)) << c.name << " on byte " << value;
        }
    }
}

TEST(Validators, EverySingleByteInsideAValidTextFailsUnlessInClassAndNotAnExtraSeparator) {
    for (int value = 0x01; value <= 0xFF; ++value) {
        const char byte = static_cast<char>(value);
        for (const Class& c : CLASSES) {
            const bool inClass = c.accepted.find(byte) != std::string_view::npos;
            // The valid text already holds all the separators its count rule allows.
            const int expected = inClass && byte != c.counted ? 1 : 0;
            std::string text{c.valid};
            for (const std::size_t at : {std::size_t{0}, text.size() / 2, text.size()}) {
                std::string probe = text;
                probe.insert(at, 1, byte);
                EXPECT_EQ(c.validate(probe.c_str()), expected)
                    << c.name << " with byte " << value << " at " << at;
            }
        }
    }
}

TEST(Validators, HandleTextsLongerThanAnyLine) {
    const std::string digits(100000, '7');
    EXPECT_EQ(inq_isNumber(digits.c_str()), 1);
    EXPECT_EQ(inq_isCuil(("1-" + digits + "-2").c_str()), 1);
    EXPECT_EQ(inq_isLetter((digits + "a").c_str()), 0);
}

} // namespace
