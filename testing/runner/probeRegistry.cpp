// Looking cases up by group and by name.
#include "probeRegistry.h"

#include <cstring>

bool isGroup(std::string_view name) {
    for (const ProbeCase& probe : probeCases()) {
        if (name == probe.group) {
            return true;
        }
    }
    return false;
}

bool caseMatches(const ProbeCase& probe, std::string_view filter) {
    const std::string_view name = probe.name;
    return filter == name || filter == name.substr(strlen(probe.group));
}

bool isCase(std::string_view filter) {
    for (const ProbeCase& probe : probeCases()) {
        if (caseMatches(probe, filter)) {
            return true;
        }
    }
    return false;
}
