#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/failing_file_ops.h"
#include "support/fake_photo_reader.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// The main window open in memory, in a folder of its own, with the user's actions as helpers.
class MainWindowCommandsTest : public ::testing::Test {
protected:
    void AddEntry(const std::string& title, const std::string& image = "pics/a.jpg",
                  const std::string& height = "") {
        window.SetText(ids::kTitle, title);
        window.SetText(ids::kImagePath, image);
        window.SetText(ids::kHeight, height);
        window.Press(ids::kAdd);
    }
    Strings Column(int column) {
        Strings texts;
        for (int row = 0; row < List().RowCount(); ++row) texts.push_back(List().Cell(row, column));
        return texts;
    }
    Strings Titles() { return Column(0); }
    FakeListView& List() { return *window.List(ids::kEntryList); }
    bool Holds(const std::string& file, const std::string& text) {
        return ReadBytes(file).find(text) != std::string::npos;
    }

    ScratchDir scratch;
    FakeWindowSystem system;
    CMainDialog dialog;
    FakeWindow window{system, dialog};
};

// Both files are made empty at the first start and written in full at every exit. Quit and
// Enter take the typed text in first; Escape and the close box do not.
TEST_F(MainWindowCommandsTest, FirstRunCreatesBothFilesAndEveryExitWritesThem) {
    EXPECT_EQ(ReadBytes("vistello.ini") + ReadBytes("vistello.dat"), "");
    window.Destroy();
    EXPECT_EQ(
        ReadBytes("vistello.ini"),
        "CREATOR=Vistello 1.0\r\nIMAGEPATH=\r\nIMAGETITLE=\r\nHEIGHT=\r\nWIDTH=\r\nBORDER=\r\n"
        "ALT=\r\nKEYWORDS=\r\nTOOLTIPS=yes\r\nDESCRIPTION=\r\nFILE=vistello.dat\r\n\r\n");
    for (const int command : {IDCANCEL, IDOK, ids::kMenuQuit}) {
        CMainDialog again;
        FakeWindow restarted(system, again);
        restarted.SetText(ids::kOutputFolder, std::to_string(command));
        restarted.Press(command);
        restarted.Destroy();
        EXPECT_EQ(ReadBytes("vistello.dat"),
                  "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=" +
                      (command == IDCANCEL ? "" : std::to_string(command)) + "\r\n");
    }
    EXPECT_TRUE(system.boxes.empty());
}

// The preferences are read first: their FILE decides what fills the window. Ctrl-Z ends a file.
TEST_F(MainWindowCommandsTest, StartsWithTheProjectThePreferencesName) {
    fs::create_directory("p");
    WriteBytes("vistello.ini", "TOOLTIPS=Yes\r\nFILE=p/garden.dat\r\nALT=[alt]");
    WriteBytes("p/garden.dat",
               "TEMPLATE=t.htm\r\nOUTPUT=web\r\nIMAGE=mill.jpg\r\nTITLE=Old mill\r\n\r\n"
               "IMAGE=harbour.jpg\r\nTITLE=Harbour at dawn\x1AIMAGE=x.jpg\r\nTITLE=After");
    CMainDialog again;
    FakeWindow restarted(system, again);
    EXPECT_EQ(restarted.GetText(ids::kTitle), "Harbour at dawn");
    EXPECT_EQ(restarted.caption, "Vistello: p/garden.dat");
    EXPECT_FALSE(system.toolTips);
    EXPECT_EQ(again.Inside().tags.alt, "[alt]");
    restarted.Destroy();
    EXPECT_TRUE(Holds("vistello.ini", "TOOLTIPS=Yes\r\n"));
}

// Either write failing shows one box; the other file is written, the failed one left as it was.
TEST_F(MainWindowCommandsTest, AFailingWriteKeepsTheOldFileAndWritesTheOther) {
    const std::string oldPreferences = "FILE=vistello.dat\r\n";
    const std::string oldProject = "IMAGE=old.jpg\r\nTITLE=Old\r\n";
    for (int call : {1, 2}) {
        WriteBytes("vistello.ini", oldPreferences);
        WriteBytes("vistello.dat", oldProject);
        FailingFileOps files("write", call, ENOSPC);
        CMainDialog again;
        FakeWindow restarted(system, again);
        again.UseFileOps(files);
        system.boxes.clear();
        restarted.Destroy();
        EXPECT_EQ(system.boxes, (std::vector<ShownBox>{{"Save to File", "Error Writing File"}}));
        EXPECT_EQ(ReadBytes("vistello.ini") == oldPreferences, call == 1);
        EXPECT_EQ(ReadBytes("vistello.dat") == oldProject, call == 2);
    }
}

// OK applies the edits; Escape keeps what the dialog opened with, the tags with their defaults
// filled in. Either way the file is written. The tips switch as the box is clicked, in every
// window, and Escape puts them back.
TEST_F(MainWindowCommandsTest, PreferencesApplyOnOkKeepDefaultsOnEscapeAndAreSavedEitherWay) {
    EXPECT_TRUE(system.toolTips);
    system.dialogScripts.push_back([this](FakeWindow& preferences) {
        EXPECT_EQ(preferences.GetText(ids::kTitle), "<<IMAGETITLE>>");
        preferences.SetText(ids::kAlt, "");
        preferences.SetText(ids::kTitle, "{title}");
        preferences.SetCheck(ids::kPrefToolTips, false);
        preferences.Press(ids::kPrefToolTips);
        EXPECT_FALSE(system.toolTips);
        preferences.Press(IDOK);
    });
    window.Press(ids::kPreferences);
    EXPECT_EQ(dialog.Inside().tags.imageTitle, "{title}");
    EXPECT_FALSE(system.toolTips);
    EXPECT_TRUE(Holds("vistello.ini", "ALT=\r\nKEYWORDS=<<KEYWORDS>>\r\nTOOLTIPS=no\r\n"));

    system.dialogScripts.push_back([this](FakeWindow& preferences) {
        preferences.SetText(ids::kTitle, "discarded");
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

// A No or a cancelled picker changes nothing, and neither does a Save As that cannot write; once
// a Save As has written the list, later writes go to the new file.
TEST_F(MainWindowCommandsTest, ProjectCommandsChangeNothingUntilAFileIsChosenAndWritten) {
    const fs::path start = fs::current_path();
    AddEntry("Mine");
    system.answers = {MsgAnswer::No, MsgAnswer::Yes};
    window.Press(ids::kNewProject);
    window.Press(ids::kNewProject);
    window.Press(ids::kMenuSaveAs);
    window.Press(ids::kMenuOpen);
    system.pickerAnswers = {scratch / "missing/copy.dat"};
    window.Press(ids::kMenuSaveAs);
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_EQ(Titles(), Strings{"Mine"});
    EXPECT_EQ(window.caption, "Vistello: vistello.dat");
    EXPECT_EQ(system.boxes.back(), (ShownBox{"Save to File", "Error Writing File"}));
    window.Press(ids::kMenuSave);
    EXPECT_TRUE(Holds("vistello.dat", "TITLE=Mine\r\n"));

    system.pickerAnswers = {scratch / "copy.dat"};
    window.Press(ids::kMenuSaveAs);
    AddEntry("Later");
    window.Press(ids::kMenuSave);
    EXPECT_TRUE(Holds("copy.dat", "TITLE=Later\r\n"));
    EXPECT_FALSE(Holds("vistello.dat", "TITLE=Later\r\n"));
}

// A project written by someone else since the window last read or wrote it is kept beside it,
// and the box says where; the window's own writes are no such change.
TEST_F(MainWindowCommandsTest, AProjectChangedElsewhereIsKeptBesideIt) {
    AddEntry("Mine");
    WriteBytes("vistello.dat", "IMAGE=t.jpg\r\nTITLE=Theirs\r\n");
    window.Press(ids::kMenuSave);
    const std::string aside = "vistello (changed elsewhere).dat";
    ASSERT_EQ(system.boxes.size(), 1u);
    EXPECT_EQ(system.boxes.back(), (ShownBox{"The project file was changed by another program "
                                             "since Vistello read it.\r\nThat version is kept as " +
                                                 aside,
                                             "Project Changed Elsewhere"}));
    EXPECT_EQ(ReadBytes(aside), "IMAGE=t.jpg\r\nTITLE=Theirs\r\n");
    EXPECT_TRUE(Holds("vistello.dat", "TITLE=Mine\r\n"));
    window.Press(ids::kMenuSave);
    WriteBytes("vistello.dat", "edited");
    window.Destroy();
    EXPECT_EQ(ReadBytes("vistello (changed elsewhere 2).dat"), "edited");
    EXPECT_EQ(system.boxes.size(), 2u);
}

// A file whose first bytes are no picture is left out and named, whatever its name says.
TEST_F(MainWindowCommandsTest, ImportDirectoryAddsNewImagesInNaturalOrderAtTheTop) {
    fs::create_directories("album/sub.jpg");
    for (const char* name : {"img10.JPG", "img2.jpg", "b.png", ".hidden.jpg", "notes.txt", "c.TIFF",
                             "d.jpeg", "e.gif.bak"})
        WriteMedia("album/" + std::string(name), "x");
    WriteBytes("album/d.jpeg", "x");
    AddEntry("Known", scratch / "album/b.png");
    system.pickerAnswers = {scratch / "album"};
    window.Press(ids::kMenuImportDirectory);
    EXPECT_EQ(Titles(), (Strings{"c", "img2", "img10", "Known"}));
    EXPECT_EQ(Column(7)[2], scratch / "album/img10.JPG");
    EXPECT_EQ(window.GetText(ids::kEntryCount), "4");
    const ShownBox report{
        "3 images added.\r\n1 image already in the list skipped.\r\nLeft out:\r\n" +
            scratch / "album/d.jpeg: its first bytes are no picture Vistello reads",
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
    window.SetText(ids::kDescription, std::string(70000, 'd'));
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
        dialog.Inside().slides.Row(0),
        (ImageEntry{"Trip", "", "", "", "", "", std::string(70000, 'd'), "/home/me/sun set.jpg"}));
    EXPECT_EQ(List().ColumnWidth(6), 32767);
    EXPECT_EQ(window.GetText(ids::kEntryCount), "4");
}

// Update needs an image and a selected row, and asks nothing. After Remove no row is selected,
// so a second Remove takes nothing.
TEST_F(MainWindowCommandsTest, UpdateAndRemoveActOnTheSelectedRowOnly) {
    for (const char* title : {"c", "b", "a"}) AddEntry(title);
    window.Press(ids::kUpdate);
    window.ClickRow(ids::kEntryList, 1);
    window.SetText(ids::kImagePath, "");
    window.Press(ids::kUpdate);
    window.SetText(ids::kImagePath, "new.jpg");
    window.SetText(ids::kTitle, "a");
    window.Press(ids::kUpdate);
    EXPECT_EQ(Titles(), (Strings{"a", "a", "c"}));
    EXPECT_EQ(Column(7), (Strings{"pics/a.jpg", "new.jpg", "pics/a.jpg"}));
    EXPECT_TRUE(system.boxes.empty());
    window.Press(ids::kRemove);
    window.Press(ids::kRemove);
    EXPECT_EQ(Column(7), (Strings{"pics/a.jpg", "pics/a.jpg"}));
    EXPECT_EQ(window.GetText(ids::kEntryCount), "2");
}

// Bytes decide, with no case folding and no reading of numbers; rows of one title keep their
// order, over more rows than a sort keeps by chance; a column already ascending is reversed
// instead. The position stays selected, and the fields show the row chosen, not the typed text.
TEST_F(MainWindowCommandsTest, HeaderClickSortsStablyByBytesOrReversesWhenAlreadyAscending) {
    const Strings titles{"b", "a", "Z", "a", "\xc3\xa9"};
    system.answers.assign(40, MsgAnswer::Yes);
    for (int row = 39; row >= 0; --row) AddEntry(titles[row % 5], "x.jpg", std::to_string(row));
    window.ClickRow(ids::kEntryList, 0);
    window.SetText(ids::kTitle, "typed");
    window.ClickHeader(ids::kEntryList, 0);
    Strings sorted;
    for (const char* title : {"Z", "a", "b", "\xc3\xa9"})
        for (int row = 0; row < 40; ++row)
            if (titles[row % 5] == title) sorted.push_back(std::to_string(row));
    EXPECT_EQ(Column(1), sorted);
    EXPECT_EQ(List().SelectionMark(), 0);
    EXPECT_EQ(window.GetText(ids::kTitle), "b");
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Column(1), Strings(sorted.rbegin(), sorted.rend()));
    window.ClickHeader(ids::kEntryList, 1);
    const Strings byHeight = Column(1);
    EXPECT_EQ(Strings(byHeight.begin(), byHeight.begin() + 4), (Strings{"0", "1", "10", "11"}));
}

// Moves carry the selected slide and its selection one place at a time, stop at either end and
// need a selection; a drag moves as far at once. Nothing is written until the project is saved,
// and then in the new order. Fitting after moves still finds the longest cell.
TEST_F(MainWindowCommandsTest, MovesAndDragsReorderSlidesAndTheSavedProject) {
    window.SetText(ids::kDescription, std::string(50, 'd'));
    AddEntry("d");
    window.SetText(ids::kDescription, "");
    for (const char* title : {"c", "b", "a"}) AddEntry(title);
    window.Press(ids::kMenuMoveDown);
    window.ClickRow(ids::kEntryList, 0);
    window.SetText(ids::kTitle, "typed");
    for (int press = 0; press < 4; ++press) window.Press(ids::kMenuMoveDown);
    EXPECT_EQ(Titles(), (Strings{"b", "c", "d", "a"}));
    window.Press(ids::kMenuMoveUp);
    EXPECT_EQ(Titles(), (Strings{"b", "c", "a", "d"}));
    EXPECT_EQ(List().SelectionMark(), 2);
    window.DragRow(ids::kEntryList, 3, 0);
    EXPECT_EQ(Titles(), (Strings{"d", "b", "c", "a"}));
    EXPECT_EQ(List().SelectionMark(), 3);
    window.DragRow(ids::kEntryList, 1, 3);
    EXPECT_EQ(Titles(), (Strings{"d", "c", "a", "b"}));
    EXPECT_EQ(List().SelectionMark(), 2);
    EXPECT_EQ(window.GetText(ids::kTitle), "typed");
    dialog.AutoSizeColumns();
    EXPECT_EQ(List().ColumnWidth(6), 50);
    EXPECT_EQ(ReadBytes("vistello.dat"), "");
    window.Press(ids::kMenuSave);
    const std::string saved = ReadBytes("vistello.dat");
    std::string order;
    for (size_t at = saved.find("TITLE="); at != std::string::npos;
         at = saved.find("TITLE=", at + 1))
        order += saved[at + 6];
    EXPECT_EQ(order, "bacd");
}

// Dropped image files and the images of dropped folders join at the top in natural order, those
// listed already counted, whatever bytes their names hold; other files, a project among them, are
// ignored. One project file dropped alone is opened; a file that only ends in .dat is left alone.
TEST_F(MainWindowCommandsTest, DropsAddImagesAndFoldersOrOpenAProject) {
    fs::create_directory("album");
    for (const char* name : {"album/img10.JPG", "album/img2.jpg", "album/notes.txt", "x.PNG",
                             "known.jpg", "notes.txt", "caf\xe9.jpg"})
        WriteMedia(name, "");
    WriteBytes("other.DAT", "IMAGE=p.jpg\r\nTITLE=p\r\n");
    AddEntry("Known", scratch / "known.jpg");
    window.Drop({scratch / "x.PNG", scratch / "notes.txt", scratch / "album", scratch / "known.jpg",
                 scratch / "missing.jpg", scratch / "other.DAT", scratch / "x.PNG",
                 scratch / "caf\xe9.jpg"});
    EXPECT_EQ(Titles(), (Strings{"img2", "img10", "caf\xe9", "x", "Known"}));
    EXPECT_EQ(window.GetText(ids::kEntryCount), "5");
    const ShownBox report{"4 images added.\r\n1 image already in the list skipped.",
                          "Dropped Images"};
    EXPECT_EQ(system.boxes, std::vector<ShownBox>{report});
    WriteBytes("notes.dat", "not a project");
    window.Drop({scratch / "notes.dat"});
    EXPECT_EQ(system.boxes.back().text,
              "This file is not a project and was not opened:\r\n" + scratch / "notes.dat");
    window.Drop({scratch / "other.DAT"});
    EXPECT_EQ(Titles(), Strings{"p"});
    EXPECT_EQ(ReadBytes("notes.dat"), "not a project");
    EXPECT_TRUE(Holds("vistello.dat", "TITLE=img10"));
}

// OK refuses a number out of its range, naming the field, and keeps the dialog open; the values
// it then takes, the ends of each range among them, are written with the project. Escape keeps
// what was there.
TEST_F(MainWindowCommandsTest, WebImagesKeepsSettingsInRangeInTheProject) {
    system.dialogScripts = {[](FakeWindow& web) {
                                EXPECT_EQ(web.GetText(ids::kWebQuality), "85");
                                web.SetText(ids::kWebLargestSide, "99999");
                                web.Press(IDOK);
                                EXPECT_FALSE(web.result);
                                web.SetText(ids::kWebLargestSide, "16384");
                                web.SetText(ids::kWebQuality, "0");
                                web.Press(IDOK);
                                web.SetText(ids::kWebQuality, "100");
                                web.SetText(ids::kWebThumbnailSide, "16");
                                web.SetCheck(ids::kWebKeepDetails, true);
                                web.SetCheck(ids::kWebAvif, true);
                                web.SetText(ids::kWebOverview, "over.htm");
                                web.SetText(ids::kWebSiteTitle, "Our <i>trip</i>");
                                web.Press(IDOK);
                            },
                            [](FakeWindow& web) {
                                EXPECT_EQ(web.GetText(ids::kWebLargestSide), "16384");
                                web.SetText(ids::kWebLargestSide, "");
                                web.Press(IDCANCEL);
                            }};
    window.Press(ids::kMenuWebImages);
    window.Press(ids::kMenuWebImages);
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{
                  {"Largest side (pixels): please enter an integer between 16 and 16384, or "
                   "leave it empty.",
                   "vistello", MsgButtons::Ok, MsgIcon::Exclamation},
                  {"Quality: please enter an integer between 1 and 100.", "vistello",
                   MsgButtons::Ok, MsgIcon::Exclamation}}));
    window.Press(ids::kMenuSave);
    EXPECT_TRUE(Holds("vistello.dat",
                      "OUTPUT=\r\nWEBSIDE=16384\r\nWEBQUALITY=100\r\n"
                      "THUMBSIDE=16\r\nWEBDETAILS=yes\r\nWEBAVIF=yes\r\nOVERVIEW=over.htm\r\n"
                      "SITETITLE=Our <i>trip</i>\r\n"));
}

// A photo's details fill its new row, phones' formats among them; one that describes nothing, or
// cannot be read, gets the title from its file name. Cancel while the photos are read adds
// nothing.
TEST_F(MainWindowCommandsTest, ImportDirectoryFillsEachRowFromItsPhoto) {
    FakePhotoReader photos;
    dialog.UsePhotoReader(photos);
    fs::create_directory("album");
    for (const char* name : {"a.heic", "b.jpg", "c.webp", "d.AVIF", "e.tiff"})
        WriteMedia(std::string("album/") + name, "");
    const std::string album = scratch / "album";
    photos.photos[album + "/a.heic"] = {"Harbour", "Boats at dawn", "sea, boats", "Three boats"};
    photos.photos[album + "/b.jpg"] = {};
    for (const bool cancel : {true, false}) {
        system.cancelProgress = cancel;
        system.pickerAnswers = {album};
        window.Press(ids::kMenuImportDirectory);
    }
    EXPECT_EQ(Titles(), (Strings{"Harbour", "b", "c", "d", "e"}));
    EXPECT_EQ(dialog.Inside().slides.Row(0),
              (ImageEntry{"Harbour", "", "", "", "Three boats", "sea, boats", "Boats at dawn",
                          album + "/a.heic"}));
    EXPECT_EQ(system.boxes.size(), 1u);
}

// Entry > Sort by Date Taken puts the oldest first; photos of one moment keep their order, and
// so do photos that say no date or cannot be read, after the others. Cancel changes nothing. A
// photo is read again only once its file changed.
TEST_F(MainWindowCommandsTest, SortByDateTakenPutsTheOldestFirst) {
    FakePhotoReader photos;
    dialog.UsePhotoReader(photos);
    photos.photos = {{"a.jpg", {}},
                     {"b.jpg", {"", "", "", "", 200}},
                     {"c.jpg", {"", "", "", "", 100}},
                     {"e.jpg", {"", "", "", "", 100}}};
    for (const char* name : {"e", "d", "c", "b", "a"}) {
        WriteBytes(std::string(name) + ".jpg", name);
        AddEntry(name, std::string(name) + ".jpg");
    }
    system.cancelProgress = true;
    window.Press(ids::kMenuSortByDate);
    EXPECT_EQ(Titles(), (Strings{"a", "b", "c", "d", "e"}));
    system.cancelProgress = false;
    window.Press(ids::kMenuSortByDate);
    EXPECT_EQ(Titles(), (Strings{"c", "e", "b", "a", "d"}));
    photos.photos["b.jpg"].takenAt = 50;
    window.Press(ids::kMenuSortByDate);
    EXPECT_EQ(Titles(), (Strings{"c", "e", "b", "a", "d"}));
    WriteBytes("b.jpg", "b, edited");
    window.Press(ids::kMenuSortByDate);
    EXPECT_EQ(Titles(), (Strings{"b", "c", "e", "a", "d"}));
}

// Only empty fields are filled; a photo that says nothing changes nothing and shows no box; one
// that cannot be read says so.
TEST_F(MainWindowCommandsTest, FillFromPhotoFillsOnlyEmptyFields) {
    FakePhotoReader photos;
    dialog.UsePhotoReader(photos);
    photos.photos["a.jpg"] = {"Harbour", "Boats at dawn", "sea, boats", "Three boats"};
    photos.photos["empty.jpg"] = {};
    window.SetText(ids::kTitle, "Mine");
    for (const char* image : {"a.jpg", "empty.jpg", "broken.jpg"}) {
        window.SetText(ids::kImagePath, image);
        window.Press(ids::kMenuFillFromPhoto);
    }
    EXPECT_EQ(window.GetText(ids::kTitle) + "|" + window.GetText(ids::kDescription) + "|" +
                  window.GetText(ids::kAlt) + "|" + window.GetText(ids::kKeywords),
              "Mine|Boats at dawn|Three boats|sea, boats");
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{{"The details of this image could not be read:\r\nbroken.jpg",
                                      "Fill From Photo"}}));
}

// What a photo says shows in the window as it reads, "Tom & Jerry" and "<3" as such; only what
// would be markup in a page shows as the HTML that keeps it text, and the project keeps that.
// Typed fields stay as typed.
TEST_F(MainWindowCommandsTest, TextFromAPhotoReadsAsWrittenAndNeverBecomesMarkup) {
    FakePhotoReader photos;
    dialog.UsePhotoReader(photos);
    fs::create_directory("album");
    WriteMedia("album/a.jpg", "");
    const std::string album = scratch / "album";
    const PhotoDetails details{"Tom & Jerry <3 Q&A", "<img src=x onerror=alert(1)> &#60;b&copy ab<",
                               "sea, \"boats\" &lt;i;", "boat\" onerror=\"alert(1)"};
    photos.photos[album + "/a.jpg"] = details;
    photos.photos["b.jpg"] = details;
    system.pickerAnswers = {album};
    window.Press(ids::kMenuImportDirectory);
    const std::string alt = "boat&quot; onerror=&quot;alert(1)";
    EXPECT_EQ(dialog.Inside().slides.Row(0),
              (ImageEntry{
                  "Tom & Jerry <3 Q&A", "", "", "", alt, "sea, &quot;boats&quot; &amp;lt;i;",
                  "&lt;img src=x onerror=alert(1)> &amp;#60;b&amp;copy ab&lt;", album + "/a.jpg"}));
    for (const int field : {ids::kTitle, ids::kAlt, ids::kKeywords}) window.SetText(field, "");
    window.SetText(ids::kDescription, "<i>mine</i>");
    window.SetText(ids::kImagePath, "b.jpg");
    window.Press(ids::kMenuFillFromPhoto);
    EXPECT_EQ(window.GetText(ids::kTitle) + "|" + window.GetText(ids::kAlt) + "|" +
                  window.GetText(ids::kDescription),
              "Tom & Jerry <3 Q&A|" + alt + "|<i>mine</i>");
    window.Press(ids::kMenuSave);
    EXPECT_TRUE(Holds("vistello.dat", "TITLE=Tom & Jerry <3 Q&A\r\n"));
    EXPECT_TRUE(Holds("vistello.dat", "ALT=" + alt + "\r\n"));
}

// A file whose name holds a line break would come back from the project as a row that names no
// file: Import Directory and drops leave it out and name it, the break made visible.
TEST_F(MainWindowCommandsTest, ImportsNameEveryFileAProjectCannotKeepAndLeaveItOut) {
    fs::create_directory("album");
    for (const char* name : {"album/two\nlines.jpg", "album/ok.jpg", "album/cr\r.png"})
        WriteMedia(name, "");
    const std::string album = scratch / "album";
    const std::string unfit = " not added, a project cannot keep a line break in a file name:\r\n" +
                              album + "/cr\u240D.png";
    system.pickerAnswers = {album};
    window.Press(ids::kMenuImportDirectory);
    window.Drop({album + "/two\nlines.jpg"});
    EXPECT_EQ(Titles(), Strings{"ok"});
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{
                  {"1 image added.\r\n2 images" + unfit + "\r\n" + album + "/two\u240Alines.jpg",
                   "Import Directory"},
                  {"0 images added.\r\n1 image" + unfit.substr(0, unfit.rfind('/') + 1) +
                       "two\u240Alines.jpg",
                   "Dropped Images"}}));
}

class GenerateTest : public MainWindowCommandsTest {
protected:
    GenerateTest() {
        for (const char* folder : {"web", "pics"}) fs::create_directories(folder);
        WriteBytes("page.htm", "<<BACK>>|<<NEXT>>\n<img src=<<IMAGEPATH>>>\n");
        window.SetText(ids::kTemplate, "page.htm");
        window.SetText(ids::kOutputFolder, "web");
    }
};

// An output folder that is not there stops Generate before anything is written. Titles of one
// page name get numbered names in list order, names that need it are escaped in the links, and
// each page links to its neighbours and shows its own image.
TEST_F(GenerateTest, WritesLinkedPagesAndCopiesImagesIntoAnExistingFolderThenOpensTheFirst) {
    // Each Add puts its entry on top.
    for (const auto& [title, image] :
         {std::pair{"trip", "2.jpg"}, std::pair{"What? #1", "1.jpg"}, std::pair{"Trip", "0.jpg"}}) {
        WriteMedia(std::string("pics/") + image, title);
        AddEntry(title, std::string("pics/") + image);
    }
    window.SetText(ids::kOutputFolder, "nowhere");
    window.Press(ids::kGenerate);
    window.SetText(ids::kOutputFolder, "web");
    system.answers = {MsgAnswer::Yes};
    window.Press(ids::kGenerate);
    const ShownBox question{"Your pages have been generated.\nWould you like to view them?",
                            "vistello", MsgButtons::YesNo, MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{{"Output folder not found:\r\nnowhere", "Error"}, question}));
    EXPECT_EQ(system.opened, std::vector{(fs::current_path() / "web/trip.htm").string()});
    EXPECT_EQ(ReadBytes("web/trip.htm"),
              "|<a href=what%3F_%231.htm>Next</a>\r\n<img src=\"0.jpg\">\r\n");
    EXPECT_EQ(ReadBytes("web/what?_#1.htm"),
              "<a href=trip.htm>Back</a>|<a href=trip_2.htm>Next</a>\r\n<img src=\"1.jpg\">\r\n");
    EXPECT_EQ(ReadBytes("web/trip_2.htm"),
              "<a href=what%3F_%231.htm>Back</a>|\r\n<img src=\"2.jpg\">\r\n");
    // Three pages, three images and the record of what Generate wrote.
    EXPECT_EQ(scratch.Names("web").size(), 7u);
    EXPECT_EQ(window.GetText(ids::kOutputFolder), "web/");
    EXPECT_EQ(window.GetText(ids::kTitle), "trip");
}

// The closing box counts the files of a slide taken out of the show that Generate removed.
TEST_F(GenerateTest, SaysHowManyFilesOfRemovedSlidesWentAway) {
    WriteMedia("pics/a.jpg", "a");
    WriteMedia("pics/b.jpg", "b");
    AddEntry("A", "pics/a.jpg");
    AddEntry("B", "pics/b.jpg");
    system.answers = {MsgAnswer::No, MsgAnswer::No};
    window.Press(ids::kGenerate);
    window.ClickRow(ids::kEntryList, 0);
    window.Press(ids::kRemove);
    WriteBytes("web/b.htm", "my own notes");
    window.Press(ids::kGenerate);
    EXPECT_EQ(system.boxes.back().text,
              "1 file the show no longer needs was removed.\n"
              "1 file the show no longer needs was kept:\r\n"
              "web/b.htm: kept, it changed since it was written\n"
              "Your pages have been generated.\nWould you like to view them?");
    EXPECT_EQ(scratch.Names("web"),
              (std::set<std::string>{".vistello-images", "a.htm", "a.jpg", "b.htm"}));
}

// What the user does while Generate runs waits: Clear List and a header click are ignored, and
// photos dropped meanwhile are added once the pages are written.
TEST_F(GenerateTest, NothingChangesTheListWhileGenerateRuns) {
    WriteMedia("pics/a.jpg", "a");
    WriteMedia("pics/b.jpg", "b");
    AddEntry("A", "pics/a.jpg");
    system.onProgressStep = [this] {
        window.Press(ids::kMenuClearList);
        window.ClickHeader(ids::kEntryList, 0);
        window.Drop({scratch / "pics/b.jpg"});
        EXPECT_EQ(dialog.Inside().slides.RowCount(), 1);
    };
    window.Press(ids::kGenerate);
    EXPECT_EQ(system.boxes.front().caption, "vistello");
    ASSERT_EQ(dialog.Inside().slides.RowCount(), 2);
    EXPECT_EQ(dialog.Inside().slides.Row(1).title, "A");
}

// A missing image, a FIFO in the way, a name another image has, a read-only page and a page
// grown past the size limit each count as failed; the run goes on, asks nothing and leaves the
// page and image that were there. An image already in the folder counts as copied. Once the
// folder has a record, the FIFO the show did not write is passed by and said.
TEST_F(GenerateTest, FailedPagesAndImagesAreCountedAndTheRestIsWritten) {
    fs::create_directories("other");
    for (const char* image : {"pics/a.jpg", "pics/fifo.jpg", "other/a.jpg", "web/here.jpg"})
        WriteMedia(image, image);
    ASSERT_EQ(::mkfifo("web/fifo.jpg", 0600), 0);
    WriteBytes("page.htm", "<<IMAGETITLE>>");
    AddEntry("Old", "pics/a.jpg");
    AddEntry("Other A", "other/a.jpg");
    AddEntry("Here", "web/./here.jpg");
    AddEntry("Fifo", "pics/fifo.jpg");
    AddEntry("Missing", "pics/missing.jpg");
    window.Press(ids::kGenerate);
    const ShownBox imagesFailed{
        "3 of 5 images could not be copied.\r\n"
        "pics/missing.jpg: could not be copied to web/missing.jpg: No such file or directory\r\n"
        "pics/fifo.jpg: could not be copied to web/fifo.jpg: not a regular file\r\n"
        "pics/a.jpg: not copied, another image named a.jpg is already in the set",
        "vistello", MsgButtons::Ok, MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes, std::vector{imagesFailed});

    fs::permissions("web/old.htm", fs::perms::owner_read);
    WriteBytes("page.htm", "<<IMAGETITLE>>!");
    std::string runaway;
    for (int i = 0; i < 3000; ++i) runaway += "<<ALT>>";
    window.SetText(ids::kAlt, std::string(40000, 'a'));
    AddEntry(runaway, "pics/a.jpg");
    system.boxes.clear();
    window.Press(ids::kGenerate);
    const ShownBox pageFailed{"Save to File", "Error Saving File."};
    ASSERT_EQ(system.boxes.size(), 3u);
    EXPECT_EQ(system.boxes[0], pageFailed);
    EXPECT_EQ(system.boxes[1], pageFailed);
    EXPECT_THAT(
        system.boxes[2].text,
        ::testing::StartsWith("1 file this show did not write was left as it is, the show's own "
                              "named otherwise:\r\nweb/fifo.jpg\n2 of 6 images could not be "
                              "copied.\r\n2 of 6 pages could not be written.\r\n"));
    EXPECT_THAT(system.boxes[2].text,
                ::testing::EndsWith("\r\nweb/old.htm: could not be written: Permission denied"));
    EXPECT_EQ(ReadBytes("web/old.htm"), "Old");
    EXPECT_EQ(ReadBytes("web/a.jpg"), MediaBytes("a.jpg", "pics/a.jpg"));
    EXPECT_EQ(ReadBytes("web/fifo_2.jpg"), MediaBytes("fifo.jpg", "pics/fifo.jpg"));
    EXPECT_EQ(scratch.Names("web").size(), 10u);
}

}  // namespace
}  // namespace vistello::testing
