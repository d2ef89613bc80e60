#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "platform/atomic_file.h"
#include "platform/file_copy.h"
#include "platform/text_file.h"
#include "support/failing_file_ops.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

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
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_EQ(dir.Names(), before);
}

// A link is written through to its target, old or new, and stays a link; the old file keeps its
// mode, and a new one gets what the umask allows.
TEST(AtomicFileTest, WritesThroughLinksAndKeepsModes) {
    TempDir dir;
    WriteBytes(dir / "page.htm", "old");
    ::chmod((dir / "page.htm").c_str(), 0604);
    fs::create_directory(dir / "sub");
    fs::create_symlink("../page.htm", dir / "sub/link");
    fs::create_symlink("sub/link", dir / "chain");
    fs::create_symlink("made.htm", dir / "dangling");
    const mode_t saved = ::umask(027);
    const bool wroteOld = WriteFileAtomically(dir / "chain", "new", Flush::ToSystem);
    const bool wroteNew = WriteFileAtomically(dir / "dangling", "made", Flush::ToSystem);
    ::umask(saved);
    ASSERT_TRUE(wroteOld && wroteNew);
    EXPECT_EQ(ReadBytes(dir / "page.htm"), "new");
    EXPECT_EQ(ReadBytes(dir / "made.htm"), "made");
    EXPECT_EQ(fs::read_symlink(dir / "chain").string(), "sub/link");
    EXPECT_EQ(fs::read_symlink(dir / "dangling").string(), "made.htm");
    EXPECT_EQ(fs::status(dir / "page.htm").permissions(), fs::perms(0604));
    EXPECT_EQ(fs::status(dir / "made.htm").permissions(), fs::perms(0640));
}

// Every step that can fail leaves the old file byte for byte and no temporary behind; the steps
// the system may interrupt or collide on are retried.
TEST(AtomicFileTest, AFailingStepLeavesTheOldFileWhole) {
    const struct {
        const char* step;
        int call, error;
        bool succeeds;
    } steps[] = {
        {"open", 1, EACCES, false}, {"open", 1, EEXIST, true},   {"write", 1, ENOSPC, false},
        {"write", 3, EIO, false},   {"write", 2, EINTR, true},   {"fsync", 1, EIO, false},
        {"close", 1, EIO, false},   {"rename", 1, EXDEV, false},
    };
    const std::string content(10000, 'n');
    for (const auto& s : steps) {
        TempDir dir;
        WriteBytes(dir / "page.htm", "old");
        FailingFileOps ops(s.step, s.call, s.error);
        EXPECT_EQ(WriteFileAtomically(ops, dir / "page.htm", content), s.succeeds) << s.step;
        EXPECT_EQ(ReadBytes(dir / "page.htm"), s.succeeds ? content : "old") << s.step << s.call;
        EXPECT_EQ(dir.Names(), std::set<std::string>{"page.htm"}) << s.step << s.call;
    }
}

// Larger than two blocks of the copy, and different in every block.
std::string LargeImage() {
    std::string bytes("\x89PNG\r\n\x1A\n", 8);
    for (int i = 0; bytes.size() < 600000; ++i) bytes += std::to_string(i) + '\0';
    return bytes;
}

// Whether the kernel copies or refuses and the blocks are copied by hand, the copy has the same
// bytes and the source's modification time.
TEST(FileCopyTest, CopiesOverAnExistingFileWithTheSourcesTime) {
    TempDir dir;
    WriteBytes(dir / "a.jpg", LargeImage());
    const fs::file_time_type time = fs::last_write_time(dir / "a.jpg") - std::chrono::hours(1);
    fs::last_write_time(dir / "a.jpg", time);
    for (const int refusal : {0, EXDEV, ENOSYS, EPERM}) {
        WriteBytes(dir / "b.jpg", "old");
        FailingFileOps ops;
        ops.refuseCopyWith = refusal;
        ASSERT_TRUE(CopyFileOver(ops, dir / "a.jpg", dir / "b.jpg")) << refusal;
        EXPECT_EQ(ReadBytes(dir / "b.jpg"), LargeImage());
        EXPECT_EQ(fs::last_write_time(dir / "b.jpg"), time);
    }
}

// No source, no folder, a copy onto the source itself, or a read or kernel copy that fails part
// way: nothing is copied and both files stay as they were.
TEST(FileCopyTest, AnyFailureCopiesNothingAndLeavesBothFiles) {
    TempDir dir;
    WriteBytes(dir / "a.jpg", LargeImage());
    WriteBytes(dir / "b.jpg", "old");
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_hard_link(dir / "a.jpg", dir / "hard.jpg");
    fs::create_symlink("a.jpg", dir / "soft.jpg");
    const std::set<std::string> before = dir.Names();
    for (const std::string& from : {dir / "missing.jpg", dir / "folder", dir / "fifo"})
        EXPECT_FALSE(CopyFileOver(from, dir / "b.jpg")) << from;
    for (const std::string& to : {dir / "no-folder/b.jpg", dir.Path().string() + "/./a.jpg",
                                  dir / "hard.jpg", dir / "soft.jpg"})
        EXPECT_FALSE(CopyFileOver(dir / "a.jpg", to)) << to;
    FailingFileOps readFails("read", 2, EIO);
    readFails.refuseCopyWith = EXDEV;
    FailingFileOps kernelFailsPartWay("copy", 2, EIO);
    for (FailingFileOps* ops : {&readFails, &kernelFailsPartWay})
        EXPECT_FALSE(CopyFileOver(*ops, dir / "a.jpg", dir / "b.jpg"));
    EXPECT_EQ(ReadBytes(dir / "b.jpg"), "old");
    EXPECT_EQ(ReadBytes(dir / "a.jpg"), LargeImage());
    EXPECT_TRUE(fs::is_symlink(dir / "soft.jpg"));
    EXPECT_EQ(dir.Names(), before);
}

TEST(TextFileTest, ReadsLineEndsAsLineFeedsAndStopsAtCtrlZ) {
    TempDir dir;
    WriteBytes(dir / "page.htm",
               "a\r\nb\nlone\rcr\r\r\n\xff\x01\x1A"
               "after\r\n");
    EXPECT_EQ(ReadTextFile(dir / "page.htm"), "a\nb\nlone\rcr\r\n\xff\x01");
    ASSERT_TRUE(WriteTextFile(dir / "page.htm", "a\nb\r\n"));
    EXPECT_EQ(ReadBytes(dir / "page.htm"), "a\r\nb\r\r\n");
}

// A read either gives the whole file or nothing: never a FIFO's wait, a device's stream or the
// part before an error.
TEST(TextFileTest, ReadsOnlyARegularFileAndOnlyToItsEnd) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    for (const std::string& path :
         {dir / "missing.htm", dir.Path().string(), dir / "fifo", std::string("/dev/null")})
        EXPECT_FALSE(ReadTextFile(path).has_value()) << path;
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.htm"));
    EXPECT_NE(ReadTextFile("/proc/self/status").value_or("").find("Name:"), std::string::npos);

    const std::string big(300000, 'b');
    WriteBytes(dir / "big.htm", big);
    FailingFileOps failsPartWay("read", 2, EIO);
    EXPECT_FALSE(ReadTextFile(failsPartWay, dir / "big.htm").has_value());
    EXPECT_EQ(ReadTextFile(dir / "big.htm"), big);
}

}  // namespace
}  // namespace vistello::testing
