#ifndef PROBE_REGISTRY_H
#define PROBE_REGISTRY_H

// The cases the runner knows and how the command line picks among them.

#include <span>
#include <string_view>

struct ProbeCase {
    const char* group;
    const char* name;
    const char* description; // what the case checks: the list functions it calls
    void (*setup)();
    void (*run)();
    bool extended; // runs only under --extended; the list must free what such a case frees
};

// Every case, in the order they run: the table in probeCaseTable.cpp, built from probeCases.h.
std::span<const ProbeCase> probeCases();

// True when some case belongs to the group.
bool isGroup(std::string_view name);

// True when a case filter picks the case: its full name or its CaseNN part.
bool caseMatches(const ProbeCase& probe, std::string_view filter);

// True when a case filter picks some case of some group.
bool isCase(std::string_view filter);

#endif
