// The session lock of a register file: two sessions on one file exclude each other, whatever the
// file's name, and whatever stands where the lock file should be is refused at once.
#include "files.h"
#include "sessionLock.h"

#include <cerrno>
#include <climits>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Binds a unix socket at path; the descriptor, to be closed by the caller.
int socketAt(const fs::path& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.string().copy(address.sun_path, sizeof address.sun_path - 1);
    EXPECT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return fd;
}

TEST(SessionLock, WhatIsNoRegularFileAtTheLockFilesPlaceIsRefusedWithoutWaiting) {
    console::TempDir dir;
    const fs::path register_ = dir / "empleados.csv";
    const fs::path lockFile = dir / ".empleados.csv.lock";
    ASSERT_EQ(mkfifo((dir / "tubo").c_str(), 0600), 0);
    console::writeFile(dir / "otro", "");
    // Each maker puts one thing there; the lock file's place is cleared between them.
    const std::pair<const char*, std::function<void()>> makers[] = {
        {"FIFO", [&] { ASSERT_EQ(mkfifo(lockFile.c_str(), 0600), 0); }},
        {"folder", [&] { fs::create_directory(lockFile); }},
        {"link to a FIFO", [&] { fs::create_symlink(dir / "tubo", lockFile); }},
        {"link to /dev/null", [&] { fs::create_symlink("/dev/null", lockFile); }},
        {"link to /dev/zero", [&] { fs::create_symlink("/dev/zero", lockFile); }},
        {"link to a file", [&] { fs::create_symlink(dir / "otro", lockFile); }},
        {"socket", [&] { close(socketAt(lockFile)); }},
    };
    for (const auto& [what, make] : makers) {
        SCOPED_TRACE(what);
        make();
        SessionLock lock;
        // A FIFO would keep a blocking open waiting for a writer: the alarm ends such a wait.
        alarm(10);
        EXPECT_EQ(lock.take(register_.c_str()), SessionLock::Result::failed);
        alarm(0);
        EXPECT_EQ(lock.reason(), "no es un archivo común");
        fs::remove(lockFile);
    }
}

TEST(SessionLock, TwoSessionsOnAFileOfTheLongestNameExcludeEachOther) {
    console::TempDir dir;
    const std::string longest(NAME_MAX, 'r');
    for (const std::string& name : {longest, std::string("r.csv"), longest + "s"}) {
        SCOPED_TRACE(name.size());
        SessionLock first;
        const SessionLock::Result taken = first.take((dir / name).c_str());
        if (name.size() > NAME_MAX) {
            // No such file can be, nor its lock.
            EXPECT_EQ(taken, SessionLock::Result::failed);
            continue;
        }
        EXPECT_EQ(taken, SessionLock::Result::held) << first.reason();
        EXPECT_LE(fs::path(first.path()).filename().string().size(), size_t{NAME_MAX});
        SessionLock second;
        EXPECT_EQ(second.take((dir / name).c_str()), SessionLock::Result::taken);
        // A name that differs from the held one only where the lock file's name is cut has a
        // lock of its own.
        std::string other = name;
        other.back() = 'x';
        SessionLock third;
        EXPECT_EQ(third.take((dir / other).c_str()), SessionLock::Result::held);
    }
    // A name that fits keeps the lock file older sessions use.
    EXPECT_TRUE(fs::exists(dir / ".r.csv.lock"));
}

} // namespace
