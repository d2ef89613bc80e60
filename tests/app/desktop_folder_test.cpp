#include "app/desktop_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/current_dir_guard.h"
#include "support/temp_dir.h"

namespace vistello {
namespace {

namespace fs = std::filesystem;

TEST(DesktopFolderTest, DataHomeWhenAbsoluteElseHome) {
    struct Case {
        const char* dataHome;
        const char* home;
        std::optional<std::string> folder;
    } cases[] = {
        {"/data", "/home/ann", "/data/vistello"},
        {nullptr, "/home/ann", "/home/ann/.local/share/vistello"},
        {"", "/home/ann", "/home/ann/.local/share/vistello"},
        {"data", "/home/ann", "/home/ann/.local/share/vistello"},
        {nullptr, nullptr, std::nullopt},
        {"data", "home", std::nullopt},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(DesktopFolder(test.dataHome, test.home), test.folder);
    }
}

TEST(DesktopFolderTest, EnterFolderMakesMissingFoldersPrivateAndKeepsExistingOnes) {
    const CurrentDirGuard restore;
    testing::TempDir dir;
    const std::string folder = dir / "share/vistello";
    ASSERT_EQ(EnterFolder(folder), std::nullopt);
    EXPECT_EQ(fs::current_path(), fs::path(folder));
    for (const std::string& made : {dir / "share", folder}) {
        struct stat info {};
        ASSERT_EQ(::stat(made.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << made;
    }

    testing::WriteBytes(folder + "/vistello.ini", "kept");
    fs::current_path(dir.Path());
    ASSERT_EQ(EnterFolder(folder), std::nullopt);
    EXPECT_EQ(testing::ReadBytes("vistello.ini"), "kept");
}

TEST(DesktopFolderTest, FileInTheWayIsReportedAndTheCurrentFolderStays) {
    const CurrentDirGuard restore;
    testing::TempDir dir;
    testing::WriteBytes(dir / "share", "a file");
    fs::current_path(dir.Path());
    EXPECT_EQ(EnterFolder(dir / "share/vistello"), "Not a directory");
    EXPECT_EQ(fs::current_path(), dir.Path());
}

}  // namespace
}  // namespace vistello
