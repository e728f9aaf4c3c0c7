// The command line's reader, on a program of its own: how options, values and operands are read,
// and what ends the program.
#include "usage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum { NAME_OPTION = 1, COUNT, WAIT, QUIET };

constexpr Option PROGRAM_OPTIONS[] = {
    {"--name", "-n", Takes::text, "TEXT", "a text", NAME_OPTION},
    {"--count", "", Takes::whole, "N", "a whole number", COUNT, 2, 9},
    {"--wait", "", Takes::seconds, "SECONDS", "seconds", WAIT, 0, 60},
    {"--quiet", "", Takes::nothing, nullptr, "a switch", QUIET},
};

struct Outcome {
    int status;            // -1: the program runs
    std::string firstLine; // of standard error, or of standard output when it has none
    std::string applied;   // what the options applied, in order
    std::vector<std::string> operands;
    bool operator==(const Outcome&) const = default;
    friend std::ostream& operator<<(std::ostream& os, const Outcome& o) {
        os << o.status << " \"" << o.firstLine << "\" \"" << o.applied << "\" [";
        for (const std::string& operand : o.operands) {
            os << '"' << operand << "\" ";
        }
        return os << ']';
    }
};

Outcome read(std::vector<std::string> args, size_t maxOperands, bool passOn) {
    const CommandLine::Program program = {"prog",      false,           " [FILE]",
                                          "About.\n",  PROGRAM_OPTIONS, "Closing.\n",
                                          maxOperands, passOn,          Speaks::spanish};
    args.insert(args.begin(), "prog");
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::string applied;
    const auto apply = [&applied](const Given& given) -> std::string {
        if (given.text == "refused") {
            return "no";
        }
        applied += std::string(given.option.name) + "=" + std::string(given.text);
        applied += given.option.takes == Takes::whole     ? "#" + std::to_string(given.whole)
                   : given.option.takes == Takes::seconds ? "s" + std::to_string(given.seconds)
                                                          : "";
        applied += ' ';
        return "";
    };
    std::vector<const char*> operands;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const auto status =
        CommandLine(program, static_cast<int>(args.size()), argv.data()).read(apply, operands);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string& shown = err.empty() ? out : err;
    return {status.value_or(-1), shown.substr(0, shown.find('\n')), applied,
            std::vector<std::string>(operands.begin(), operands.end())};
}

TEST(CommandLineReader, ReadsOptionsValuesAndOperandsAndEndsWhereItMust) {
    using Args = std::vector<std::string>;
    const struct {
        Args args;
        size_t maxOperands;
        bool passOn;
        Outcome outcome;
    } rows[] = {
        {{"-n", "a", "--name=b=c", "--count", "09", "--wait=0.5", "--quiet"},
         0,
         false,
         {-1, "", "--name=a --name=b=c --count=09#9 --wait=0.5s0.500000 --quiet= ", {}}},
        {{"f", "-", "--", "-g"}, 3, false, {-1, "", "", {"f", "-", "-g"}}},
        {{"--quiet", "--", "-x", "", "--help"},
         0,
         true,
         {-1, "", "--quiet= ", {"-x", "", "--help"}}},
        {{"x", "--bogus", "--help"}, 1, false, {0, "Uso: prog [FILE]", "", {}}},
        {{"--name", "--version"}, 0, false, {0, "prog 1.0.0", "", {}}},
        {{"--bogus"}, 0, false, {2, "prog: opción desconocida '--bogus'", "", {}}},
        {{"--name"}, 0, false, {2, "prog: la opción '--name' necesita un valor", "", {}}},
        {{"--quiet=1"}, 0, false, {2, "prog: la opción '--quiet' no toma valor", "", {}}},
        {{"--version=1"}, 0, false, {2, "prog: la opción '--version' no toma valor", "", {}}},
        {{"--count", "1"},
         0,
         false,
         {2,
          "prog: la opción '--count' toma un número entero de 2 a 9 en dígitos decimales, "
          "no '1'",
          "",
          {}}},
        {{"--wait", "61"},
         0,
         false,
         {2,
          "prog: la opción '--wait' toma segundos por encima de 0 y hasta 60, en dígitos "
          "decimales con una fracción opcional como 0.5, no '61'",
          "",
          {}}},
        {{"--name", "refused", "--quiet"}, 0, false, {2, "prog: no", "", {}}},
        {{"a"}, 0, false, {2, "prog: no toma argumentos, recibió 'a'", "", {}}},
        {{"a", "b"}, 1, false, {2, "prog: argumento de más: 'b'", "", {"a"}}},
        {{""}, 1, false, {2, "prog: un argumento vacío no nombra ningún archivo", "", {}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        Outcome expected = row.outcome;
        if (expected.firstLine == "prog 1.0.0") {
            expected.firstLine = "prog " PROJECT_VERSION;
        }
        EXPECT_EQ(read(row.args, row.maxOperands, row.passOn), expected);
    }
}

} // namespace
