#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

TEST(TextModeTest, DecodesLineEndsAndStopsAtCtrlZ) {
    struct Case {
        std::string raw, text;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", "a\nb\n"},
        {"a\nb", "a\nb"},
        {"lone\rcr\r\r\n", "lone\rcr\r\n"},
        {"before\x1A"
         "after\r\n",
         "before"},
        {"\r\n\r\n", "\n\n"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeTextMode(c.raw), c.text) << c.raw;
}

TEST(TextModeTest, EncodesEveryLineFeedAsCrLf) {
    EXPECT_EQ(EncodeTextMode("a\nb\n\n"), "a\r\nb\r\n\r\n");
    EXPECT_EQ(EncodeTextMode("a\r\nb"), "a\r\r\nb");
    EXPECT_EQ(EncodeTextMode("no end"), "no end");
}

TEST(TextFileTest, RoundTripsBytesThroughDisk) {
    TempDir dir;
    const std::string path = dir / "page.htm";
    const std::string text = "line 1\n\xff\xfe binary \x01\nlast";
    ASSERT_TRUE(WriteTextFile(path, text));
    EXPECT_EQ(ReadBytes(path), "line 1\r\n\xff\xfe binary \x01\r\nlast");
    EXPECT_EQ(ReadTextFile(path), text);
}

TEST(TextFileTest, MissingFileReadsAsNothingAndIsNotCreated) {
    TempDir dir;
    EXPECT_FALSE(ReadTextFile(dir / "missing.htm").has_value());
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.htm"));
}

TEST(TextFileTest, FailedWriteLeavesTheOldFileWholeAndNoTemporaries) {
    TempDir dir;
    const std::string path = dir / "page.htm";
    WriteBytes(path, "old content");
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(WriteTextFile(path, "new"));
    EXPECT_EQ(ReadBytes(path), "old content");

    EXPECT_FALSE(WriteTextFile(dir / "no-such-folder/page.htm", "new"));
    EXPECT_FALSE(WriteTextFile(dir.Path().string(), "a folder is no file"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(TextFileTest, ReplacingKeepsTheFilesPermissions) {
    TempDir dir;
    const std::string path = dir / "page.htm";
    WriteBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteTextFile(path, "new"));
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadBytes(path), "new");
}

}  // namespace
}  // namespace vistello::testing
