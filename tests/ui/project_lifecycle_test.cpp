#include <filesystem>
#include <optional>

#include "support/failing_file_ops.h"
#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

// The program's whole life in a scratch folder: start, act, close, start again.
class ProjectLifecycleTest : public ::testing::Test {
protected:
    void Start() {
        dialog.emplace();
        window.emplace(system, *dialog);
    }

    // Ends the window the way the user chose, then destroys it as the window system does.
    void Close(int command) {
        window->Press(command);
        window.reset();
        dialog.reset();
    }

    ScratchDir scratch;
    FakeWindowSystem system;
    std::optional<CMainDialog> dialog;
    std::optional<FakeWindow> window;
};

// Both files are made empty at the first start and written in full at every exit. Quit and
// Enter take the typed text in first; Escape and the close box do not.
TEST_F(ProjectLifecycleTest, FirstRunCreatesBothFilesAndEveryExitWritesThem) {
    Start();
    EXPECT_EQ(ReadBytes("vistello.ini") + ReadBytes("vistello.dat"), "");
    Close(IDCANCEL);
    EXPECT_EQ(
        ReadBytes("vistello.ini"),
        "CREATOR=Vistello 1.0\r\nIMAGEPATH=\r\nIMAGETITLE=\r\nHEIGHT=\r\nWIDTH=\r\nBORDER=\r\n"
        "ALT=\r\nKEYWORDS=\r\nTOOLTIPS=yes\r\nDESCRIPTION=\r\nFILE=vistello.dat\r\n\r\n");
    for (const auto& [command, output] :
         {std::pair{IDOK, "typed"}, std::pair{ids::kMenuQuit, "typed"}, std::pair{IDCANCEL, ""}}) {
        WriteBytes("vistello.dat", "");
        Start();
        window->Type(ids::kOutputFolder, "typed");
        Close(command);
        EXPECT_EQ(ReadBytes("vistello.dat"),
                  "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=" + std::string(output) +
                      "\r\n")
            << command;
    }
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
    EXPECT_EQ(window->Caption(), "Vistello: p/garden.dat");
    EXPECT_FALSE(window->ToolTipsOn());
    EXPECT_EQ(dialog->m_tags.alt, "[alt]");
}

// Each step of either write failing in turn: one box, the other file is
// still written, the file that was there stays whole and no temporary is left.
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
            window->Type(ids::kOutputFolder, "new");
            system.boxes.clear();
            Close(IDOK);
            EXPECT_EQ(system.boxes, (std::vector<ShownBox>{{"Save to File", "Error Writing File"}}))
                << step << call;
            EXPECT_EQ(ReadBytes("vistello.ini") == oldPreferences, call == 1) << step;
            EXPECT_EQ(ReadBytes("vistello.dat") == oldProject, call == 2) << step;
            EXPECT_EQ(scratch.Names(), (std::set<std::string>{"vistello.dat", "vistello.ini"}))
                << step;
        }
    }
}

}  // namespace
}  // namespace vistello::testing
