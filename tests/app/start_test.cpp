#include <gtest/gtest.h>

#include <filesystem>

#include "app/command_line.h"
#include "app/desktop_folder.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

TEST(CommandLineTest, EachLineGivesItsActionAndText) {
    using enum StartAction;
    const std::string usage = "Usage: vistello [OPTION]\n";
    const struct {
        std::vector<std::string_view> arguments;
        StartAction action;
        bool desktopFolder;
        std::string projectFile, textStart;
    } cases[] = {
        {{"--desktop", "--version", "--help"}, PrintHelp, false, "", usage},
        {{"--generate", "a.dat", "--desktop"}, Generate, true, "a.dat", ""},
        {{"--help", "-x"}, RejectUsage, false, "", "vistello: unknown option '-x'\n" + usage},
        {{"--desktop", "pics"}, RejectUsage, false, "", "vistello: unexpected argument 'pics'\n"},
    };
    for (const auto& test : cases) {
        const StartOptions options = ParseCommandLine(test.arguments);
        EXPECT_EQ(options.action, test.action);
        EXPECT_EQ(options.desktopFolder, test.desktopFolder);
        EXPECT_EQ(options.projectFile, test.projectFile);
        EXPECT_TRUE(options.text.starts_with(test.textStart)) << options.text;
        EXPECT_EQ(options.text.empty(), test.textStart.empty());
    }
}

// The folder is under the data home when that is absolute, else under the home. Missing
// folders are made private, existing ones are kept as they are, and a file in the way is
// reported with the current folder left where it was.
TEST(DesktopFolderTest, FollowsTheDataHomeMakesFoldersPrivateAndKeepsWhatIsThere) {
    EXPECT_EQ(DesktopFolder("/data", "/home/ann"), "/data/vistello");
    EXPECT_EQ(DesktopFolder("data", "/home/ann"), "/home/ann/.local/share/vistello");
    EXPECT_EQ(DesktopFolder(nullptr, "home"), std::nullopt);
    ScratchDir dir;
    const std::string folder = dir / "share/vistello";
    ASSERT_EQ(EnterFolder(folder), std::nullopt);
    EXPECT_EQ(fs::current_path(), fs::path(folder));
    EXPECT_EQ(fs::status(dir / "share").permissions(), fs::perms::owner_all);
    WriteBytes("vistello.ini", "kept");
    ASSERT_EQ(EnterFolder(folder), std::nullopt);
    EXPECT_EQ(ReadBytes("vistello.ini"), "kept");
    WriteBytes(dir / "file", "a file");
    EXPECT_EQ(EnterFolder(dir / "file/vistello"), "Not a directory");
    EXPECT_EQ(fs::current_path(), fs::path(folder));
}

}  // namespace
}  // namespace vistello::testing
