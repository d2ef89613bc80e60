#include <algorithm>
#include <filesystem>

#include "support/failing_file_ops.h"
#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class MainWindowCommandsTest : public MainWindowTest {
protected:
    std::string Here(const std::string& name) const { return (fs::current_path() / name).string(); }
    bool Holds(const std::string& file, const std::string& text) {
        return ReadBytes(file).find(text) != std::string::npos;
    }
};

// Both files are made empty at the first start and written in full at every exit. Quit and
// Enter take the typed text in first; Escape and the close box do not.
TEST_F(MainWindowCommandsTest, FirstRunCreatesBothFilesAndEveryExitWritesThem) {
    EXPECT_EQ(ReadBytes("vistello.ini") + ReadBytes("vistello.dat"), "");
    window.Press(IDCANCEL);
    window.Destroy();
    EXPECT_EQ(
        ReadBytes("vistello.ini"),
        "CREATOR=Vistello 1.0\r\nIMAGEPATH=\r\nIMAGETITLE=\r\nHEIGHT=\r\nWIDTH=\r\nBORDER=\r\n"
        "ALT=\r\nKEYWORDS=\r\nTOOLTIPS=yes\r\nDESCRIPTION=\r\nFILE=vistello.dat\r\n\r\n");
    const struct {
        int command;
        const char *typed, *saved;
    } exits[] = {
        {IDCANCEL, "typed", ""}, {IDOK, "typed", "typed"}, {ids::kMenuQuit, "quit", "quit"}};
    for (const auto& exit : exits) {
        CMainDialog again;
        FakeWindow restarted(system, again);
        restarted.Type(ids::kOutputFolder, exit.typed);
        restarted.Press(exit.command);
        restarted.Destroy();
        const std::string header = "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=";
        EXPECT_EQ(ReadBytes("vistello.dat"), header + exit.saved + "\r\n") << exit.command;
    }
    EXPECT_TRUE(system.boxes.empty());
}

// The preferences are read first: their FILE decides what fills the window.
TEST_F(MainWindowCommandsTest, StartsWithTheProjectThePreferencesName) {
    fs::create_directory("p");
    WriteBytes("vistello.ini", "TOOLTIPS=Yes\r\nFILE=p/garden.dat\r\nALT=[alt]");
    WriteBytes("p/garden.dat",
               "TEMPLATE=t.htm\r\nOUTPUT=web\r\nIMAGE=mill.jpg\r\nTITLE=Old mill\r\n\r\n"
               "IMAGE=harbour.jpg\r\nTITLE=Harbour at dawn\r\nDESCRIPTION=a=b");
    CMainDialog again;
    FakeWindow restarted(system, again);
    EXPECT_EQ(restarted.Text(ids::kTitle), "Harbour at dawn");
    EXPECT_EQ(restarted.Text(ids::kDescription), "a=b");
    EXPECT_EQ(restarted.Caption(), "Vistello: p/garden.dat");
    EXPECT_FALSE(system.toolTips);
    EXPECT_EQ(again.m_tags.alt, "[alt]");
}

// Each step of either write failing in turn: one box, the other file is still written, the
// file that was there stays whole and no temporary is left.
TEST_F(MainWindowCommandsTest, AWriteFailingAtAnyStepKeepsTheOldFile) {
    const std::string oldPreferences = "FILE=vistello.dat\r\n";
    const std::string oldProject = "IMAGE=old.jpg\r\nTITLE=Old\r\n";
    for (const char* step : {"open", "write", "fsync", "close", "rename"}) {
        for (int call : {1, 2}) {
            WriteBytes("vistello.ini", oldPreferences);
            WriteBytes("vistello.dat", oldProject);
            FailingFileOps files(step, call, ENOSPC);
            CMainDialog again;
            FakeWindow restarted(system, again);
            again.UseFileOps(files);
            restarted.Type(ids::kOutputFolder, "new");
            system.boxes.clear();
            restarted.Press(IDOK);
            restarted.Destroy();
            EXPECT_EQ(system.boxes, (std::vector<ShownBox>{{"Save to File", "Error Writing File"}}))
                << step << call;
            EXPECT_EQ(ReadBytes("vistello.ini") == oldPreferences, call == 1) << step;
            EXPECT_EQ(ReadBytes("vistello.dat") == oldProject, call == 2) << step;
            EXPECT_EQ(scratch.Names(), (std::set<std::string>{"vistello.dat", "vistello.ini"}))
                << step;
        }
    }
}

// OK applies the edits; Escape keeps what the dialog opened with, the tags with their defaults
// filled in. Either way the file is written. The tips switch as the box is clicked, in every
// window, and Escape puts them back.
TEST_F(MainWindowCommandsTest, PreferencesApplyOnOkKeepDefaultsOnEscapeAndAreSavedEitherWay) {
    EXPECT_TRUE(system.toolTips);
    system.dialogScripts.push_back([this](FakeWindow& preferences) {
        EXPECT_EQ(preferences.Text(ids::kTitle), "<<IMAGETITLE>>");
        preferences.Type(ids::kAlt, "");
        preferences.Type(ids::kTitle, "{title}");
        preferences.SetCheck(ids::kPrefToolTips, false);
        preferences.Press(ids::kPrefToolTips);
        EXPECT_FALSE(system.toolTips);
        preferences.Press(IDOK);
    });
    window.Press(ids::kPreferences);
    EXPECT_EQ(dialog.m_tags.imageTitle, "{title}");
    EXPECT_FALSE(system.toolTips);
    EXPECT_TRUE(Holds("vistello.ini", "ALT=\r\nKEYWORDS=<<KEYWORDS>>\r\nTOOLTIPS=no\r\n"));

    system.dialogScripts.push_back([this](FakeWindow& preferences) {
        preferences.Type(ids::kTitle, "discarded");
        preferences.SetCheck(ids::kPrefToolTips, true);
        preferences.Press(ids::kPrefToolTips);
        EXPECT_TRUE(system.toolTips);
        preferences.Press(IDCANCEL);
    });
    window.Press(ids::kMenuPreferences);
    EXPECT_FALSE(system.toolTips);
    EXPECT_TRUE(Holds("vistello.ini", "IMAGETITLE={title}\r\n"));
    EXPECT_TRUE(Holds("vistello.ini", "ALT=<<ALT>>\r\n"));
}

// A No or a cancelled picker changes nothing, and neither does a Save As that cannot write.
TEST_F(MainWindowCommandsTest, ProjectCommandsChangeNothingUntilAFileIsChosenAndWritten) {
    const fs::path start = fs::current_path();
    AddEntry("Mine");
    system.answers = {MsgAnswer::No};
    window.Press(ids::kNewProject);
    system.answers = {MsgAnswer::Yes};
    window.Press(ids::kNewProject);
    window.Press(ids::kMenuSaveAs);
    window.Press(ids::kMenuOpen);
    system.pickerAnswers = {Here("missing/copy.dat")};
    window.Press(ids::kMenuSaveAs);
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_EQ(Titles(), Strings{"Mine"});
    EXPECT_EQ(window.Caption(), "Vistello: vistello.dat");
    EXPECT_EQ(system.boxes.back(), (ShownBox{"Save to File", "Error Writing File"}));
    window.Press(ids::kMenuSave);
    EXPECT_TRUE(Holds("vistello.dat", "TITLE=Mine\r\n"));
}

// Save As writes the list under the new name; Open first saves the list in hand under its
// current one; New empties the list once a file is chosen.
TEST_F(MainWindowCommandsTest, ProjectCommandsSwitchFilesOnceOneIsChosen) {
    WriteBytes("other.dat", "TEMPLATE=t.htm\nIMAGE=x.jpg\nTITLE=X\n");
    AddEntry("Mine");
    system.pickerAnswers = {Here("copy.dat")};
    window.Press(ids::kMenuSaveAs);
    EXPECT_EQ(window.Caption(), "Vistello: " + Here("copy.dat"));
    EXPECT_TRUE(Holds("copy.dat", "TITLE=Mine\r\n"));

    AddEntry("Later");
    system.pickerAnswers = {Here("other.dat")};
    window.Press(ids::kMenuOpen);
    EXPECT_TRUE(Holds("copy.dat", "TITLE=Later\r\n"));
    EXPECT_EQ(Titles(), Strings{"X"});
    EXPECT_EQ(window.Text(ids::kTemplate), "t.htm");

    system.answers = {MsgAnswer::Yes};
    system.pickerAnswers = {Here("new.dat")};
    window.Press(ids::kNewProject);
    EXPECT_TRUE(Titles().empty());
    EXPECT_EQ(window.Caption(), "Framewright Vistello: " + Here("new.dat"));
    EXPECT_EQ(ReadBytes("new.dat"), "CREATOR=Vistello 1.0\r\nTEMPLATE=t.htm\r\nOUTPUT=\r\n");
}

// Two windows on one project, closed one after the other: the second keeps the first one's
// list beside its own and says where; after that its writes replace the file as before.
TEST_F(MainWindowCommandsTest, AProjectChangedElsewhereIsKeptBesideIt) {
    AddEntry("Mine");
    {
        CMainDialog other;
        FakeWindow second(system, other);
        second.Type(ids::kTitle, "Theirs");
        second.Type(ids::kImagePath, "t.jpg");
        second.Press(ids::kAdd);
    }
    system.boxes.clear();
    window.Press(ids::kMenuSave);
    const std::string aside = "vistello (changed elsewhere).dat";
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{{"The project file was changed by another program since "
                                      "Vistello read it.\r\nThat version is kept as " +
                                          aside,
                                      "Project Changed Elsewhere"}}));
    EXPECT_TRUE(Holds(aside, "TITLE=Theirs\r\n"));
    EXPECT_TRUE(Holds("vistello.dat", "TITLE=Mine\r\n"));
    EXPECT_FALSE(Holds("vistello.dat", "TITLE=Theirs\r\n"));
    WriteBytes("vistello.dat", "IMAGE=x.jpg\r\nTITLE=Edited\r\n");
    window.Destroy();
    EXPECT_TRUE(Holds("vistello (changed elsewhere 2).dat", "TITLE=Edited\r\n"));
    EXPECT_EQ(system.boxes.size(), 2u);
}

TEST_F(MainWindowCommandsTest, ImportDirectoryAddsNewImagesInNaturalOrderAtTheTop) {
    fs::create_directories("album/sub.jpg");
    for (const char* name : {"img10.JPG", "img2.jpg", "b.png", ".hidden.jpg", "notes.txt", "c.TIFF",
                             "d.jpeg", "e.gif.bak"})
        WriteBytes("album/" + std::string(name), "x");
    AddEntry("Known", Here("album/b.png"));
    system.pickerAnswers = {Here("album")};
    window.Press(ids::kMenuImportDirectory);
    EXPECT_EQ(Titles(), (Strings{"c", "d", "img2", "img10", "Known"}));
    EXPECT_EQ(Column(7)[3], Here("album/img10.JPG"));
    EXPECT_EQ(window.Text(ids::kEntryCount), "5");
    const ShownBox report{"4 images added.\r\n1 image already in the list skipped.",
                          "Import Directory"};
    EXPECT_EQ(system.boxes, std::vector<ShownBox>{report});
}

// An image is needed, then a title; only an exact duplicate title asks, and No adds nothing.
// A cell wider than a column width can say is kept whole and shown at the widest.
TEST_F(MainWindowCommandsTest, AddChecksTheFieldsAndPutsTheNewestOnTopUnchanged) {
    AddEntry("T", "");
    AddEntry("", "a.jpg");
    for (const char* title : {"Trip", "trip", "Trip "}) AddEntry(title);
    system.answers = {MsgAnswer::No, MsgAnswer::Yes};
    AddEntry("Trip");
    window.Type(ids::kDescription, std::string(70000, 'd'));
    AddEntry("Trip", "/home/me/sun set.jpg");
    const ShownBox question{
        "This entry is already in the list.\r\nIf you add more than one entry with the same\r\n"
        "title, then only one will appear in the slideshow.\r\nDo you really want to add this "
        "item?",
        "vistello", MsgButtons::YesNo, MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{{"Image Location is required.\r\nNo entry added.", "Error"},
                                     {"Image Title is Required.\r\nNo entry added.", "Error"},
                                     question,
                                     question}));
    EXPECT_EQ(Titles(), (Strings{"Trip", "Trip ", "trip", "Trip"}));
    EXPECT_EQ(
        dialog.m_listEntries.Row(0),
        (ImageEntry{"Trip", "", "", "", "", "", std::string(70000, 'd'), "/home/me/sun set.jpg"}));
    EXPECT_EQ(List().ColumnWidth(6), 32767);
    EXPECT_EQ(window.Text(ids::kEntryCount), "4");
}

// Update needs an image and a selected row, and asks nothing. After Remove no row is selected,
// so a second Remove takes nothing.
TEST_F(MainWindowCommandsTest, UpdateAndRemoveActOnTheSelectedRowOnly) {
    for (const char* title : {"c", "b", "a"}) AddEntry(title);
    window.Press(ids::kUpdate);
    window.ClickRow(ids::kEntryList, 1);
    window.Type(ids::kImagePath, "");
    window.Press(ids::kUpdate);
    window.Type(ids::kImagePath, "new.jpg");
    window.Type(ids::kTitle, "a");
    window.Press(ids::kUpdate);
    EXPECT_EQ(Titles(), (Strings{"a", "a", "c"}));
    EXPECT_EQ(Column(7), (Strings{"pics/a.jpg", "new.jpg", "pics/a.jpg"}));
    EXPECT_TRUE(system.boxes.empty());
    window.Press(ids::kRemove);
    window.Press(ids::kRemove);
    EXPECT_EQ(Column(7), (Strings{"pics/a.jpg", "pics/a.jpg"}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "2");
}

// Bytes decide, with no case folding and no reading of numbers; rows of one title keep their
// order, over more rows than a sort keeps by chance; a column already ascending is reversed
// instead. The position stays selected, and the fields show the row chosen, not the typed text.
TEST_F(MainWindowCommandsTest, HeaderClickSortsStablyByBytesOrReversesWhenAlreadyAscending) {
    const Strings titles{"b", "a", "Z", "a", "\xc3\xa9"};
    system.answers.assign(40, MsgAnswer::Yes);
    for (int row = 39; row >= 0; --row) AddEntry(titles[row % 5], "x.jpg", std::to_string(row));
    window.ClickRow(ids::kEntryList, 0);
    window.Type(ids::kTitle, "typed");
    window.ClickHeader(ids::kEntryList, 0);
    const Strings sorted = Titles();
    const Strings heights = Column(1);
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
    EXPECT_EQ(sorted.front() + sorted.back(), "Z\xc3\xa9");
    for (size_t row = 1; row < sorted.size(); ++row) {
        if (sorted[row] == sorted[row - 1]) {
            EXPECT_LT(std::stoi(heights[row - 1]), std::stoi(heights[row])) << row;
        }
    }
    EXPECT_EQ(List().SelectionMark(), 0);
    EXPECT_EQ(window.Text(ids::kTitle), "b");
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Titles(), Strings(sorted.rbegin(), sorted.rend()));
    window.ClickHeader(ids::kEntryList, 1);
    const Strings byHeight = Column(1);
    EXPECT_EQ(Strings(byHeight.begin(), byHeight.begin() + 4), (Strings{"0", "1", "10", "11"}));
}

}  // namespace
}  // namespace vistello::testing
