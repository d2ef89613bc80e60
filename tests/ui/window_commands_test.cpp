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

}  // namespace
}  // namespace vistello::testing
