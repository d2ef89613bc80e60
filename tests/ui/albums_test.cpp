#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/fake_photo_reader.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using ::testing::HasSubstr;

// The main window over the files a test has laid out first, reading photos with a fake reader.
class AlbumsTest : public ::testing::Test {
protected:
    void Open() {
        window = std::make_unique<FakeWindow>(system, dialog);
        dialog.UsePhotoReader(photos);
    }
    Strings Images() {
        Strings paths;
        const EntryList& rows = dialog.Inside().slides;
        for (int row = 0; row < rows.RowCount(); ++row) paths.push_back(rows.Row(row).imagePath);
        return paths;
    }
    int Mark() { return window->List(ids::kEntryList)->SelectionMark(); }
    static bool Holds(const std::string& file, const std::string& text) {
        return ReadBytes(file).find(text) != std::string::npos;
    }

    ScratchDir scratch;
    FakeWindowSystem system;
    FakePhotoReader photos;
    CMainDialog dialog;
    std::unique_ptr<FakeWindow> window;
};

// A folder tree becomes albums beside the project, after a Cancel that made nothing; an album
// opens by a double click or the menu, its edits and cover are saved on the way back up, one
// level at a time, and the album's row is selected again. Quitting inside an album saves it and
// leaves the preferences naming the project the user opened.
TEST_F(AlbumsTest, ImportedTreeOpensAlbumByAlbumAndComesBackLevelByLevel) {
    for (const char* folder : {"trip/2024/Italy", "trip/empty"}) fs::create_directories(folder);
    for (const char* photo : {"trip/a.jpg", "trip/2024/b.jpg", "trip/2024/Italy/c.jpg"})
        WriteMedia(photo, photo);
    photos.photos[scratch / "trip/2024/Italy/c.jpg"].title = "Forum";
    Open();
    system.pickerAnswers = {"trip", "trip"};
    system.cancelProgress = true;
    window->Press(ids::kMenuImportTree);
    EXPECT_TRUE(Images().empty());
    EXPECT_FALSE(fs::exists("vistello.albums"));
    system.cancelProgress = false;
    window->Press(ids::kMenuImportTree);
    EXPECT_EQ(Images(), (Strings{scratch / "vistello.albums/2024.dat", scratch / "trip/a.jpg"}));
    EXPECT_EQ(window->GetText(ids::kEntryCount), "2");
    EXPECT_EQ(system.boxes, (std::vector<ShownBox>{{"2 albums made, 3 images added.",
                                                    "Import Folder Tree as Albums"}}));

    window->DoubleClickRow(ids::kEntryList, 1);
    EXPECT_EQ(window->caption, "Vistello: vistello.dat");
    window->DoubleClickRow(ids::kEntryList, 0);
    EXPECT_EQ(window->caption, "Vistello: vistello.dat › 2024");
    EXPECT_EQ(Images(), (Strings{scratch / "vistello.albums/2024.albums/Italy.dat",
                                 scratch / "trip/2024/b.jpg"}));
    EXPECT_TRUE(Holds("vistello.dat", "IMAGE=" + scratch / "vistello.albums/2024.dat\r\n"));
    window->ClickRow(ids::kEntryList, 1);
    window->Press(ids::kMenuUseAsCover);
    window->ClickRow(ids::kEntryList, 0);
    window->Press(ids::kMenuOpenAlbum);
    EXPECT_EQ(window->caption, "Vistello: vistello.dat › 2024 › Italy");
    EXPECT_EQ(window->GetText(ids::kTitle), "Forum");
    window->ClickRow(ids::kEntryList, 0);
    window->SetText(ids::kTitle, "Colosseum");
    window->Press(ids::kUpdate);

    window->Press(ids::kMenuCloseAlbum);
    EXPECT_EQ(window->caption, "Vistello: vistello.dat › 2024");
    EXPECT_TRUE(Holds("vistello.albums/2024.albums/Italy.dat", "TITLE=Colosseum\r\n"));
    EXPECT_EQ(Mark(), 0);
    EXPECT_EQ(window->GetText(ids::kTitle), "Italy");
    window->Press(ids::kGenerate);
    EXPECT_EQ(window->caption, "Vistello: vistello.dat");
    EXPECT_TRUE(Holds("vistello.albums/2024.dat", "TEMPLATE=\r\n"));
    EXPECT_TRUE(Holds("vistello.albums/2024.dat", "COVER=" + scratch / "trip/2024/b.jpg\r\n"));
    EXPECT_EQ(Images(), (Strings{scratch / "vistello.albums/2024.dat", scratch / "trip/a.jpg"}));
    EXPECT_EQ(Mark(), 0);

    window->DoubleClickRow(ids::kEntryList, 0);
    window->ClickRow(ids::kEntryList, 1);
    window->Press(ids::kRemove);
    window->Destroy();
    EXPECT_FALSE(Holds("vistello.albums/2024.dat", "IMAGE=" + scratch / "trip/2024/b.jpg"));
    EXPECT_TRUE(Holds("vistello.ini", "FILE=vistello.dat\r\n"));
    // Generate went up and asked the top project, which names no template that is there.
    ASSERT_EQ(system.boxes.size(), 2u);
    EXPECT_EQ(system.boxes[1].text, "Error loading file");
}

// Importing the tree again, in a window opened anew, keeps out the row the user took out and
// takes out the photo that left the tree, saying so.
TEST_F(AlbumsTest, ImportingTheTreeAgainKeepsWhatTheUserTookOut) {
    fs::create_directories("trip/2024");
    for (const char* photo : {"trip/a.jpg", "trip/b.jpg", "trip/2024/c.jpg"})
        WriteMedia(photo, photo);
    Open();
    system.pickerAnswers = {"trip"};
    window->Press(ids::kMenuImportTree);
    window->ClickRow(ids::kEntryList, 1);
    window->Press(ids::kRemove);
    window->Destroy();
    fs::remove("trip/b.jpg");
    FakeWindowSystem again;
    CMainDialog reopened;
    FakeWindow shown(again, reopened);
    again.pickerAnswers = {"trip"};
    shown.Press(ids::kMenuImportTree);
    const EntryList& rows = reopened.Inside().slides;
    ASSERT_EQ(rows.RowCount(), 1);
    EXPECT_EQ(rows.Row(0).imagePath, scratch / "vistello.albums/2024.dat");
    EXPECT_EQ(again.boxes.back().text,
              "0 albums made, 0 images added.\r\n1 image already in the albums "
              "skipped.\r\nTaken out:\r\n" +
                  scratch / "trip/b.jpg" + ": no longer in the tree, taken out of vistello.dat");
}

// A row that is no album, or whose project is gone, opens nothing and says why, and a double click
// on a photo opens nothing; there is no way back from the project the user opened; an album's
// cover is one of its photos.
TEST_F(AlbumsTest, AlbumCommandsOnTheWrongRowSayWhy) {
    WriteBytes("vistello.dat", "IMAGE=gone.dat\r\nTITLE=Gone\r\n\r\nIMAGE=a.jpg\r\nTITLE=A\r\n");
    Open();
    const struct {
        int row;
        int command;
        std::string caption;
    } cases[] = {
        {1, ids::kMenuOpenAlbum, "Open Album"},
        {0, ids::kMenuOpenAlbum, "Open Album"},
        {0, ids::kMenuCloseAlbum, "Close Album"},
        {1, ids::kMenuUseAsCover, "Use as Album Cover"},
    };
    for (const auto& [row, command, caption] : cases) {
        system.boxes.clear();
        window->ClickRow(ids::kEntryList, row);
        window->Press(command);
        ASSERT_EQ(system.boxes.size(), 1u) << caption << " on row " << row;
        EXPECT_EQ(system.boxes[0].caption, caption);
        EXPECT_EQ(window->caption, "Vistello: vistello.dat");
    }
    system.boxes.clear();
    window->DoubleClickRow(ids::kEntryList, 0);
    EXPECT_TRUE(system.boxes.empty());
    EXPECT_EQ(dialog.Inside().web.cover, "");
}

// Generate makes every album into its folder below the output folder, counting albums in its
// progress, and lists the albums it left out; a project that holds itself, or a site without an
// overview template, is refused in a box and nothing is made. Without albums all is as before.
TEST_F(AlbumsTest, GenerateMakesTheSiteOrRefusesIt) {
    const std::string settings = "TEMPLATE=page.htm\r\nOUTPUT=web\r\n";
    const struct {
        std::string name;
        std::string project;
        std::string album;
        std::string box;
        Strings units;
        bool albumMade;
    } cases[] = {
        {"no albums",
         settings + "IMAGE=pics/top.jpg\r\nTITLE=Top\r\n",
         "",
         "Your pages have been generated.\nWould you like to view them?",
         {"Page"},
         false},
        {"site",
         settings + "OVERVIEW=over.htm\r\nIMAGE=pics/top.jpg\r\nTITLE=Top\r\n\r\n"
                    "IMAGE=rome.dat\r\nTITLE=Rome\r\n\r\nIMAGE=gone.dat\r\nTITLE=Gone\r\n",
         "IMAGE=pics/in.jpg\r\nTITLE=Inside\r\n",
         "1 album was left out:\r\ngone.dat: cannot be read: No such file or directory",
         {"Album 1 of 2 · Page", "Album 2 of 2 · Page"},
         true},
        {"loop",
         settings + "OVERVIEW=over.htm\r\nIMAGE=rome.dat\r\nTITLE=Rome\r\n",
         "IMAGE=vistello.dat\r\nTITLE=Back\r\n",
         "The album " + (fs::canonical(fs::current_path()) / "vistello.dat").string() +
             " holds itself",
         {},
         false},
        {"no overview",
         settings + "IMAGE=rome.dat\r\nTITLE=Rome\r\n",
         "IMAGE=pics/in.jpg\r\nTITLE=Inside\r\n",
         "Albums are shown on overview pages: choose an overview page template",
         {},
         false},
    };
    for (const auto& run : cases) {
        SCOPED_TRACE(run.name);
        fs::remove_all("web");
        for (const char* folder : {"web", "pics"}) fs::create_directories(folder);
        for (const char* photo : {"pics/top.jpg", "pics/in.jpg"}) WriteMedia(photo, photo);
        WriteBytes("page.htm", "<<IMAGETITLE>>");
        WriteBytes("over.htm", "overview");
        WriteBytes("vistello.dat", run.project);
        WriteBytes("rome.dat", run.album);
        FakeWindowSystem generating;
        CMainDialog main;
        FakeWindow shown(generating, main);
        shown.Press(ids::kGenerate);
        ASSERT_EQ(generating.boxes.size(), 1u);
        EXPECT_THAT(generating.boxes[0].text, HasSubstr(run.box));
        EXPECT_EQ(generating.boxes[0].caption, run.units.empty() ? "Error" : "vistello");
        EXPECT_EQ(generating.progressUnits, run.units);
        EXPECT_EQ(fs::exists("web/rome/inside.htm"), run.albumMade);
        EXPECT_EQ(fs::exists("web/top.htm"), !run.units.empty());
    }
}

}  // namespace
}  // namespace vistello::testing
