#ifndef TESTS_SUPPORT_FILES_H
#define TESTS_SUPPORT_FILES_H

// A folder of a test's own, and reading, writing and listing the files a test hands a program or
// finds after it.

#include <filesystem>
#include <string>
#include <vector>

namespace console {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const {
        return path_;
    }
    std::filesystem::path operator/(const std::string& name) const {
        return path_ / name;
    }

  private:
    std::filesystem::path path_;
};

// Every byte of the file at path; throws when it cannot be read.
std::string readFile(const std::filesystem::path& path);

// Makes the file at path hold bytes and nothing else; throws when it cannot be written.
void writeFile(const std::filesystem::path& path, const std::string& bytes);

// The names of the entries of a folder, sorted, hidden ones included: what a program left there.
std::vector<std::string> namesIn(const std::filesystem::path& folder);

} // namespace console

#endif
