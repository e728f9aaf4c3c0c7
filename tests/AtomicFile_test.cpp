// AtomicFile: the old content or the whole new one, never a mix and never a leftover, whatever
// stops the writer; and what users of the file rely on (mode, links, devices) kept.
#include "AtomicFile.h"

#include "HiddenName.h"
#include "console.h"
#include "files.h"
#include "smallDisk.h"

#include <algorithm>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Writes content to path through an AtomicFile; commit()'s answer.
bool replace(const fs::path& path, const std::string& content) {
    AtomicFile file;
    if (!file.open(path.c_str())) {
        return false;
    }
    std::fwrite(content.data(), 1, content.size(), file.stream());
    return file.commit();
}

using Names = std::vector<std::string>;

// The two ways a new content is written: to an unnamed file, named only once it is whole, or,
// where unnamed files cannot be named later, to a hidden named file from the start.
enum class Way { unnamed, named };

// Runs fn in a child process and returns its wait status: exit status 0 when fn answered true.
// For Way::named the child has a mount namespace of its own with /proc hidden, so that no unnamed
// file can be named there; exit status 125 when that cannot be had.
int inChild(Way way, const std::function<bool()>& fn) {
    const pid_t child = fork();
    if (child == 0) {
        if (way == Way::named &&
            (unshare(CLONE_NEWNS) != 0 ||
             mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
             mount("tmpfs", "/proc", "tmpfs", 0, nullptr) != 0)) {
            _exit(125);
        }
        console::leaveChild(fn() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

TEST(AtomicFile, EitherWayLeavesNothingButTheFileWhateverItsNamesLength) {
    for (const Way way : {Way::unnamed, Way::named}) {
        for (const std::string& name : {std::string("out.csv"), std::string(NAME_MAX, 'n')}) {
            console::TempDir dir;
            const int status = inChild(way, [&] {
                return replace(dir / name, "first\n") && replace(dir / name, "second\n");
            });
            if (WEXITSTATUS(status) == 125) {
                GTEST_SKIP() << "no mount namespace of its own here";
            }
            EXPECT_EQ(status, 0) << name.size();
            EXPECT_EQ(console::readFile(dir / name), "second\n");
            EXPECT_EQ(console::namesIn(dir.path()), Names{name});
        }
    }
}

TEST(AtomicFile, ASignalThatWouldEndTheWriterWaitsWhileTheNewContentHasAName) {
    for (const Way way : {Way::unnamed, Way::named}) {
        console::TempDir dir;
        console::writeFile(dir / "out.csv", "old\n");
        const int status = inChild(way, [&] {
            AtomicFile file;
            if (!file.open((dir / "out.csv").c_str())) {
                return false;
            }
            std::fputs("new\n", file.stream());
            kill(getpid(), SIGTERM);
            return file.commit();
        });
        if (WIFEXITED(status) && WEXITSTATUS(status) == 125) {
            GTEST_SKIP() << "no mount namespace of its own here";
        }
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), SIGTERM);
        // A named new content ends the signal's wait once it is in place; an unnamed one vanishes.
        EXPECT_EQ(console::readFile(dir / "out.csv"), way == Way::named ? "new\n" : "old\n");
        EXPECT_EQ(console::namesIn(dir.path()), Names{"out.csv"});
    }
}

TEST(AtomicFile, ATemporaryLeftByAKilledWriterGoesWithTheNextReplacement) {
    for (const std::string& name : {std::string("out.csv"), std::string(NAME_MAX, 'n')}) {
        console::TempDir dir;
        const std::string stale = hiddenNameBeside(name, ".k3x9q0.tmp");
        const std::string live = hiddenNameBeside(name, ".a1b2c3.tmp");
        // Names that only look alike are no temporaries of the file's; nor can the temporaries
        // of older writers, which held no lock, be told from a user's file.
        const Names others = {"." + name.substr(0, 200) + ".bak",
                              hiddenNameBeside(name, ".k3x9q_.tmp"),
                              hiddenNameBeside(name, ".KPUJRX")};
        for (const std::string& file : {stale, live, others[0], others[1], others[2]}) {
            console::writeFile(dir / file, "");
        }
        // A writer that still works on its temporary holds a lock on it.
        const int held = open((dir / live).c_str(), O_RDONLY);
        ASSERT_EQ(flock(held, LOCK_EX), 0);
        ASSERT_TRUE(replace(dir / name, "new\n"));
        close(held);
        Names left = others;
        left.push_back(live);
        left.push_back(name);
        std::sort(left.begin(), left.end());
        EXPECT_EQ(console::namesIn(dir.path()), left) << name.size();
    }
}

TEST(AtomicFile, CreatesAndReplacesAFileLeavingNothingElse) {
    console::TempDir dir;
    ASSERT_TRUE(replace(dir / "out.csv", "first\n"));
    EXPECT_EQ(console::readFile(dir / "out.csv"), "first\n");
    ASSERT_TRUE(replace(dir / "out.csv", "second, longer\n"));
    ASSERT_TRUE(replace(dir / "out.csv", ""));
    EXPECT_EQ(console::readFile(dir / "out.csv"), "");
    EXPECT_EQ(console::namesIn(dir.path()), Names{"out.csv"});
}

TEST(AtomicFile, WithoutCommitTheOldFileStaysAndNoTemporaryRemains) {
    console::TempDir dir;
    console::writeFile(dir / "out.csv", "old\n");
    {
        AtomicFile file;
        ASSERT_TRUE(file.open((dir / "out.csv").c_str()));
        std::fputs("half of the new", file.stream());
        std::fflush(file.stream());
    }
    EXPECT_EQ(console::readFile(dir / "out.csv"), "old\n");
    EXPECT_EQ(console::namesIn(dir.path()), Names{"out.csv"});
}

TEST(AtomicFile, KeepsThePermissionBitsAndGivesANewFileTheUmasksOnes) {
    console::TempDir dir;
    console::writeFile(dir / "kept", "old");
    chmod((dir / "kept").c_str(), 0640);
    ASSERT_TRUE(replace(dir / "kept", "new"));
    EXPECT_EQ(fs::status(dir / "kept").permissions(), fs::perms(0640));
    const mode_t mask = umask(027);
    ASSERT_TRUE(replace(dir / "fresh", "new"));
    umask(mask);
    EXPECT_EQ(fs::status(dir / "fresh").permissions(), fs::perms(0640));
}

TEST(AtomicFile, ALinkStaysALinkAndTheFileItLeadsToIsReplaced) {
    console::TempDir dir;
    fs::create_directory(dir / "real");
    console::writeFile(dir / "real/data.csv", "old");
    fs::create_symlink("real/data.csv", dir / "hop");
    fs::create_symlink("hop", dir / "out.csv");
    ASSERT_TRUE(replace(dir / "out.csv", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "out.csv"));
    EXPECT_EQ(fs::read_symlink(dir / "out.csv"), "hop");
    EXPECT_EQ(console::readFile(dir / "real/data.csv"), "new");
    EXPECT_EQ(console::namesIn(dir / "real"), Names{"data.csv"});

    // A link to nothing yet makes the file it names, as a plain open would.
    fs::create_symlink("real/later.csv", dir / "dangling");
    ASSERT_TRUE(replace(dir / "dangling", "made"));
    EXPECT_EQ(console::readFile(dir / "real/later.csv"), "made");

    // resolveLinks names the file that open would replace, there or not.
    std::string target;
    ASSERT_TRUE(resolveLinks((dir / "out.csv").c_str(), target));
    EXPECT_EQ(target, (dir / "real/data.csv").string());
    ASSERT_TRUE(resolveLinks((dir / "nothing.csv").c_str(), target));
    EXPECT_EQ(target, (dir / "nothing.csv").string());

    fs::create_symlink("loop", dir / "loop");
    AtomicFile looping;
    EXPECT_FALSE(looping.open((dir / "loop").c_str()));
    EXPECT_EQ(errno, ELOOP);
    EXPECT_FALSE(resolveLinks((dir / "loop").c_str(), target));
}

TEST(AtomicFile, KnowsTheFileItReplacesUnderEveryNameAndLink) {
    console::TempDir dir;
    console::writeFile(dir / "payroll.csv", "data");
    console::writeFile(dir / "other.csv", "data");
    fs::create_hard_link(dir / "payroll.csv", dir / "hard.csv");
    fs::create_symlink("payroll.csv", dir / "soft.csv");
    // Whether an AtomicFile opened on target would replace the file other names.
    const auto replaces = [&](const char* target, const char* other) {
        AtomicFile file;
        EXPECT_TRUE(file.open((dir / target).c_str())) << target;
        return file.sameFileAs((dir / other).c_str());
    };
    EXPECT_TRUE(replaces("payroll.csv", "payroll.csv"));
    EXPECT_TRUE(replaces("hard.csv", "payroll.csv"));
    EXPECT_TRUE(replaces("soft.csv", "payroll.csv"));
    EXPECT_TRUE(replaces("payroll.csv", "soft.csv"));
    EXPECT_FALSE(replaces("other.csv", "payroll.csv"));
    EXPECT_FALSE(replaces("new.csv", "payroll.csv"));
    EXPECT_FALSE(replaces("payroll.csv", "missing.csv"));
    EXPECT_FALSE(AtomicFile().sameFileAs((dir / "payroll.csv").c_str()));
}

TEST(AtomicFile, WritesADeviceInPlaceAndReportsItsFailure) {
    EXPECT_TRUE(replace("/dev/null", "gone"));
    AtomicFile full;
    ASSERT_TRUE(full.open("/dev/full"));
    std::fputs("cannot land", full.stream());
    EXPECT_FALSE(full.commit());
    EXPECT_EQ(errno, ENOSPC);
}

TEST(AtomicFile, CannotStartWhereNoFileCanBeMade) {
    console::TempDir dir;
    AtomicFile file;
    EXPECT_FALSE(file.open(""));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(file.open((dir / "missing/out.csv").c_str()));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(file.commit());
}

TEST(AtomicFile, AFullDiskKeepsTheOldFileAndLeavesNoTemporary) {
    console::SmallDisk disk(64);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.why();
    }
    const std::string old(20 * 1024, 'o');
    ASSERT_TRUE(replace(disk / "out.csv", old));
    EXPECT_FALSE(replace(disk / "out.csv", std::string(100 * 1024, 'n')));
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(console::readFile(disk / "out.csv"), old);
    EXPECT_EQ(console::namesIn(disk / ""), Names{"out.csv"});
}

// Either way, a refusal at the start or at the rename keeps the old file and leaves no temporary.
TEST(AtomicFile, EitherWayAReadOnlyDiskOrAFolderInTheWayKeepsWhatWasThere) {
    for (const Way way : {Way::unnamed, Way::named}) {
        console::SmallDisk disk(64);
        if (!disk.mounted()) {
            GTEST_SKIP() << disk.why();
        }
        ASSERT_TRUE(replace(disk / "out.csv", "old\n"));
        // A folder made under the new content's name while it is written cannot be replaced.
        const int status = inChild(way, [&] {
            AtomicFile file;
            if (!file.open((disk / "taken").c_str())) {
                return false;
            }
            fs::create_directories(disk / "taken/inside");
            return !file.commit() && errno == EISDIR;
        });
        if (WIFEXITED(status) && WEXITSTATUS(status) == 125) {
            GTEST_SKIP() << "no mount namespace of its own here";
        }
        EXPECT_EQ(status, 0);
        ASSERT_TRUE(disk.makeReadOnly());
        EXPECT_EQ(inChild(way, [&] {
                      AtomicFile file;
                      return !file.open((disk / "out.csv").c_str()) && errno == EROFS;
                  }),
                  0);
        EXPECT_EQ(console::readFile(disk / "out.csv"), "old\n");
        EXPECT_EQ(console::namesIn(disk / ""), (Names{"out.csv", "taken"}));
    }
}

// A writer killed at any moment of a large replacement leaves one of the two whole contents.
TEST(AtomicFile, KilledAtAnyMomentTheFileHoldsOneWholeContent) {
    console::TempDir dir;
    const std::string old(300 * 1024, 'o');
    const std::string next(600 * 1024, 'n');
    ASSERT_TRUE(replace(dir / "out.csv", old));
    int replaced = 0;
    for (int round = 0; round < 30; round++) {
        const pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            _exit(replace(dir / "out.csv", round % 2 == 0 ? next : old) ? 0 : 1);
        }
        usleep(static_cast<useconds_t>(round * 40));
        kill(writer, SIGKILL);
        int status = 0;
        waitpid(writer, &status, 0);
        const std::string now = console::readFile(dir / "out.csv");
        ASSERT_TRUE(now == old || now == next) << "round " << round << ": " << now.size();
        replaced += now == (round % 2 == 0 ? next : old);
        // Only the rare kill between naming the new content and renaming it leaves a name.
        for (const std::string& name : console::namesIn(dir.path())) {
            if (name != "out.csv") {
                fs::remove(dir / name);
            }
        }
    }
    RecordProperty("replaced", replaced);
}

} // namespace
