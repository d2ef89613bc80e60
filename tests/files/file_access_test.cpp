#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "files/atomic_file.h"
#include "files/file_copy.h"
#include "files/leftovers.h"
#include "files/text_file.h"
#include "support/failing_file_ops.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

// Only a writable regular file, or nothing, is replaced; a link is written through to its
// target, old or new, and stays a link. The old file keeps its mode; a new one gets the umask's.
TEST(AtomicFileTest, ReplacesOnlyRegularFilesKeepingLinksAndModes) {
    ScratchDir dir;
    RealFileOps files;
    WriteBytes("read-only.htm", "old");
    ::chmod("read-only.htm", 0444);
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);
    fs::create_symlink("fifo", "to-fifo");
    for (const char* name : {"read-only.htm", ".", "fifo", "to-fifo", "no-folder/page.htm"})
        EXPECT_FALSE(WriteFileAtomically(files, name, "new")) << name;
    EXPECT_EQ(ReadBytes("read-only.htm"), "old");
    EXPECT_TRUE(fs::is_fifo("fifo"));

    WriteBytes("page.htm", "old");
    ::chmod("page.htm", 0604);
    fs::create_symlink("page.htm", "link");
    fs::create_symlink("made.htm", "dangling");
    const mode_t saved = ::umask(027);
    const bool written = WriteFileAtomically(files, "link", "new", Flush::ToSystem) &&
                         WriteFileAtomically(files, "dangling", "made", Flush::ToSystem);
    ::umask(saved);
    ASSERT_TRUE(written);
    EXPECT_EQ(ReadBytes("page.htm"), "new");
    EXPECT_EQ(ReadBytes("made.htm"), "made");
    EXPECT_TRUE(fs::is_symlink("link") && fs::is_symlink("dangling"));
    EXPECT_EQ(fs::status("page.htm").permissions(), fs::perms(0604));
    EXPECT_EQ(fs::status("made.htm").permissions(), fs::perms(0640));
    EXPECT_EQ(dir.Names().size(), 7u);
}

// Every step that can fail leaves the old file byte for byte and no temporary behind; the steps
// the system may interrupt or collide on are retried.
TEST(AtomicFileTest, AFailingStepLeavesTheOldFileWhole) {
    const struct {
        const char* step;
        int call, error;
        bool succeeds;
    } steps[] = {{"open", 1, EACCES, false},  {"open", 1, EEXIST, true},
                 {"write", 1, ENOSPC, false}, {"write", 3, EIO, false},
                 {"write", 2, EINTR, true},   {"fsync", 1, EIO, false},
                 {"close", 1, EIO, false},    {"rename", 1, EXDEV, false}};
    const std::string content(10000, 'n');
    for (const auto& s : steps) {
        ScratchDir dir;
        WriteBytes("page.htm", "old");
        FailingFileOps ops(s.step, s.call, s.error);
        EXPECT_EQ(WriteFileAtomically(ops, "page.htm", content), s.succeeds) << s.step;
        EXPECT_EQ(ReadBytes("page.htm"), s.succeeds ? content : "old") << s.step << s.call;
        EXPECT_EQ(dir.Names(), std::set<std::string>{"page.htm"}) << s.step << s.call;
    }
}

// A signal that ends the program as the temporary comes into being removes it: the system
// delivers a signal as a call returns, which makes that moment a likely one.
TEST(AtomicFileTest, ASignalAsTheTemporaryIsMadeRemovesIt) {
    ScratchDir dir;
    struct EndedAtOpen : RealFileOps {
        int OpenExclusive(const std::string& path) override {
            const int fd = RealFileOps::OpenExclusive(path);
            EndLeftovers();
            left = fs::exists(path);
            return fd;
        }
        bool left = true;
    } ops;
    EXPECT_FALSE(WriteFileAtomically(ops, "page.htm", "new"));
    EXPECT_FALSE(ops.left);
}

// Whether the kernel copies or refuses and the blocks go by hand, the copy has the same bytes
// and the source's time. A failure of any kind copies nothing and leaves both files as they
// were, a copy onto the source itself too.
TEST(FileCopyTest, CopiesWholeWithTheSourcesTimeOrNotAtAll) {
    ScratchDir dir;
    std::string image("\x89PNG\r\n\x1A\n", 8);
    for (int i = 0; image.size() < 600000; ++i) image += std::to_string(i) + '\0';
    WriteBytes("a.jpg", image);
    const fs::file_time_type time = fs::last_write_time("a.jpg") - std::chrono::hours(1);
    fs::last_write_time("a.jpg", time);
    for (const int refusal : {0, EXDEV}) {
        WriteBytes("b.jpg", "old");
        FailingFileOps ops;
        ops.refuseCopyWith = refusal;
        ASSERT_TRUE(CopyFileOver(ops, "a.jpg", "b.jpg")) << refusal;
        EXPECT_EQ(ReadBytes("b.jpg"), image);
        EXPECT_EQ(fs::last_write_time("b.jpg"), time);
    }

    WriteBytes("b.jpg", "old");
    RealFileOps files;
    fs::create_hard_link("a.jpg", "hard.jpg");
    const std::set<std::string> before = dir.Names();
    EXPECT_FALSE(CopyFileOver(files, "missing.jpg", "b.jpg"));
    for (const char* to : {"no-folder/b.jpg", "./a.jpg", "hard.jpg"})
        EXPECT_FALSE(CopyFileOver(files, "a.jpg", to)) << to;
    FailingFileOps readFails("read", 2, EIO);
    readFails.refuseCopyWith = EXDEV;
    FailingFileOps kernelFailsPartWay("copy", 2, EIO);
    for (FailingFileOps* ops : {&readFails, &kernelFailsPartWay})
        EXPECT_FALSE(CopyFileOver(*ops, "a.jpg", "b.jpg"));
    EXPECT_EQ(ReadBytes("b.jpg"), "old");
    EXPECT_EQ(ReadBytes("a.jpg"), image);
    EXPECT_EQ(dir.Names(), before);
}

// Line ends are read as line feeds and Ctrl-Z ends the text. A read gives the whole file or
// nothing: never a FIFO's wait, a device's stream or the part before an error.
TEST(TextFileTest, ReadsOnlyARegularFileToItsEndInTextMode) {
    ScratchDir dir;
    RealFileOps files;
    WriteBytes("page.htm",
               "a\r\nb\nlone\rcr\r\r\n\xff\x1A"
               "after\r\n");
    EXPECT_EQ(ReadTextFile(files, "page.htm"), "a\nb\nlone\rcr\r\n\xff");
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);
    for (const char* path : {"missing.htm", ".", "fifo", "/dev/null"})
        EXPECT_FALSE(ReadTextFile(files, path).has_value()) << path;
    EXPECT_FALSE(fs::exists("missing.htm"));
    EXPECT_NE(ReadTextFile(files, "/proc/self/status").value_or("").find("Name:"),
              std::string::npos);
    const std::string big(300000, 'b');
    WriteBytes("big.htm", big);
    FailingFileOps failsPartWay("read", 2, EIO);
    EXPECT_FALSE(ReadTextFile(failsPartWay, "big.htm").has_value());
    EXPECT_EQ(ReadTextFile(files, "big.htm"), big);
}

// A save clears what a killed save left half written beside the file.
TEST(TextFileTest, ASaveClearsWhatAKilledSaveLeftBesideIt) {
    ScratchDir dir;
    RealFileOps files;
    const std::string killed = TemporaryName("abcdefghijk", 2147483646);
    WriteBytes(killed, "half");
    ASSERT_TRUE(WriteTextFile(files, "show.dat", "IMAGE=a.jpg\n", Flush::ToSystem));
    EXPECT_FALSE(fs::exists(killed));
}

}  // namespace
}  // namespace vistello::testing
