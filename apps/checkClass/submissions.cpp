// Finding, splitting and comparing the submissions of a class.
#include "submissions.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Sources larger than this in all are not compared with others'.
constexpr size_t LARGEST_COMPARED = size_t{4} << 20;

bool isSource(const fs::directory_entry& entry) {
    std::error_code error;
    const std::string extension = entry.path().extension().string();
    return (extension == ".c" || extension == ".cpp") && entry.is_regular_file(error);
}

// Appends the file's name, size and bytes to key; false when it cannot be read.
bool appendFile(const fs::path& path, std::string& key) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    key += path.filename().string() + '\0' + std::to_string(bytes.size()) + '\0' + bytes;
    return !file.bad();
}

} // namespace

bool findSubmissions(const fs::path& classFolder, std::vector<Submission>& found,
                     std::string& error) {
    std::error_code failure;
    const fs::path folder = fs::absolute(classFolder, failure);
    fs::directory_iterator entries(folder, failure);
    if (failure) {
        error = failure.message();
        return false;
    }
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".") || !entry.is_directory(failure)) {
            continue;
        }
        Submission submission{name, entry.path(), {}};
        for (const fs::directory_entry& file : fs::directory_iterator(entry.path(), failure)) {
            if (isSource(file)) {
                submission.sources.push_back(file.path());
            }
        }
        std::sort(submission.sources.begin(), submission.sources.end());
        found.push_back(std::move(submission));
    }
    std::sort(found.begin(), found.end(),
              [](const Submission& a, const Submission& b) { return a.name < b.name; });
    return true;
}

std::vector<Submission> shardOf(const std::vector<Submission>& all, size_t shard, size_t shards) {
    const size_t base = all.size() / shards;
    const size_t longer = all.size() % shards;
    const size_t begin = (shard - 1) * base + std::min(shard - 1, longer);
    const size_t end = begin + base + (shard <= longer ? 1 : 0);
    return {all.begin() + static_cast<std::ptrdiff_t>(begin),
            all.begin() + static_cast<std::ptrdiff_t>(end)};
}

std::string contentKey(const Submission& submission) {
    std::string key;
    std::vector<fs::path> files = submission.sources;
    std::error_code error;
    if (fs::is_regular_file(submission.folder / "LinkedList.h", error)) {
        files.push_back(submission.folder / "LinkedList.h");
    }
    for (const fs::path& file : files) {
        if (!appendFile(file, key) || key.size() > LARGEST_COMPARED) {
            return "";
        }
    }
    return key;
}
