#ifndef RUNNER_OPTIONS_H
#define RUNNER_OPTIONS_H

// probeRunner's command line.

#include "caseWeights.h"
#include "probeRegistry.h"
#include "status.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

struct Options {
    std::vector<std::string> groups;
    std::vector<std::string> cases;
    bool extended = false;
    bool list = false;
    bool tap = false;
    bool report = false; // print the whole report buffer after the results
    bool fork = true;
    double timeout = 5;
    std::optional<std::string> junit;
    bool failuresOnly = false;        // show only the failed cases and the summary
    bool verbose = false;             // sanitizer reports whole
    std::optional<std::string> repro; // where to write the model check's program
    std::optional<std::string> json;  // the graders' results, each case weighed by weights
    std::optional<int> transcript;    // the descriptor each case's line goes to, for the judge
    std::optional<std::string> weightsFile; // read into weights once the command line is read
    std::map<std::string, double, std::less<>> caseTimeouts; // cases' own limits, by full name
    CaseWeights weights;
};

// Reads the command line into options (and --seed into probeSeed), and the weights file it names.
// Returns the exit status when the run ends here: EXIT_OK after --help or --version, EXIT_USAGE
// after a usage error (reported on stderr), EXIT_TROUBLE when the weights cannot be read; nothing
// when the cases are to run.
std::optional<int> parseOptions(int argc, char** argv, Options& options);

// Prints a usage error and then the usage on stderr; the exit status for it.
int usageError(const std::string& message);

// The seconds a case may run: its own limit, else the run's.
double timeoutOf(const ProbeCase& probe, const Options& options);

// True when the options pick the case.
bool isSelected(const ProbeCase& probe, const Options& options);

#endif
