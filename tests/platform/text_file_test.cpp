#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/failing_file_ops.h"
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

TEST(TextFileTest, CreateFileIfMissingLeavesAnExistingFileAlone) {
    TempDir dir;
    WriteBytes(dir / "kept.txt", "content");
    std::filesystem::create_directory(dir / "folder");
    std::filesystem::create_symlink("named.txt", dir / "dangling");

    EXPECT_TRUE(CreateFileIfMissing(dir / "new.txt"));
    EXPECT_TRUE(CreateFileIfMissing(dir / "kept.txt"));
    EXPECT_TRUE(CreateFileIfMissing(dir / "dangling"));
    EXPECT_FALSE(CreateFileIfMissing(dir / "folder"));
    EXPECT_FALSE(CreateFileIfMissing(dir / "no-folder/new.txt"));
    EXPECT_EQ(ReadTextFile(dir / "new.txt"), "");
    EXPECT_EQ(ReadBytes(dir / "kept.txt"), "content");
    EXPECT_EQ(ReadTextFile(dir / "named.txt"), "");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling"));
}

}  // namespace
}  // namespace vistello::testing
