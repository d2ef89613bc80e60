#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/failing_file_ops.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(AtomicFileTest, RefusesEverythingButAWritableRegularFile) {
    TempDir dir;
    WriteBytes(dir / "read-only.htm", "old");
    ::chmod((dir / "read-only.htm").c_str(), 0444);
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/full", dir / "full");
    const std::set<std::string> before = dir.Names();

    for (const char* name : {"read-only.htm", "folder", "fifo", "full", "no-folder/page.htm"})
        EXPECT_FALSE(WriteFileAtomically(dir / name, "new")) << name;
    EXPECT_EQ(ReadBytes(dir / "read-only.htm"), "old");
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_EQ(fs::read_symlink(dir / "full").string(), "/dev/full");
    EXPECT_EQ(dir.Names(), before);
}

TEST(AtomicFileTest, WritesThroughLinksThatStayLinks) {
    TempDir dir;
    WriteBytes(dir / "page.htm", "old");
    fs::create_directory(dir / "sub");
    fs::create_symlink("../page.htm", dir / "sub/link");
    fs::create_symlink("sub/link", dir / "chain");
    fs::create_symlink("made.htm", dir / "dangling");

    ASSERT_TRUE(WriteFileAtomically(dir / "chain", "new"));
    ASSERT_TRUE(WriteFileAtomically(dir / "dangling", "made"));
    EXPECT_EQ(ReadBytes(dir / "page.htm"), "new");
    EXPECT_EQ(ReadBytes(dir / "made.htm"), "made");
    EXPECT_EQ(fs::read_symlink(dir / "chain").string(), "sub/link");
    EXPECT_EQ(fs::read_symlink(dir / "sub/link").string(), "../page.htm");
    EXPECT_EQ(fs::read_symlink(dir / "dangling").string(), "made.htm");
}

TEST(AtomicFileTest, KeepsTheOldModeAndGivesANewFileTheUmasksMode) {
    TempDir dir;
    WriteBytes(dir / "old.htm", "old");
    ::chmod((dir / "old.htm").c_str(), 0604);
    const mode_t saved = ::umask(027);
    const bool wroteOld = WriteFileAtomically(dir / "old.htm", "new", Flush::ToSystem);
    const bool wroteNew = WriteFileAtomically(dir / "new.htm", "new", Flush::ToSystem);
    ::umask(saved);
    ASSERT_TRUE(wroteOld && wroteNew);
    EXPECT_EQ(ModeOf(dir / "old.htm"), 0604u);
    EXPECT_EQ(ModeOf(dir / "new.htm"), 0640u);
}

// Every step that can fail leaves the old file byte for byte and no temporary behind; the steps
// the system may interrupt or collide on are retried.
TEST(AtomicFileTest, AFailingStepLeavesTheOldFileWhole) {
    struct Step {
        const char* step;
        int call, error;
        bool succeeds;
    };
    const Step steps[] = {
        {"open", 1, EACCES, false}, {"open", 1, EEXIST, true},   {"write", 1, ENOSPC, false},
        {"write", 3, EIO, false},   {"write", 2, EINTR, true},   {"fsync", 1, EIO, false},
        {"close", 1, EIO, false},   {"rename", 1, EXDEV, false},
    };
    const std::string content(10000, 'n');
    for (const Step& s : steps) {
        TempDir dir;
        WriteBytes(dir / "page.htm", "old");
        FailingFileOps ops(s.step, s.call, s.error);
        EXPECT_EQ(WriteFileAtomically(ops, dir / "page.htm", content), s.succeeds)
            << s.step << s.call;
        EXPECT_EQ(ReadBytes(dir / "page.htm"), s.succeeds ? content : "old") << s.step << s.call;
        EXPECT_EQ(dir.Names(), std::set<std::string>{"page.htm"}) << s.step << s.call;
    }
}

}  // namespace
}  // namespace vistello::testing
