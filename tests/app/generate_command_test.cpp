#include "app/generate_command.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

// A project typed into the window, saved, and generated both ways.
class GenerateCommandTest : public MainWindowTest {
protected:
    GenerateCommandTest() {
        fs::create_directories("web");
        fs::create_directories("pics");
        WriteBytes("show.htm", "<<BACK>>|<<NEXT>>|<<IMAGETITLE>>|<img src=<<IMAGEPATH>>>\n");
        WriteBytes("pics/a.jpg", "a");
        WriteBytes("pics/b c.jpg", "b");
        window.Type(ids::kTemplate, "show.htm");
        window.Type(ids::kOutputFolder, "web");
        AddEntry("Second", "pics/b c.jpg");
        AddEntry("First", "pics/a.jpg");
        window.Press(ids::kMenuSave);
    }

    int Run() {
        RealFileOps files;
        return RunGenerateCommand(files, "", out, err);
    }

    static std::map<std::string, std::string> Folder(const std::string& path) {
        std::map<std::string, std::string> files;
        for (const auto& item : fs::directory_iterator(path))
            files[item.path().filename().string()] = ReadBytes(item.path().string());
        return files;
    }

    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(GenerateCommandTest, WritesTheSamePagesAsTheWindow) {
    window.Press(ids::kGenerate);
    const auto fromWindow = Folder("web");
    fs::remove_all("web");
    fs::create_directory("web");
    EXPECT_EQ(Run(), 0) << err.str();
    EXPECT_EQ(Folder("web"), fromWindow);
    EXPECT_EQ(out.str(), "Wrote 2 of 2 pages and copied 2 of 2 images into web/\n");
    EXPECT_EQ(err.str(), "");
}

// Each failed file is one line of its own; the others are still made, and the status says so.
TEST_F(GenerateCommandTest, EveryFailedFileIsALineAndTheRunGoesOn) {
    WriteBytes("web/first.htm", "kept");
    ::chmod("web/first.htm", 0444);
    fs::remove("pics/b c.jpg");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(ReadBytes("web/first.htm"), "kept");
    EXPECT_TRUE(fs::exists("web/second.htm"));
    EXPECT_EQ(err.str(), "vistello: web/first.htm: could not be written\n"
                         "vistello: pics/b c.jpg: could not be copied to web/b c.jpg\n");
    EXPECT_EQ(out.str(), "Wrote 1 of 2 pages and copied 1 of 2 images into web/\n");
}

}  // namespace
}  // namespace vistello::testing
