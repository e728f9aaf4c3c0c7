#ifndef COMMON_USAGE_H
#define COMMON_USAGE_H

// The command line every program reads alike, from a table of its options. "--help" or "-h"
// prints the usage on standard output; "--version" prints one line "NAME VERSION"; both end the
// program with status 0 and touch no file, and either wins wherever it stands before "--" (even
// where an option would take it as its value). An option's value follows it as the next argument
// or after '='. Any other argument that starts with '-' is an unknown option, unless it is a lone
// "-" or comes after "--". A wrong command line (an unknown option, a missing or unwanted value, a
// number out of its form or range, an operand too many) is reported as one line "NAME: reason"
// followed by the usage, both on standard error, with status 2.
//
// The register's programs speak Spanish, their texts fixed; the checker's programs speak the
// user's language: their texts are written in English and pass through tr() here, the parser's
// own words with them.

#include "status.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Whose words a command line speaks.
enum class Speaks { spanish, userLanguage };

// What an option takes after it.
enum class Takes {
    nothing,
    text,
    whole,  // decimal digits alone, from least to most
    seconds // decimal digits with an optional fraction such as 0.5, above 0 and at most most
};

// The fields keep the order a table's row reads in, at the cost of 8 bytes of padding an option.
// NOLINTNEXTLINE(clang-analyzer-optin.performance.Padding)
struct Option {
    std::string_view name;  // "--jobs"
    std::string_view alias; // another name ("-j"), or ""
    Takes takes;
    const char* value; // its value's name in the help ("N"), nullptr when it takes nothing
    const char* help;  // its lines in the help; the lines after the first start under the first
    int id = 0;        // the program's own name for it, by which it applies it
    unsigned long long least = 0;
    unsigned long long most = 0;
};

// An option as given: its value's text and, for a number, the number it holds.
struct Given {
    const Option& option;
    std::string_view text;
    unsigned long long whole = 0;
    double seconds = 0;
};

// Applies an option as given: why it cannot be taken, or "" when it was.
using ApplyOption = std::function<std::string(const Given&)>;

class CommandLine {
  public:
    struct Program {
        const char* name;     // the name messages carry (when argv[0] has none, if namedByArgv0)
        bool namedByArgv0;    // messages carry the name the program was started under
        const char* synopsis; // what follows "Usage: NAME" on the first line, " [ARCHIVO]" or ""
        const char* about;    // the lines between the first and the options, each with its end
        std::span<const Option> options; // without --help and --version, which every one takes
        const char* closing;             // the lines after the options
        size_t maxOperands;
        bool passOn; // the arguments after "--" are operands whatever they are, any number
        Speaks speaks;
    };

    CommandLine(const Program& program, int argc, char** argv);

    // Reads the command line, applying each option in the order given and collecting the
    // operands. Nothing when the program is to run; otherwise the status it ends with, having
    // printed what was asked for or why the command line is wrong.
    std::optional<int> read(const ApplyOption& apply, std::vector<const char*>& operands) const;

    // Prints "NAME: reason" and then the usage on standard error; EXIT_USAGE.
    int refuse(std::string_view reason) const;

  private:
    // The words in the program's language: english through tr(), or spanish.
    const char* words(const char* english, const char* spanish) const;
    std::string usage() const;
    // Why text cannot be option's number, in the same words for every program.
    std::string numberRefusal(const Option& option, std::string_view text) const;
    std::optional<int> answerAsked() const;
    const char* operandRefusal(std::string_view arg, size_t count) const;
    std::string take(const Option& option, std::string_view text, const ApplyOption& apply) const;

    const Program& program_;
    int argc_;
    char** argv_;
    const char* name_;
};

#endif
