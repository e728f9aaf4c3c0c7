// Writing the model check's program.
#include "reproFile.h"

#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

std::optional<std::string> reproProgram(std::string_view report) {
    std::string program;
    bool inProgram = false;
    bool inMain = false;
    while (!report.empty()) {
        const size_t end = std::min(report.find('\n'), report.size());
        std::string_view line = report.substr(0, end);
        report.remove_prefix(std::min(end + 1, report.size()));
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        inProgram = inProgram || line.starts_with("#include ");
        if (!inProgram) {
            continue;
        }
        program.append(line).push_back('\n');
        inMain = inMain || line.starts_with("int main(");
        if (inMain && line == "}") {
            return program;
        }
    }
    return std::nullopt;
}

bool writeRepro(const std::string& path, const std::vector<Result>& results) {
    for (const Result& result : results) {
        if (result.outcome.ending == Ending::passed) {
            continue;
        }
        const auto program = reproProgram(result.outcome.report);
        if (!program) {
            continue;
        }
        AtomicFile file;
        if (!file.open(path.c_str()) ||
            fwrite(program->data(), 1, program->size(), file.stream()) != program->size() ||
            !file.commit()) {
            fprintf(stderr, "probeRunner: cannot write '%s': %s\n", path.c_str(), strerror(errno));
            return false;
        }
        return true;
    }
    fprintf(stderr, "probeRunner: no failed case reported a program: '%s' not written\n",
            path.c_str());
    return true;
}
