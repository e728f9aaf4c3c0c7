// Running probeRunner built against the lists under check and reading its reports.
#include "faultyRuns.h"
#include "files.h"

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <sstream>

namespace faulty {

namespace {

std::string unescapeXml(std::string text) {
    static const std::pair<std::string, std::string> ENTITIES[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#13;", "\r"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : ENTITIES) {
        for (size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + character.size())) {
            text.replace(at, entity.size(), character);
        }
    }
    return text;
}

// The value of attribute name in an XML start tag.
std::string attribute(const std::string& tag, const std::string& name) {
    const std::string opening = " " + name + "=\"";
    const size_t start = tag.find(opening);
    if (start == std::string::npos) {
        return "";
    }
    const size_t from = start + opening.size();
    return unescapeXml(tag.substr(from, tag.find('"', from) - from));
}

} // namespace

void setSanitizerOptions(bool oneProcess) {
    static const std::string inherited = [] {
        const char* options = getenv("ASAN_OPTIONS");
        return std::string(options != nullptr ? options : "");
    }();
    const std::string asan = inherited + ":handle_segv=0" + (oneProcess ? ":detect_leaks=0" : "");
    setenv("ASAN_OPTIONS", asan.c_str(), 1);
}

std::string runnerPath(const std::string& list) {
    return list == "bundled" ? std::string(PROBERUNNER_PATH)
                             : std::string(FAULTY_DIR) + "/probeRunner_" + list;
}

console::Run runFaulty(const std::string& list, std::vector<std::string> arguments) {
    setSanitizerOptions(std::find(arguments.begin(), arguments.end(), "--no-fork") !=
                        arguments.end());
    arguments.insert(arguments.begin(), runnerPath(list));
    return console::runProgram(arguments);
}

std::vector<CaseResult> readJunit(const std::filesystem::path& path) {
    const std::string xml = console::readFile(path);
    std::vector<CaseResult> results;
    for (size_t at = xml.find("<testcase "); at != std::string::npos;
         at = xml.find("<testcase ", at + 1)) {
        const std::string tag = xml.substr(at, xml.find('>', at) - at + 1);
        CaseResult result;
        result.group = attribute(tag, "classname");
        result.name = attribute(tag, "name");
        const size_t failure = xml.find("<failure ", at);
        if (!tag.ends_with("/>") && failure < xml.find("</testcase>", at)) {
            const size_t bodyStart = xml.find('>', failure) + 1;
            const std::string failureTag = xml.substr(failure, bodyStart - failure);
            result.failed = true;
            result.why = attribute(failureTag, "message");
            result.type = attribute(failureTag, "type");
            result.report =
                unescapeXml(xml.substr(bodyStart, xml.find("</failure>", bodyStart) - bodyStart));
        }
        results.push_back(result);
    }
    return results;
}

std::vector<CaseResult> failuresOf(const std::vector<CaseResult>& results) {
    std::vector<CaseResult> failures;
    std::copy_if(results.begin(), results.end(), std::back_inserter(failures),
                 [](const CaseResult& result) { return result.failed; });
    return failures;
}

Checked runChecked(const std::string& list, std::vector<std::string> arguments) {
    console::TempDir dir;
    arguments.push_back("--junit");
    arguments.push_back((dir / "results.xml").string());
    console::Run run = runFaulty(list, arguments);
    return {run, readJunit(dir / "results.xml")};
}

std::string summaryLine(const std::string& output) {
    const size_t start = output.find_last_of('\n', output.size() - 2);
    return output.substr(start == std::string::npos ? 0 : start + 1);
}

std::string caseLines(const std::string& output) {
    static const std::regex CASE_LINE("(PASS|FAIL|ok|not ok|TAP version|1\\.\\.)\\b.*");
    std::istringstream lines(output);
    std::string line;
    std::string kept;
    while (std::getline(lines, line)) {
        kept += std::regex_match(line, CASE_LINE) ? line + "\n" : "";
    }
    return kept;
}

std::string hidePointers(const std::string& text) {
    return std::regex_replace(text, std::regex("0x[0-9a-f]+"), "0x?");
}

std::string lastCallBefore(const std::string& output, const std::string& probeCase) {
    std::istringstream lines(output);
    std::string line;
    bool inCase = false;
    while (std::getline(lines, line)) {
        if (line.starts_with("FAIL ")) {
            inCase = line.find(" " + probeCase + " ") != std::string::npos;
        } else if (inCase && line.starts_with("  after ")) {
            const size_t then = line.rfind(", then ");
            const size_t from = then == std::string::npos ? 8 : then + 7;
            return hidePointers(line.substr(from));
        }
    }
    return "";
}

} // namespace faulty
