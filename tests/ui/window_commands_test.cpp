#include <filesystem>

#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class WindowCommandsTest : public MainWindowTest {
protected:
    std::string Here(const std::string& name) const { return (fs::current_path() / name).string(); }
    bool Holds(const std::string& file, const std::string& text) {
        return ReadBytes(file).find(text) != std::string::npos;
    }
};

// OK applies the edits; Escape keeps what the dialog opened with, the tags with their defaults
// filled in. Either way the file is written.
TEST_F(WindowCommandsTest, PreferencesApplyOnOkKeepDefaultsOnEscapeAndAreSavedEitherWay) {
    system.dialogScripts.push_back([](FakeWindow& preferences) {
        EXPECT_EQ(preferences.Text(ids::kTitle), "<<IMAGETITLE>>");
        preferences.Type(ids::kAlt, "");
        preferences.Type(ids::kTitle, "{title}");
        preferences.SetCheck(ids::kPrefToolTips, false);
        preferences.Press(IDOK);
    });
    window.Press(ids::kPreferences);
    EXPECT_EQ(dialog.m_tags.imageTitle, "{title}");
    EXPECT_FALSE(window.ToolTipsOn());
    EXPECT_TRUE(Holds("vistello.ini", "ALT=\r\nKEYWORDS=<<KEYWORDS>>\r\nTOOLTIPS=no\r\n"));

    system.dialogScripts.push_back([](FakeWindow& preferences) {
        preferences.Type(ids::kTitle, "discarded");
        preferences.Press(IDCANCEL);
    });
    window.Press(ids::kMenuPreferences);
    EXPECT_TRUE(Holds("vistello.ini", "IMAGETITLE={title}\r\n"));
    EXPECT_TRUE(Holds("vistello.ini", "ALT=<<ALT>>\r\n"));
}

// A No or a cancelled picker changes nothing. Save As writes the list under the new name; Open
// first saves the list in hand under its current one; New empties the list once a file is chosen.
TEST_F(WindowCommandsTest, ProjectCommandsSwitchFilesOnlyWhenOneIsChosen) {
    const fs::path start = fs::current_path();
    WriteBytes("other.dat", "TEMPLATE=t.htm\nIMAGE=x.jpg\nTITLE=X\n");
    AddEntry("Mine");
    system.answers = {MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::Yes};
    system.pickerAnswers = {std::nullopt,     std::nullopt,      std::nullopt,
                            Here("copy.dat"), Here("other.dat"), Here("new.dat")};
    for (int command : {ids::kNewProject, ids::kNewProject, ids::kMenuSaveAs, ids::kMenuOpen})
        window.Press(command);
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_EQ(Titles(), Strings{"Mine"});
    EXPECT_EQ(window.Caption(), "Vistello: vistello.dat");
    EXPECT_FALSE(fs::exists("copy.dat"));

    window.Press(ids::kMenuSaveAs);
    EXPECT_EQ(window.Caption(), "Vistello: " + Here("copy.dat"));
    EXPECT_TRUE(Holds("copy.dat", "TITLE=Mine\r\n"));
    AddEntry("Later");
    window.Press(ids::kMenuOpen);
    EXPECT_TRUE(Holds("copy.dat", "TITLE=Later\r\n"));
    EXPECT_EQ(Titles(), Strings{"X"});
    EXPECT_EQ(window.Text(ids::kTemplate), "t.htm");
    window.Press(ids::kNewProject);
    EXPECT_TRUE(Titles().empty());
    EXPECT_EQ(window.Caption(), "Framewright Vistello: " + Here("new.dat"));
    EXPECT_EQ(ReadBytes("new.dat"), "CREATOR=Vistello 1.0\r\nTEMPLATE=t.htm\r\nOUTPUT=\r\n");
}

TEST_F(WindowCommandsTest, ImportDirectoryAddsNewImagesInNaturalOrderAtTheTop) {
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
TEST_F(WindowCommandsTest, AddChecksTheFieldsAndPutsTheNewestOnTopUnchanged) {
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
TEST_F(WindowCommandsTest, UpdateAndRemoveActOnTheSelectedRowOnly) {
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

// Bytes decide, with no case folding and no reading of numbers; equal rows keep their order;
// a column already ascending, even one all empty, is reversed instead. The position stays
// selected, and the fields show that row, not the typed text.
TEST_F(WindowCommandsTest, HeaderClickSortsStablyByBytesOrReversesWhenAlreadyAscending) {
    const Strings titles{"b", "a", "Z", "a", "\xc3\xa9"};
    const Strings heights{"9", "10", "100", "2", "3"};
    system.answers = {MsgAnswer::Yes};
    for (int row = 4; row >= 0; --row) AddEntry(titles[row], "x.jpg", heights[row]);
    window.ClickRow(ids::kEntryList, 0);
    window.Type(ids::kTitle, "typed");
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Titles(), (Strings{"Z", "a", "a", "b", "\xc3\xa9"}));
    EXPECT_EQ(Column(1), (Strings{"100", "10", "2", "9", "3"}));
    EXPECT_EQ(List().SelectionMark(), 0);
    EXPECT_EQ(window.Text(ids::kTitle), "b");
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Column(1), (Strings{"3", "9", "2", "10", "100"}));
    window.ClickHeader(ids::kEntryList, 1);
    EXPECT_EQ(Column(1), (Strings{"10", "100", "2", "3", "9"}));
    window.ClickHeader(ids::kEntryList, 3);
    EXPECT_EQ(Column(1), (Strings{"9", "3", "2", "100", "10"}));
}

}  // namespace
}  // namespace vistello::testing
