#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "support/failing_file_ops.h"
#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

const ShownBox kWriteFailure{"Save to File", "Error Writing File"};

// The program's whole life in a scratch folder: start, act, close, start again.
class ProjectLifecycleTest : public ::testing::Test {
protected:
    void Start() {
        dialog.emplace();
        window.emplace(system, *dialog);
    }

    // Ends the window the way the user chose, then destroys it as the window system does.
    void Close(int command = IDOK) {
        window->Press(command);
        window.reset();
        dialog.reset();
    }

    ScratchDir scratch;
    FakeWindowSystem system;
    std::optional<CMainDialog> dialog;
    std::optional<FakeWindow> window;
};

TEST_F(ProjectLifecycleTest, FirstRunCreatesBothFilesAndWritesThemAtExit) {
    Start();
    EXPECT_EQ(ReadBytes("vistello.ini"), "");
    EXPECT_EQ(ReadBytes("vistello.dat"), "");
    Close(IDCANCEL);
    EXPECT_EQ(
        ReadBytes("vistello.ini"),
        "CREATOR=Vistello 1.0\r\nIMAGEPATH=\r\nIMAGETITLE=\r\nHEIGHT=\r\nWIDTH=\r\nBORDER=\r\n"
        "ALT=\r\nKEYWORDS=\r\nTOOLTIPS=yes\r\nDESCRIPTION=\r\nFILE=vistello.dat\r\n\r\n");
    EXPECT_EQ(ReadBytes("vistello.dat"),
              "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=\r\n");
    EXPECT_TRUE(system.boxes.empty());
}

// The preferences are read first: their FILE decides what fills the window.
TEST_F(ProjectLifecycleTest, StartsWithTheProjectThePreferencesName) {
    fs::create_directory("p");
    WriteBytes("vistello.ini", "TOOLTIPS=Yes\r\nFILE=p/garden.dat\r\nALT=[alt]");
    WriteBytes("p/garden.dat",
               "TEMPLATE=t.htm\r\nOUTPUT=web\r\nIMAGE=mill.jpg\r\nTITLE=Old mill\r\n\r\n"
               "IMAGE=harbour.jpg\r\nTITLE=Harbour at dawn\r\nDESCRIPTION=a=b");
    Start();
    EXPECT_EQ(window->Text(ids::kTitle), "Harbour at dawn");
    EXPECT_EQ(window->Text(ids::kDescription), "a=b");
    EXPECT_EQ(window->Host().Caption(), "Vistello: p/garden.dat");
    EXPECT_FALSE(window->Host().ToolTipsOn());
    EXPECT_EQ(dialog->m_tags.alt, "[alt]");
}

// Quit and Enter take the typed text in first; Escape and the close box do not.
TEST_F(ProjectLifecycleTest, TypedTextIsSavedOnlyByTheEndingsThatTakeItIn) {
    for (const auto& [command, saved] :
         {std::pair{IDOK, "OUTPUT=typed"}, std::pair{ids::kMenuQuit, "OUTPUT=typed"},
          std::pair{IDCANCEL, "OUTPUT=old"}}) {
        WriteBytes("vistello.dat", "OUTPUT=old\n");
        Start();
        window->Type(ids::kOutputFolder, "typed");
        Close(command);
        EXPECT_NE(ReadBytes("vistello.dat").find(saved), std::string::npos) << command;
    }
}

// Whatever stands in the way, the user is told once per file and the file that was there
// stays whole.
TEST_F(ProjectLifecycleTest, AFailedWriteAtExitIsReportedAndLeavesTheOldFile) {
    fs::create_directory("folder.dat");
    WriteBytes("readonly.dat", "IMAGE=a.jpg\n");
    ::chmod("readonly.dat", 0444);
    fs::create_symlink("/dev/full", "full.dat");
    for (const std::string name : {"missing/x.dat", "folder.dat", "readonly.dat", "full.dat"}) {
        WriteBytes("vistello.ini", "FILE=" + name + "\n");
        Start();
        system.boxes.clear();
        Close();
        EXPECT_EQ(system.boxes, std::vector<ShownBox>{kWriteFailure}) << name;
    }
    EXPECT_EQ(ReadBytes("readonly.dat"), "IMAGE=a.jpg\n");
    EXPECT_TRUE(fs::is_symlink("full.dat"));
}

// Each step of either write failing in turn: one box, the other file is still written, the file
// that was there stays whole and no temporary is left.
TEST_F(ProjectLifecycleTest, AWriteFailingAtAnyStepKeepsTheOldFile) {
    const std::string oldPreferences = "FILE=vistello.dat\r\n";
    const std::string oldProject = "IMAGE=old.jpg\r\nTITLE=Old\r\n";
    for (const char* step : {"open", "write", "fsync", "close", "rename"}) {
        for (int call : {1, 2}) {
            WriteBytes("vistello.ini", oldPreferences);
            WriteBytes("vistello.dat", oldProject);
            FailingFileOps files(step, call, ENOSPC);
            Start();
            dialog->UseFileOps(files);
            window->Type(ids::kTitle, "New");
            window->Type(ids::kImagePath, "new.jpg");
            window->Press(ids::kAdd);
            system.boxes.clear();
            Close();
            EXPECT_EQ(system.boxes, std::vector<ShownBox>{kWriteFailure}) << step << call;
            EXPECT_EQ(ReadBytes("vistello.ini") == oldPreferences, call == 1) << step;
            EXPECT_EQ(ReadBytes("vistello.dat") == oldProject, call == 2) << step;
            EXPECT_EQ(scratch.Dir().Names(),
                      (std::set<std::string>{"vistello.dat", "vistello.ini"}))
                << step;
        }
    }
}

}  // namespace
}  // namespace vistello::testing
