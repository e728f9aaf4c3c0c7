#include "smallDisk.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/mount.h>
#include <system_error>

namespace console {

SmallDisk::SmallDisk(unsigned kibibytes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "disk-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        why_ = std::string("mkdtemp: ") + std::strerror(errno);
        return;
    }
    path_ = pattern;
    const std::string options = "size=" + std::to_string(kibibytes) + "k,mode=0755";
    mounted_ = mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    if (!mounted_) {
        why_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
    }
}

bool SmallDisk::makeReadOnly() {
    return mounted_ && mount(nullptr, path_.c_str(), nullptr,
                             MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) {
        umount2(path_.c_str(), MNT_DETACH);
    }
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

} // namespace console
