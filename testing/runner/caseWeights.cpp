// The weights file.
#include "caseWeights.h"

#include "File.h"
#include "LineReader.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

constexpr double MOST_POINTS = 1000000;

void complain(const std::string& path, long line, const std::string& reason) {
    fprintf(stderr, "%s:%ld: %s\n", path.c_str(), line, reason.c_str());
}

// True when the name is a case's full name or a group's name.
bool isCaseOrGroup(const std::string& name) {
    if (isGroup(name)) {
        return true;
    }
    for (const ProbeCase& probe : probeCases()) {
        if (name == probe.name) {
            return true;
        }
    }
    return false;
}

} // namespace

bool CaseWeights::readLine(const std::string& path, long number, const std::string& line) {
    std::istringstream fields(line);
    std::string name;
    std::string points;
    std::string more;
    if (!(fields >> name) || name.front() == '#') {
        return true;
    }
    if (!(fields >> points) || (fields >> more)) {
        complain(path, number, "expected a case or group name and its points");
        return false;
    }
    if (!isCaseOrGroup(name)) {
        complain(path, number, "no case or group is named '" + name + "'");
        return false;
    }
    char* end = nullptr;
    const double value = strtod(points.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value) || value < 0 || value > MOST_POINTS) {
        complain(path, number,
                 "the points must be a number from 0 to 1000000, not '" + points + "'");
        return false;
    }
    if (!points_.emplace(name, value).second) {
        complain(path, number, "'" + name + "' is weighed twice");
        return false;
    }
    return true;
}

bool CaseWeights::read(const std::string& path) {
    const File file(fopen(path.c_str(), "r"));
    if (file == nullptr) {
        fprintf(stderr, "%s: %s\n", path.c_str(), strerror(errno));
        return false;
    }
    LineReader reader(file.get());
    std::string_view line;
    LineReader::Status status = LineReader::Status::line;
    while ((status = reader.next(line)) == LineReader::Status::line) {
        if (!readLine(path, reader.number(), std::string(line))) {
            return false;
        }
    }
    if (status != LineReader::Status::end) {
        complain(path, reader.number(), "cannot read the line");
        return false;
    }
    return true;
}

double CaseWeights::pointsFor(const ProbeCase& probe) const {
    if (const auto own = points_.find(std::string_view(probe.name)); own != points_.end()) {
        return own->second;
    }
    if (const auto group = points_.find(std::string_view(probe.group)); group != points_.end()) {
        return group->second;
    }
    return 1;
}
