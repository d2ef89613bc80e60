#include <gtest/gtest.h>

#include <filesystem>

#include "app/command_line.h"
#include "app/desktop_folder.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

// Help wins over every other option, a project may follow --generate, and anything else that
// is no option is refused. The installed program's own answers are checked by the install test.
TEST(CommandLineTest, HelpWinsAndOnlyGenerateTakesAProject) {
    EXPECT_EQ(ParseCommandLine({"--desktop", "--version", "--help"}).action,
              StartAction::PrintHelp);
    const StartOptions generate = ParseCommandLine({"--generate", "a.dat", "--desktop"});
    EXPECT_EQ(generate.action, StartAction::Generate);
    EXPECT_EQ(generate.projectFile, "a.dat");
    EXPECT_TRUE(generate.desktopFolder);
    const StartOptions refused = ParseCommandLine({"--desktop", "pics"});
    EXPECT_EQ(refused.action, StartAction::RejectUsage);
    EXPECT_TRUE(refused.text.starts_with("vistello: unexpected argument 'pics'\n")) << refused.text;
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
