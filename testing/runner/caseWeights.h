#ifndef CASE_WEIGHTS_H
#define CASE_WEIGHTS_H

// The points each case is worth in the graders' results: one, unless a weights file says
// otherwise.

#include "probeRegistry.h"

#include <map>
#include <string>

class CaseWeights {
  public:
    // Reads a weights file: one "NAME POINTS" a line, NAME a case's full name or a group's name
    // (each of its cases), POINTS a number from 0 to 1000000; blank lines and lines starting
    // with '#' are skipped. A case's own line wins over its group's. False, with "FILE:LINE:
    // reason" (or "FILE: reason") on stderr, when the file cannot be read or a line is wrong.
    bool read(const std::string& path);

    // The points the case is worth.
    double pointsFor(const ProbeCase& probe) const;

  private:
    bool readLine(const std::string& path, long number, const std::string& line);

    std::map<std::string, double, std::less<>> points_; // by case or group name
};

#endif
