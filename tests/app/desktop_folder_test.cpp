#include "app/desktop_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/current_dir_guard.h"
#include "support/temp_dir.h"

namespace vistello {
namespace {

namespace fs = std::filesystem;

TEST(DesktopFolderTest, DataHomeWhenAbsoluteElseHome) {
    const std::string fromHome = "/home/ann/.local/share/vistello";
    const struct {
        const char* dataHome;
        const char* home;
        std::optional<std::string> folder;
    } cases[] = {
        {"/data", "/home/ann", "/data/vistello"},
        {nullptr, "/home/ann", fromHome},
        {"", "/home/ann", fromHome},
        {"data", "/home/ann", fromHome},
        {nullptr, nullptr, std::nullopt},
        {"data", "home", std::nullopt},
    };
    for (const auto& test : cases) EXPECT_EQ(DesktopFolder(test.dataHome, test.home), test.folder);
}

// Missing folders are made private, existing ones are kept as they are, and a file in the way
// is reported with the current folder left where it was.
TEST(DesktopFolderTest, EnterFolderMakesMissingFoldersPrivateAndKeepsWhatIsThere) {
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

    testing::WriteBytes(dir / "file", "a file");
    EXPECT_EQ(EnterFolder(dir / "file/vistello"), "Not a directory");
    EXPECT_EQ(fs::current_path(), fs::path(folder));
}

}  // namespace
}  // namespace vistello
