#ifndef TESTS_SUPPORT_SMALLDISK_H
#define TESTS_SUPPORT_SMALLDISK_H

#include <filesystem>
#include <string>

namespace console {

// A fresh folder on a file system of its own of a few KiB (a tmpfs), for tests of a full disk.
// Mounting needs privileges that a machine may not grant: mounted() says whether it worked, and
// why() why not, so that a test can skip with a message instead of failing.
class SmallDisk {
  public:
    explicit SmallDisk(unsigned kibibytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const {
        return mounted_;
    }
    const std::string& why() const {
        return why_;
    }
    std::filesystem::path operator/(const std::string& name) const {
        return path_ / name;
    }

    // Mounts the file system again read-only, its files kept; false when that fails.
    bool makeReadOnly();

  private:
    std::filesystem::path path_;
    bool mounted_ = false;
    std::string why_;
};

} // namespace console

#endif
