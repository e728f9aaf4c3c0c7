#ifndef CLASS_OPTIONS_H
#define CLASS_OPTIONS_H

// The class runner's command line.

#include "status.h"

#include <optional>
#include <string>
#include <vector>

struct ClassOptions {
    std::string checkList;   // the command that checks one list
    std::string classFolder; // every folder under it a submission
    size_t jobs = 0;         // submissions checked at once
    std::optional<std::string> csv;
    std::optional<std::string> html;
    size_t shard = 1; // this run checks part shard of shards
    size_t shards = 1;
    double timeLimit = 600; // seconds a submission may take, its build included
    bool noSandbox = false; // submissions built and run with the grader's rights: a trusted class
    bool basic = false;     // the 33 conformance cases alone, without the extended checks
    std::vector<std::string> runnerOptions;
};

// Reads the command line into options; the exit status when the run ends here (EXIT_OK after
// --help, EXIT_USAGE after a usage error, reported on stderr), nothing when the class is to be
// checked. jobs is the number of processors when no --jobs is given.
std::optional<int> parseClassOptions(int argc, char** argv, ClassOptions& options);

#endif
