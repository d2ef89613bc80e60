#include "platform/file_copy.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "support/failing_file_ops.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

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
    for (const int refusal : {0, EXDEV, EINVAL, ENOSYS, EOPNOTSUPP, EPERM}) {
        SCOPED_TRACE(refusal);
        WriteBytes(dir / "b.jpg", "old");
        FailingFileOps ops;
        ops.refuseCopyWith = refusal;
        ASSERT_TRUE(CopyFileOver(ops, dir / "a.jpg", dir / "b.jpg"));
        EXPECT_EQ(ReadBytes(dir / "b.jpg"), LargeImage());
        EXPECT_EQ(fs::last_write_time(dir / "b.jpg"), time);
    }
}

TEST(FileCopyTest, CopyOntoItselfFailsAndLeavesTheFile) {
    TempDir dir;
    WriteBytes(dir / "a.jpg", "image bytes");
    fs::create_hard_link(dir / "a.jpg", dir / "hard.jpg");
    fs::create_symlink("a.jpg", dir / "soft.jpg");
    for (const std::string& to :
         {dir / "a.jpg", dir.Path().string() + "/./a.jpg", dir / "hard.jpg", dir / "soft.jpg"})
        EXPECT_FALSE(CopyFileOver(dir / "a.jpg", to)) << to;
    EXPECT_EQ(ReadBytes(dir / "a.jpg"), "image bytes");
    EXPECT_TRUE(fs::is_symlink(dir / "soft.jpg"));
    EXPECT_EQ(fs::hard_link_count(dir / "a.jpg"), 2u);
}

TEST(FileCopyTest, NoRegularSourceOrNoFolderOrAFailedReadOrCopyCopiesNothing) {
    TempDir dir;
    WriteBytes(dir / "a.jpg", LargeImage());
    WriteBytes(dir / "b.jpg", "old");
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    const std::set<std::string> before = dir.Names();

    for (const std::string& from :
         {dir / "missing.jpg", std::string(), dir / "folder", dir / "fifo"})
        EXPECT_FALSE(CopyFileOver(from, dir / "b.jpg")) << from;
    EXPECT_FALSE(CopyFileOver(dir / "a.jpg", dir / "no-folder/b.jpg"));
    FailingFileOps readFails("read", 2, EIO);
    readFails.refuseCopyWith = EXDEV;
    FailingFileOps kernelFails("copy", 1, EIO);
    FailingFileOps kernelFailsPartWay("copy", 2, EIO);
    for (FailingFileOps* ops : {&readFails, &kernelFails, &kernelFailsPartWay})
        EXPECT_FALSE(CopyFileOver(*ops, dir / "a.jpg", dir / "b.jpg"));
    EXPECT_EQ(ReadBytes(dir / "b.jpg"), "old");
    EXPECT_EQ(dir.Names(), before);
}

}  // namespace
}  // namespace vistello::testing
