#ifndef TESTS_MISBEHAVING_RUNS_H
#define TESTS_MISBEHAVING_RUNS_H

// Running probeRunner built against tests/lists/misbehavingList.c with one misbehaviour switched
// on, and reading its plain output.

#include "console.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace misbehaving {

// The runner built with the given misbehaviour.
std::string runnerPath(const std::string& misbehaviour);

// Sets an environment variable for the life of the object, or clears it for a null value.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
};

// Runs the runner built with the misbehaviour; a crash reaches it as its signal, also in the
// sanitised build.
console::Run runMisbehaving(const std::string& misbehaviour, std::vector<std::string> arguments);

std::vector<std::string> linesOf(const std::string& text);

// The FAIL lines of a plain run.
std::vector<std::string> failLines(const std::string& output);

} // namespace misbehaving

#endif
