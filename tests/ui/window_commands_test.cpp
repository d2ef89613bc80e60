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

// The file pickers take nothing in: every field shows its member afterwards. The folder picker
// takes the fields in first, so typed text survives it.
TEST_F(WindowCommandsTest, BrowseButtonsFillTheirFieldsAndLeaveTheDirectoryAlone) {
    const fs::path start = fs::current_path();
    fs::create_directory("pics");
    system.pickerAnswers = {Here("pics/IMG_1.JPG"), std::nullopt, Here("web")};
    window.Type(ids::kImagePath, "pics/old.jpg");
    window.Press(ids::kBrowseImage);
    EXPECT_EQ(window.Text(ids::kImagePath), Here("pics/IMG_1.JPG"));
    window.Type(ids::kTemplate, "typed.htm");
    window.Press(ids::kBrowseTemplate);
    EXPECT_EQ(window.Text(ids::kTemplate), "template.htm");
    window.Type(ids::kTitle, "typed");
    window.Press(ids::kBrowseOutputFolder);
    EXPECT_EQ(window.Text(ids::kOutputFolder), Here("web"));
    EXPECT_EQ(window.Text(ids::kTitle), "typed");
    EXPECT_EQ(fs::current_path(), start);

    ASSERT_EQ(system.pickers.size(), 3u);
    EXPECT_EQ(system.pickers[0].options.folder, "pics");
    EXPECT_EQ(system.pickers[0].options.filters.front(),
              (FileFilter{"JPG Files", {"*.jpg", "*.jpeg"}}));
    EXPECT_EQ(system.pickers[1].options.filters.front(), (FileFilter{"HTML Files", {"*.htm"}}));
    EXPECT_EQ(system.pickers[2].kind, PickerKind::Folder);
}

// OK applies the edits; Escape keeps what the dialog opened with, the tags with their defaults
// filled in. Either way the file is written; only the menu keeps typed text.
TEST_F(WindowCommandsTest, PreferencesApplyOnOkKeepDefaultsOnEscapeAndAreSavedEitherWay) {
    system.dialogScripts.push_back([](FakeWindow& preferences) {
        EXPECT_EQ(preferences.Text(ids::kTitle), "<<IMAGETITLE>>");
        EXPECT_TRUE(preferences.Host().GetCheck(ids::kPrefToolTips));
        preferences.Type(ids::kAlt, "");
        preferences.Type(ids::kTitle, "{title}");
        preferences.Host().SetCheck(ids::kPrefToolTips, false);
        preferences.Press(IDOK);
    });
    window.Type(ids::kTitle, "typed");
    window.Press(ids::kPreferences);
    EXPECT_EQ(system.modalTemplates, (std::vector<int>{ids::kPreferencesDialog}));
    EXPECT_EQ(dialog.m_tags.imageTitle, "{title}");
    EXPECT_FALSE(window.Host().ToolTipsOn());
    EXPECT_EQ(window.Text(ids::kTitle), "");
    EXPECT_TRUE(Holds("vistello.ini", "ALT=\r\nKEYWORDS=<<KEYWORDS>>\r\nTOOLTIPS=no\r\n"));

    dialog.m_strToolTips = "Yes";
    system.dialogScripts.push_back([](FakeWindow& preferences) {
        preferences.Type(ids::kAlt, "discarded");
        preferences.Press(IDCANCEL);
    });
    window.Type(ids::kTitle, "typed");
    window.Press(ids::kMenuPreferences);
    EXPECT_EQ(dialog.m_strToolTips, "no");
    EXPECT_EQ(window.Text(ids::kTitle), "typed");
    EXPECT_TRUE(Holds("vistello.ini", "IMAGETITLE={title}\r\n"));
    EXPECT_TRUE(Holds("vistello.ini", "ALT=<<ALT>>\r\n"));
}

// A cancelled picker changes nothing. Save As writes the list under the new name; Open first
// saves the list in hand under its current one.
TEST_F(WindowCommandsTest, SaveAsAndOpenSwitchFilesOnlyWhenOneIsChosen) {
    const fs::path start = fs::current_path();
    WriteBytes("other.dat", "TEMPLATE=t.htm\nIMAGE=x.jpg\nTITLE=X\n");
    AddEntry("Mine");
    system.pickerAnswers = {std::nullopt, std::nullopt, Here("copy.dat"), Here("other.dat")};
    window.Press(ids::kMenuSaveAs);
    window.Press(ids::kMenuOpen);
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_FALSE(fs::exists("copy.dat"));
    EXPECT_EQ(Titles(), Strings{"Mine"});

    window.Press(ids::kMenuSaveAs);
    EXPECT_EQ(system.pickers[2].kind, PickerKind::Save);
    EXPECT_EQ(window.Host().Caption(), "Vistello: " + Here("copy.dat"));
    EXPECT_TRUE(Holds("copy.dat", "TITLE=Mine\r\n"));
    AddEntry("Later");
    window.Press(ids::kMenuOpen);
    EXPECT_TRUE(Holds("copy.dat", "TITLE=Later\r\n"));
    EXPECT_EQ(Titles(), Strings{"X"});
    EXPECT_EQ(window.Text(ids::kTemplate), "t.htm");
    EXPECT_EQ(window.Host().Caption(), "Vistello: " + Here("other.dat"));
}

TEST_F(WindowCommandsTest, ImportDirectoryAddsNewImagesInNaturalOrderAtTheTop) {
    fs::create_directories("album/sub.jpg");
    for (const char* name : {"img10.JPG", "img2.jpg", "b.png", ".hidden.jpg", "notes.txt", "c.TIFF",
                             "d.jpeg", "e.gif.bak"}) {
        WriteBytes("album/" + std::string(name), "x");
    }
    AddEntry("Known", Here("album/b.png"));
    system.pickerAnswers = {std::nullopt, Here("album")};
    window.Press(ids::kMenuImportDirectory);
    EXPECT_TRUE(system.boxes.empty());
    window.Press(ids::kMenuImportDirectory);
    EXPECT_EQ(Titles(), (Strings{"c", "d", "img2", "img10", "Known"}));
    EXPECT_EQ(Column(7)[3], Here("album/img10.JPG"));
    EXPECT_EQ(window.Text(ids::kEntryCount), "5");
    const ShownBox report{"4 images added.\r\n1 image already in the list skipped.",
                          "Import Directory"};
    EXPECT_EQ(system.boxes, std::vector<ShownBox>{report});
}

// Every menu item reaches a handler that leaves a trace.
TEST_F(WindowCommandsTest, EveryMenuItemDoesSomething) {
    window.Type(ids::kImagePath, "a.jpg");
    window.Type(ids::kTitle, "A");
    window.Press(ids::kMenuEntryAdd);
    window.Press(ids::kSaveProject);
    EXPECT_TRUE(Holds("vistello.dat", "TITLE=A\r\n"));
    window.ClickRow(ids::kEntryList, 0);
    window.Type(ids::kTitle, "B");
    window.Press(ids::kMenuEntryUpdate);
    window.Press(ids::kMenuSave);
    EXPECT_TRUE(Holds("vistello.dat", "TITLE=B\r\n"));
    window.Press(ids::kMenuEntryRemove);
    EXPECT_TRUE(Titles().empty());

    for (int id : {ids::kMenuManual, ids::kMenuSupport, ids::kMenuMoreInfo}) window.Press(id);
    const std::string manual = "file:///usr/share/doc/vistello/manual.html";
    EXPECT_EQ(system.opened, (Strings{manual, manual, manual + "#about"}));
    window.Press(ids::kMenuUninstall);
    EXPECT_EQ(system.boxes.at(0).caption, "Uninstall Vistello");
    window.Press(ids::kMenuAbout);
    EXPECT_EQ(system.modalTemplates, (std::vector<int>{ids::kAboutDialog}));
}

}  // namespace
}  // namespace vistello::testing
