#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/slide_show_app.h"
#include "support/failing_file_ops.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello {
namespace {

namespace fs = std::filesystem;
using testing::FakeWindow;
using testing::ReadBytes;
using testing::ShownBox;
using testing::WriteBytes;

constexpr const char* kEmptyPreferences =
    "CREATOR=Vistello 1.0\r\nIMAGEPATH=\r\nIMAGETITLE=\r\nHEIGHT=\r\nWIDTH=\r\nBORDER=\r\n"
    "ALT=\r\nKEYWORDS=\r\nTOOLTIPS=yes\r\nDESCRIPTION=\r\nFILE=vistello.dat\r\n\r\n";
const ShownBox kWriteFailure{"Save to File", "Error Writing File", MsgButtons::Ok, MsgIcon::None};

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

    std::vector<std::string> Titles() {
        std::vector<std::string> titles;
        for (int row = 0; row < dialog->m_listEntries.RowCount(); ++row) {
            titles.push_back(dialog->m_listEntries.Row(row).title);
        }
        return titles;
    }

    testing::ScratchDir scratch;
    testing::FakeWindowSystem system;
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
    EXPECT_EQ(ReadBytes("vistello.ini"), kEmptyPreferences);
    EXPECT_EQ(ReadBytes("vistello.dat"),
              "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=\r\n");
    EXPECT_TRUE(system.boxes.empty());
}

// The preferences name the project, so it is their FILE that decides what fills the window.
TEST_F(ProjectLifecycleTest, StartsWithTheProjectThePreferencesName) {
    fs::create_directory("p");
    WriteBytes("vistello.ini", "TOOLTIPS=Yes\r\nFILE=p/garden.dat\r\nALT=[alt]");
    WriteBytes("p/garden.dat",
               "TEMPLATE=t.htm\r\nOUTPUT=web\r\nIMAGE=mill.jpg\r\nTITLE=Old mill\r\n\r\n"
               "IMAGE=harbour.jpg\r\nTITLE=Harbour at dawn\r\nDESCRIPTION=a=b");
    Start();
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Harbour at dawn", "Old mill"}));
    EXPECT_EQ(window->Text(ids::kTitle), "Harbour at dawn");
    EXPECT_EQ(window->Text(ids::kDescription), "a=b");
    EXPECT_EQ(window->Text(ids::kOutputFolder), "web");
    EXPECT_EQ(window->Text(ids::kEntryCount), "2");
    EXPECT_EQ(window->Host().Caption(), "Vistello: p/garden.dat");
    EXPECT_FALSE(window->Host().ToolTipsOn());
    EXPECT_EQ(dialog->m_tags.alt, "[alt]");
    EXPECT_EQ(dialog->m_strTemplate, "t.htm");
}

TEST_F(ProjectLifecycleTest, RowsValuesAndOrderSurviveARestart) {
    Start();
    AddEntry("Old mill", "mill.jpg");
    window->Type(ids::kDescription, "<a href=\"x\">E=mc2</a>");
    AddEntry("Harbour", "harbour.jpg");
    window->ClickHeader(ids::kEntryList, 0);
    const std::vector<std::string> shown = Titles();
    Close();
    Start();
    EXPECT_EQ(Titles(), shown);
    EXPECT_EQ(dialog->m_listEntries.Row(1).description, "<a href=\"x\">E=mc2</a>");
}

// Quit and Enter take the typed text in first; Escape and the close box do not.
TEST_F(ProjectLifecycleTest, TypedTextIsSavedOnlyByTheEndingsThatTakeItIn) {
    struct Case {
        int command;
        std::string saved;
    };
    for (const Case& c :
         {Case{IDOK, "typed"}, Case{ids::kMenuQuit, "typed"}, Case{IDCANCEL, "old"}}) {
        WriteBytes("vistello.dat", "OUTPUT=old\n");
        Start();
        window->Type(ids::kOutputFolder, "typed");
        Close(c.command);
        EXPECT_NE(ReadBytes("vistello.dat").find("OUTPUT=" + c.saved + "\r\n"), std::string::npos)
            << c.command;
    }
}

TEST_F(ProjectLifecycleTest, FileSaveWritesAtOnceAndShowsTheTopRow) {
    Start();
    AddEntry("Mill", "mill.jpg");
    AddEntry("Harbour", "harbour.jpg");
    window->ClickRow(ids::kEntryList, 1);
    window->Type(ids::kOutputFolder, "web");
    window->Press(ids::kMenuSave);
    const std::string saved = ReadBytes("vistello.dat");
    EXPECT_NE(saved.find("OUTPUT=web\r\nIMAGE=mill.jpg"), std::string::npos);
    EXPECT_EQ(window->Text(ids::kTitle), "Harbour");
    window->Press(ids::kMenuSave);
    EXPECT_EQ(ReadBytes("vistello.dat"), saved);
}

TEST_F(ProjectLifecycleTest, NewProjectAnsweredNoChangesNothing) {
    Start();
    AddEntry("Mill", "mill.jpg");
    system.answers = {MsgAnswer::No};
    window->Press(ids::kNewProject);
    EXPECT_EQ(Titles(), std::vector<std::string>{"Mill"});
    EXPECT_TRUE(system.pickers.empty());
    EXPECT_EQ(window->Host().Caption(), "Vistello: vistello.dat");
}

TEST_F(ProjectLifecycleTest, NewProjectConfirmedEmptiesTheListAndWritesTheChosenFile) {
    Start();
    window->Type(ids::kOutputFolder, "web");
    AddEntry("Mill", "mill.jpg");
    const fs::path here = fs::current_path();
    const std::string chosen = (here / "new.dat").string();
    system.answers = {MsgAnswer::Yes};
    system.pickerAnswers = {chosen};
    window->Press(ids::kNewProject);
    EXPECT_EQ(fs::current_path(), here);
    ASSERT_EQ(system.pickers.size(), 1u);
    EXPECT_EQ(system.pickers[0].options.defaultExtension, "dat");
    EXPECT_EQ(system.pickers[0].options.filters,
              (std::vector<FileFilter>{{"Vistello DAT Files", {"*.dat"}}, {"All Files", {"*"}}}));
    EXPECT_TRUE(Titles().empty());
    EXPECT_EQ(window->Text(ids::kEntryCount), "0");
    EXPECT_EQ(window->Host().Caption(), "Framewright Vistello: " + chosen);
    EXPECT_EQ(ReadBytes(chosen), "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=web\r\n");
    AddEntry("Harbour", "harbour.jpg");
    Close();
    EXPECT_NE(ReadBytes("vistello.ini").find("FILE=" + chosen + "\r\n"), std::string::npos);
    Start();
    EXPECT_EQ(Titles(), std::vector<std::string>{"Harbour"});
}

// Cancelling the picker must never cost the user the project they had.
TEST_F(ProjectLifecycleTest, NewProjectCancelledInThePickerKeepsTheProject) {
    Start();
    AddEntry("Mill", "mill.jpg");
    const fs::path here = fs::current_path();
    system.answers = {MsgAnswer::Yes};
    window->Press(ids::kNewProject);
    EXPECT_EQ(fs::current_path(), here);
    EXPECT_EQ(system.pickers.size(), 1u);
    EXPECT_EQ(Titles(), std::vector<std::string>{"Mill"});
    Close();
    Start();
    EXPECT_EQ(Titles(), std::vector<std::string>{"Mill"});
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

// Each step of either write failing in turn: one box, and the file that was there stays whole.
TEST_F(ProjectLifecycleTest, AWriteFailingAtAnyStepKeepsTheOldFile) {
    const std::string oldPreferences = "FILE=vistello.dat\r\n";
    const std::string oldProject = "IMAGE=old.jpg\r\nTITLE=Old\r\n";
    for (const char* step : {"open", "write", "fsync", "close", "rename"}) {
        for (int call : {1, 2}) {
            WriteBytes("vistello.ini", oldPreferences);
            WriteBytes("vistello.dat", oldProject);
            testing::FailingFileOps files(step, call, ENOSPC);
            Start();
            dialog->UseFileOps(files);
            AddEntry("New", "new.jpg");
            system.boxes.clear();
            Close();
            EXPECT_EQ(system.boxes, std::vector<ShownBox>{kWriteFailure}) << step << call;
            const bool preferencesFailed = call == 1;
            EXPECT_EQ(ReadBytes("vistello.ini") == oldPreferences, preferencesFailed) << step;
            EXPECT_EQ(ReadBytes("vistello.dat") == oldProject, !preferencesFailed) << step;
            EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2)
                << step;
        }
    }
}

TEST_F(ProjectLifecycleTest, UnwritablePreferencesAreReportedAndTheProjectIsStillWritten) {
    fs::create_directory("vistello.ini");
    Start();
    AddEntry("Mill", "mill.jpg");
    system.boxes.clear();
    Close();
    EXPECT_EQ(system.boxes, std::vector<ShownBox>{kWriteFailure});
    EXPECT_NE(ReadBytes("vistello.dat").find("TITLE=Mill"), std::string::npos);
}

TEST(SlideShowAppTest, WithoutSocketsSaysSoAndTouchesNoFile) {
    testing::ScratchDir scratch;
    testing::FakeWindowSystem system;
    system.socketsStart = false;
    EXPECT_FALSE(CSlideShowApp().InitInstance(system));
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{{"Windows sockets initialization failed.", "vistello",
                                      MsgButtons::Ok, MsgIcon::Exclamation}}));
    EXPECT_TRUE(system.modalTemplates.empty());
    EXPECT_TRUE(fs::is_empty(fs::current_path()));
}

}  // namespace
}  // namespace vistello
