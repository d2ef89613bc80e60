#include "platform/file_copy.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST(FileCopyTest, CopiesOverAnExistingFile) {
    TempDir dir;
    WriteBytes(dir / "a.jpg", LargeImage());
    WriteBytes(dir / "b.jpg", "old");
    ASSERT_TRUE(CopyFileOver(dir / "a.jpg", dir / "b.jpg"));
    EXPECT_EQ(ReadBytes(dir / "b.jpg"), LargeImage());
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

TEST(FileCopyTest, NoRegularSourceOrNoFolderOrAFailedReadCopiesNothing) {
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
    FailingFileOps failsPartWay("read", 2, EIO);
    EXPECT_FALSE(CopyFileOver(failsPartWay, dir / "a.jpg", dir / "b.jpg"));
    EXPECT_EQ(ReadBytes(dir / "b.jpg"), "old");
    EXPECT_EQ(dir.Names(), before);
}

}  // namespace
}  // namespace vistello::testing
