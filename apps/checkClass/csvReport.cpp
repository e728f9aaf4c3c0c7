// The class as CSV.
#include "classReports.h"

#include "AtomicFile.h"

#include <cstdio>

std::string csvField(std::string_view text) {
    // A spreadsheet takes a field that starts so for a formula: the ' makes it text.
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
    std::string field = (formula ? "'" : "") + std::string(text);
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

bool writeCsv(const std::string& path, const std::vector<Row>& rows) {
    AtomicFile csv;
    if (!csv.open(path.c_str())) {
        return false;
    }
    FILE* file = csv.stream();
    fputs("submission,status,passed,failed,cases,failed_cases,score,reason\n", file);
    for (const Row& row : rows) {
        std::string failed;
        for (const CaseVerdict& verdict : row.cases) {
            if (!verdict.passed) {
                failed += (failed.empty() ? "" : " ") + verdict.name;
            }
        }
        // A failed list's reasons are its cases, already in failed_cases.
        const bool notChecked = row.status != Status::passed && row.status != Status::failed;
        fprintf(file, "%s,%s,%zu,%zu,%zu,%s,%s,%s\n", csvField(row.name).c_str(),
                statusName(row.status), row.passed(), row.cases.size() - row.passed(),
                row.cases.size(), csvField(failed).c_str(), percentText(scorePercent(row)).c_str(),
                csvField(notChecked ? row.reason : "").c_str());
    }
    return csv.commit();
}
