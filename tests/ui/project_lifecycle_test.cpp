#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "app/slide_show_app.h"
#include "support/failing_file_ops.h"
#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

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
        window->Destroy();
        window.reset();
        dialog.reset();
    }

    void AddEntry(const std::string& title, const std::string& image) {
        window->Type(ids::kTitle, title);
        window->Type(ids::kImagePath, image);
        window->Press(ids::kAdd);
    }

    Strings Titles() {
        Strings titles;
        for (int row = 0; row < dialog->m_listEntries.RowCount(); ++row)
            titles.push_back(dialog->m_listEntries.Row(row).title);
        return titles;
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
    EXPECT_EQ(window->Host().Caption(), "Vistello: vistello.dat");
    EXPECT_TRUE(window->Host().ToolTipsOn());
    EXPECT_EQ(window->Text(ids::kTemplate), "template.htm");
    Close(IDCANCEL);
    EXPECT_EQ(
        ReadBytes("vistello.ini"),
        "CREATOR=Vistello 1.0\r\nIMAGEPATH=\r\nIMAGETITLE=\r\nHEIGHT=\r\nWIDTH=\r\nBORDER=\r\n"
        "ALT=\r\nKEYWORDS=\r\nTOOLTIPS=yes\r\nDESCRIPTION=\r\nFILE=vistello.dat\r\n\r\n");
    EXPECT_EQ(ReadBytes("vistello.dat"),
              "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=\r\n");
    EXPECT_TRUE(system.boxes.empty());
}

// The preferences are read first: their FILE decides what fills the window. Saving takes the
// typed settings in and leaves the top row in the fields.
TEST_F(ProjectLifecycleTest, StartsWithTheProjectThePreferencesNameAndSavesItInPlace) {
    fs::create_directory("p");
    WriteBytes("vistello.ini", "TOOLTIPS=Yes\r\nFILE=p/garden.dat\r\nALT=[alt]");
    WriteBytes("p/garden.dat",
               "TEMPLATE=t.htm\r\nOUTPUT=web\r\nIMAGE=mill.jpg\r\nTITLE=Old mill\r\n\r\n"
               "IMAGE=harbour.jpg\r\nTITLE=Harbour at dawn\r\nDESCRIPTION=a=b");
    Start();
    EXPECT_EQ(Titles(), (Strings{"Harbour at dawn", "Old mill"}));
    EXPECT_EQ(window->Text(ids::kDescription), "a=b");
    EXPECT_EQ(window->Text(ids::kTemplate), "t.htm");
    EXPECT_EQ(window->Text(ids::kEntryCount), "2");
    EXPECT_EQ(window->Host().Caption(), "Vistello: p/garden.dat");
    EXPECT_FALSE(window->Host().ToolTipsOn());
    EXPECT_EQ(dialog->m_tags.alt, "[alt]");

    window->ClickRow(ids::kEntryList, 1);
    window->Type(ids::kOutputFolder, "out");
    window->Press(ids::kMenuSave);
    EXPECT_NE(ReadBytes("p/garden.dat").find("OUTPUT=out\r\nIMAGE=mill.jpg"), std::string::npos);
    EXPECT_EQ(window->Text(ids::kTitle), "Harbour at dawn");
}

// Quit and Enter take the typed text in first; Escape and the close box do not.
TEST_F(ProjectLifecycleTest, TypedTextIsSavedOnlyByTheEndingsThatTakeItIn) {
    for (const auto& [command, saved] :
         {std::pair{IDOK, "typed"}, std::pair{ids::kMenuQuit, "typed"},
          std::pair{IDCANCEL, "old"}}) {
        WriteBytes("vistello.dat", "OUTPUT=old\n");
        Start();
        window->Type(ids::kOutputFolder, "typed");
        Close(command);
        EXPECT_NE(ReadBytes("vistello.dat").find("OUTPUT=" + std::string(saved) + "\r\n"),
                  std::string::npos)
            << command;
    }
}

// No, and a cancelled picker, must never cost the user the project they had.
TEST_F(ProjectLifecycleTest, NewProjectEmptiesTheListOnlyOnceAFileIsChosen) {
    Start();
    window->Type(ids::kOutputFolder, "web");
    AddEntry("Mill", "mill.jpg");
    const fs::path here = fs::current_path();
    const std::string chosen = (here / "new.dat").string();
    system.answers = {MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::Yes};
    system.pickerAnswers = {std::nullopt, chosen};
    window->Press(ids::kNewProject);
    EXPECT_TRUE(system.pickers.empty());
    window->Press(ids::kNewProject);
    EXPECT_EQ(Titles(), Strings{"Mill"});
    EXPECT_EQ(window->Host().Caption(), "Vistello: vistello.dat");

    window->Press(ids::kNewProject);
    EXPECT_EQ(fs::current_path(), here);
    EXPECT_EQ(system.pickers.at(1).options.defaultExtension, "dat");
    EXPECT_TRUE(Titles().empty());
    EXPECT_EQ(window->Text(ids::kEntryCount), "0");
    EXPECT_EQ(window->Host().Caption(), "Framewright Vistello: " + chosen);
    EXPECT_EQ(ReadBytes(chosen), "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=web\r\n");
    AddEntry("Harbour", "harbour.jpg");
    Close();
    Start();
    EXPECT_EQ(Titles(), Strings{"Harbour"});
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
            AddEntry("New", "new.jpg");
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

TEST(SlideShowAppTest, WithoutSocketsSaysSoAndTouchesNoFile) {
    ScratchDir scratch;
    FakeWindowSystem system;
    system.socketsStart = false;
    EXPECT_FALSE(CSlideShowApp().InitInstance(system));
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{{"Windows sockets initialization failed.", "vistello",
                                      MsgButtons::Ok, MsgIcon::Exclamation}}));
    EXPECT_TRUE(system.modalTemplates.empty());
    EXPECT_TRUE(scratch.Dir().Names().empty());
}

}  // namespace
}  // namespace vistello::testing
