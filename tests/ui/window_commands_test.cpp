#include <filesystem>
#include <string>
#include <vector>

#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class WindowCommandsTest : public MainWindowTest {
protected:
    std::string Here(const std::string& name) const { return (fs::current_path() / name).string(); }
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
    const FilePickerOptions& image = system.pickers[0].options;
    EXPECT_EQ(system.pickers[0].kind, PickerKind::Open);
    EXPECT_EQ(image.folder, "pics");
    EXPECT_EQ(image.filters.front(), (FileFilter{"JPG Files", {"*.jpg", "*.jpeg"}}));
    EXPECT_EQ(image.filters.size(), 6u);
    EXPECT_EQ(system.pickers[1].options.filters.front(), (FileFilter{"HTML Files", {"*.htm"}}));
    EXPECT_EQ(system.pickers[2].kind, PickerKind::Folder);
    EXPECT_EQ(system.pickers[2].options.title, "Browse for Folders");
}

TEST_F(WindowCommandsTest, PreferencesOkAppliesTheTagsAndToolTipsAndSavesThem) {
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
    EXPECT_EQ(dialog.m_tags.alt, "");
    EXPECT_EQ(dialog.m_tags.height, "<<HEIGHT>>");
    EXPECT_FALSE(window.Host().ToolTipsOn());
    EXPECT_EQ(window.Text(ids::kTitle), "");
    const std::string saved = ReadBytes("vistello.ini");
    EXPECT_NE(saved.find("IMAGETITLE={title}\r\n"), std::string::npos);
    EXPECT_NE(saved.find("ALT=\r\nKEYWORDS=<<KEYWORDS>>\r\nTOOLTIPS=no\r\n"), std::string::npos);
}

// Escape and the close box discard the edits, yet the defaults and the file are kept.
TEST_F(WindowCommandsTest, PreferencesClosedWithoutOkStillFillsDefaultsAndSaves) {
    dialog.m_strToolTips = "No";
    system.dialogScripts.push_back([](FakeWindow& preferences) {
        preferences.Type(ids::kAlt, "discarded");
        preferences.Press(IDCANCEL);
    });
    window.Type(ids::kTitle, "typed");
    window.Press(ids::kMenuPreferences);
    EXPECT_EQ(dialog.m_tags.alt, "<<ALT>>");
    EXPECT_EQ(dialog.m_strToolTips, "no");
    EXPECT_EQ(window.Text(ids::kTitle), "typed");
    EXPECT_NE(ReadBytes("vistello.ini").find("ALT=<<ALT>>\r\n"), std::string::npos);
}

TEST_F(WindowCommandsTest, OpenSavesTheCurrentProjectThenReadsTheChosenOne) {
    WriteBytes("other.dat", "TEMPLATE=t.htm\nIMAGE=x.jpg\nTITLE=X\n");
    AddEntry("Mine");
    system.pickerAnswers = {std::nullopt, Here("other.dat")};
    window.Press(ids::kMenuOpen);
    EXPECT_EQ(Titles(), Strings{"Mine"});
    window.Type(ids::kTitle, "Typed");
    window.Press(ids::kMenuOpen);
    EXPECT_NE(ReadBytes("vistello.dat").find("TITLE=Mine\r\n"), std::string::npos);
    EXPECT_EQ(Titles(), Strings{"X"});
    EXPECT_EQ(window.Text(ids::kTemplate), "t.htm");
    EXPECT_EQ(window.Host().Caption(), "Vistello: " + Here("other.dat"));
    EXPECT_EQ(dialog.m_strProjectFile, Here("other.dat"));
}

TEST_F(WindowCommandsTest, SaveAsWritesTheListUnderTheNewNameAndKeepsIt) {
    AddEntry("Mine");
    system.pickerAnswers = {std::nullopt, Here("copy.dat")};
    window.Press(ids::kMenuSaveAs);
    EXPECT_FALSE(fs::exists("copy.dat"));
    window.Press(ids::kMenuSaveAs);
    EXPECT_EQ(system.pickers[1].kind, PickerKind::Save);
    EXPECT_NE(ReadBytes("copy.dat").find("TITLE=Mine\r\n"), std::string::npos);
    EXPECT_EQ(window.Host().Caption(), "Vistello: " + Here("copy.dat"));
    EXPECT_EQ(Titles(), Strings{"Mine"});
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
    ASSERT_EQ(system.boxes.size(), 1u);
    EXPECT_EQ(system.boxes[0].text, "4 images added.\r\n1 image already in the list skipped.");
}

// Every menu item reaches a handler that leaves a trace.
TEST_F(WindowCommandsTest, EveryMenuItemDoesSomething) {
    window.Type(ids::kImagePath, "a.jpg");
    window.Type(ids::kTitle, "A");
    window.Press(ids::kMenuEntryAdd);
    window.ClickRow(ids::kEntryList, 0);
    window.Type(ids::kTitle, "B");
    window.Press(ids::kMenuEntryUpdate);
    EXPECT_EQ(Titles(), Strings{"B"});
    window.Press(ids::kSaveProject);
    EXPECT_NE(ReadBytes("vistello.dat").find("TITLE=B\r\n"), std::string::npos);
    window.Press(ids::kMenuEntryRemove);
    EXPECT_TRUE(Titles().empty());

    for (int id : {ids::kMenuManual, ids::kMenuSupport, ids::kMenuMoreInfo}) window.Press(id);
    const std::string manual = "file:///usr/share/doc/vistello/manual.html";
    EXPECT_EQ(system.opened, (Strings{manual, manual, manual + "#about"}));
    window.Press(ids::kMenuUninstall);
    ASSERT_EQ(system.boxes.size(), 1u);
    EXPECT_EQ(system.boxes[0].caption, "Uninstall Vistello");
    window.Press(ids::kMenuAbout);
    EXPECT_EQ(system.modalTemplates, (std::vector<int>{ids::kAboutDialog}));
}

}  // namespace
}  // namespace vistello::testing
