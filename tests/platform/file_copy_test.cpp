#include "platform/file_copy.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

TEST(FileCopyTest, CopiesOverAnExistingFile) {
    TempDir dir;
    WriteBytes(dir / "a.jpg", std::string("\x89PNG\r\n\x1A\n", 8) + std::string(100000, 'x'));
    WriteBytes(dir / "b.jpg", "old");
    ASSERT_TRUE(CopyFileOver(dir / "a.jpg", dir / "b.jpg"));
    EXPECT_EQ(ReadBytes(dir / "b.jpg"), ReadBytes(dir / "a.jpg"));
}

TEST(FileCopyTest, CopyOntoItselfFailsAndLeavesTheFile) {
    TempDir dir;
    WriteBytes(dir / "a.jpg", "image bytes");
    std::filesystem::create_hard_link(dir / "a.jpg", dir / "link.jpg");
    EXPECT_FALSE(CopyFileOver(dir / "a.jpg", dir / "a.jpg"));
    EXPECT_FALSE(CopyFileOver(dir / "a.jpg", dir.Path().string() + "/./a.jpg"));
    EXPECT_FALSE(CopyFileOver(dir / "a.jpg", dir / "link.jpg"));
    EXPECT_EQ(ReadBytes(dir / "a.jpg"), "image bytes");
}

TEST(FileCopyTest, MissingSourceOrFolderFails) {
    TempDir dir;
    WriteBytes(dir / "a.jpg", "x");
    EXPECT_FALSE(CopyFileOver(dir / "missing.jpg", dir / "b.jpg"));
    EXPECT_FALSE(CopyFileOver("", dir / "b.jpg"));
    EXPECT_FALSE(CopyFileOver(dir / "a.jpg", dir / "no-folder/b.jpg"));
    EXPECT_FALSE(std::filesystem::exists(dir / "b.jpg"));
}

}  // namespace
}  // namespace vistello::testing
