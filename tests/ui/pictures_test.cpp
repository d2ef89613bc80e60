#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/fake_photo_reader.h"
#include "support/fake_thumbnails.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::pair<std::string, std::string>>;
constexpr auto kLarge = ThumbnailSize::Large;
constexpr auto kXLarge = ThumbnailSize::XLarge;

// A project's text for rows given as (image, title) in the list's order; the file lists them from
// the bottom one up.
std::string ProjectText(const Rows& rows, const std::string& settings = "") {
    std::string text = "TEMPLATE=t.htm\r\nOUTPUT=\r\n" + settings;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        text += "IMAGE=" + row->first + "\r\nTITLE=" + row->second + "\r\n";
    return text;
}

// The images the saved project names, in the file's order: the bottom row first.
std::vector<std::string> SavedImages() {
    std::vector<std::string> images;
    std::string text = ReadBytes("vistello.dat");
    for (size_t at = text.find("IMAGE="); at != std::string::npos; at = text.find("IMAGE=", at)) {
        at += 6;
        images.push_back(text.substr(at, text.find('\r', at) - at));
    }
    return images;
}

// The main window over a project, with its Pictures window at hand.
class PicturesTest : public ::testing::Test {
protected:
    void Start(const Rows& rows) {
        WriteBytes("vistello.dat", ProjectText(rows));
        Start();
    }
    void Start() {
        dialog = std::make_unique<CMainDialog>();
        dialog->UseThumbnails(thumbnails);
        dialog->UsePhotoReader(photos);
        window = std::make_unique<FakeWindow>(system, *dialog);
    }
    void Quit() {
        window->Press(ids::kMenuQuit);
        window.reset();
        dialog.reset();
    }
    FakePicturesWindow& Pictures() { return *system.pictures; }
    FakeListView& List() { return *window->List(ids::kEntryList); }

    // One order and one selection: the grid shows what the list shows, and the preview the slide
    // the list marks.
    void ExpectOneSelection(const std::string& step) {
        ASSERT_NE(system.pictures, nullptr) << step;
        EXPECT_EQ(Pictures().grid.Rows(), List().Rows()) << step;
        EXPECT_EQ(Pictures().grid.SelectedRows(), List().SelectedRows()) << step;
        EXPECT_EQ(Pictures().grid.SelectionMark(), List().SelectionMark()) << step;
        const int mark = List().SelectionMark();
        EXPECT_EQ(Pictures().preview.title, mark >= 0 ? List().Cell(mark, 0) : "") << step;
    }

    ScratchDir scratch;
    FakeWindowSystem system;
    FakeThumbnails thumbnails;
    FakePhotoReader photos;
    std::unique_ptr<CMainDialog> dialog;
    std::unique_ptr<FakeWindow> window;
};

// Each of the list's commands leaves the grid showing the list's rows, in its order, with its
// selection, and the preview showing the slide it marks.
TEST_F(PicturesTest, GridFollowsTheListAfterEachListCommand) {
    WriteBytes("album.dat", ProjectText({{"in.jpg", "inside"}}));
    WriteMedia("new.jpg", "new");
    Start({{"a.jpg", "a"}, {"b.jpg", "b"}, {scratch / "album.dat", "album"}, {"c.jpg", "c"}});
    window->Press(ids::kMenuShowPictures);
    ExpectOneSelection("opened");
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"click", [&] { window->ClickRow(ids::kEntryList, 1); }},
        {"move down", [&] { window->Press(ids::kMenuMoveDown); }},
        {"move up", [&] { window->Press(ids::kMenuMoveUp); }},
        {"drag", [&] { window->DragRow(ids::kEntryList, 0, 3); }},
        {"header", [&] { window->ClickHeader(ids::kEntryList, 0); }},
        {"add",
         [&] {
             window->SetText(ids::kTitle, "d");
             window->SetText(ids::kImagePath, "d.jpg");
             window->Press(ids::kAdd);
         }},
        {"update",
         [&] {
             window->ClickRow(ids::kEntryList, 2);
             window->SetText(ids::kTitle, "renamed");
             window->Press(ids::kUpdate);
         }},
        {"remove", [&] { window->Press(ids::kRemove); }},
        {"drop", [&] { window->Drop({scratch / "new.jpg"}); }},
        {"open album",
         [&] {
             for (int row = 0; row < List().RowCount(); ++row)
                 if (List().Cell(row, 0) == "album") window->DoubleClickRow(ids::kEntryList, row);
         }},
        {"close album", [&] { window->Press(ids::kMenuCloseAlbum); }},
        {"clear",
         [&] {
             system.answers = {MsgAnswer::Yes};
             window->Press(ids::kClearList);
         }},
    };
    for (const auto& [step, act] : steps) {
        act();
        ExpectOneSelection(step);
    }
    EXPECT_EQ(window->caption, "Vistello: vistello.dat");
    EXPECT_EQ(Pictures().preview, PreviewLook{});
}

// What is done in the grid is done to the list as its own commands do it: a selection of several
// tiles selects their rows and fills the fields from the tile marked; tiles dragged move together,
// and the saved project has them so; files dropped join at the drop place; Ctrl with the arrows
// moves the marked slide; Delete removes every selected slide; Enter or a double click opens an
// album and nothing else.
TEST_F(PicturesTest, ListFollowsTheGridAfterEachGridAction) {
    WriteBytes("album.dat", ProjectText({{"in.jpg", "inside"}}));
    WriteMedia("new.jpg", "new");
    photos.photos[scratch / "new.jpg"].title = "New";
    Start({{"p1.jpg", "p1"},
           {"p2.jpg", "p2"},
           {"p3.jpg", "p3"},
           {"p4.jpg", "p4"},
           {scratch / "album.dat", "album"}});
    window->Press(ids::kMenuShowPictures);
    window->SetText(ids::kTitle, "typed");
    Pictures().Select({1, 3}, 3);
    EXPECT_EQ(List().SelectedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(window->GetText(ids::kTitle), "p4");
    Pictures().Drag(0);
    EXPECT_EQ(List().Rows(), "p2;p4;p1;p3;album;");
    EXPECT_EQ(List().SelectedRows(), (std::vector<int>{0, 1}));
    ExpectOneSelection("drag");
    window->Press(ids::kMenuSave);
    EXPECT_EQ(SavedImages(), (std::vector<std::string>{scratch / "album.dat", "p3.jpg", "p1.jpg",
                                                       "p4.jpg", "p2.jpg"}));
    Pictures().Press(ItemKey::CtrlRight);
    EXPECT_EQ(List().Rows(), "p2;p1;p4;p3;album;");
    Pictures().Press(ItemKey::CtrlUp);
    EXPECT_EQ(List().Rows(), "p2;p4;p1;p3;album;");
    ExpectOneSelection("keys");
    Pictures().Drop({scratch / "new.jpg"}, 2);
    EXPECT_EQ(List().Rows(), "p2;p4;New;p1;p3;album;");
    EXPECT_EQ(system.boxes.back(), (ShownBox{"1 image added.", "Dropped Images"}));
    Pictures().Select({0, 2, 3}, 2);
    Pictures().Press(ItemKey::Delete);
    EXPECT_EQ(List().Rows(), "p4;p3;album;");
    EXPECT_EQ(window->GetText(ids::kEntryCount), "3");
    ExpectOneSelection("delete");
    Pictures().Select({1}, 1);
    const size_t boxes = system.boxes.size();
    Pictures().Press(ItemKey::Enter);
    Pictures().DoubleClick(0);
    EXPECT_EQ(window->caption, "Vistello: vistello.dat");
    EXPECT_EQ(system.boxes.size(), boxes);
    Pictures().Select({2}, 2);
    Pictures().Press(ItemKey::Enter);
    EXPECT_EQ(window->caption, "Vistello: vistello.dat › album");
    ExpectOneSelection("enter");
    window->Press(ids::kMenuCloseAlbum);
    Pictures().DoubleClick(2);
    EXPECT_EQ(List().Rows(), "inside;");
    ExpectOneSelection("double click");
}

// The tiles in sight are asked for first, then a screen's worth either side; those scrolled out
// of reach before they were made are no longer asked for. A thumbnail already in the cache shows
// at once; one made on a picture thread wakes the window, which takes it in on its own thread; a
// picture that cannot be made says why. The preview asks its larger picture before all else and
// shows the tile's meanwhile. Closed, the window wants nothing more made.

TEST_F(PicturesTest, TilesInSightComeFirstAndPicturesArriveOnTheWindowsThread) {
    Rows rows;
    for (int row = 0; row < 100; ++row) {
        const std::string name = (row < 10 ? "p0" : "p") + std::to_string(row);
        rows.emplace_back(name + ".jpg", name);
    }
    thumbnails.cached[scratch / "p00.jpg"] = {"/cache/p00.png", ""};
    Start(rows);
    window->Press(ids::kMenuShowPictures);
    const auto sources = [&](int first, int last) {
        std::vector<std::string> paths;
        for (int row = first; row <= last; ++row) paths.push_back(scratch / rows[row].first);
        return paths;
    };
    Pictures().Show(0, 9);
    EXPECT_EQ(Pictures().Tile(0).picture, "/cache/p00.png");
    EXPECT_EQ(thumbnails.Waiting(kLarge), sources(1, 19));
    Pictures().Show(50, 59);
    std::vector<std::string> waiting = thumbnails.Waiting(kLarge);
    ASSERT_EQ(waiting.size(), 30U);
    EXPECT_EQ(std::vector<std::string>(waiting.begin(), waiting.begin() + 10), sources(50, 59));
    std::sort(waiting.begin(), waiting.end());
    EXPECT_EQ(waiting, sources(40, 69));

    thumbnails.Make(scratch / "p50.jpg", kLarge, {"/cache/p50.png", ""});
    thumbnails.Make(scratch / "p51.jpg", kLarge, {"", "Not a picture: p51.jpg"});
    EXPECT_EQ(Pictures().Tile(50).picture, "");
    EXPECT_TRUE(Pictures().TakeArrived());
    EXPECT_EQ(Pictures().Tile(50), (TileLook{"/cache/p50.png", "", TileBadge::None}));
    EXPECT_EQ(Pictures().Tile(51), (TileLook{"", "Not a picture: p51.jpg", TileBadge::None}));
    EXPECT_EQ(Pictures().tilesDrawn, 1);

    Pictures().Select({50}, 50);
    EXPECT_EQ(thumbnails.Waiting(kXLarge), sources(50, 50));
    EXPECT_EQ(Pictures().preview.look.picture, "/cache/p50.png");
    Pictures().Show(0, 9);
    thumbnails.Make(scratch / "p50.jpg", kXLarge, {"/cache/x-large/p50.png", ""});
    EXPECT_TRUE(Pictures().TakeArrived());
    EXPECT_EQ(Pictures().preview.look.picture, "/cache/x-large/p50.png");
    EXPECT_EQ(Pictures().preview.title, "p50");
    window->Press(ids::kMenuShowPictures);
    EXPECT_TRUE(thumbnails.waiting.empty());
}

// A clip shows its poster with a play sign and plays in the desktop's player; an album shows its
// cover, the one its project names or else its first photo, as a pile, and a private album a lock
// as well; an album's project changed since shows its new cover. Title and description show as
// the slide's page shows them.

TEST_F(PicturesTest, TilesAndPreviewShowWhatKindOfSlideEachIs) {
    WriteBytes("trip.dat", ProjectText({{"first.mp4", "f"}, {"own.jpg", "o"}, {"cover.jpg", "c"}},
                                       "COVER=cover.jpg\r\n"));
    WriteBytes("hidden.dat",
               ProjectText({{"sub.dat", "s"}, {"first.jpg", "f"}, {"second.jpg", "s"}},
                           "PRIVATE=yes\r\n"));
    WriteBytes(
        "vistello.dat",
        ProjectText({{"clip.mp4", "Tom &amp; Jerry"},
                     {"trip.dat", "trip"},
                     {"hidden.dat", "hidden"},
                     {"missing.dat", "gone"}}) +
            "DESCRIPTION=<p>At <b>sea</b></p><script>x()</script>2024&nbsp;trip<br>day 2\r\n");
    Start();
    window->Press(ids::kMenuShowPictures);
    Pictures().Show(0, 3);
    EXPECT_EQ(thumbnails.Waiting(kLarge),
              (std::vector<std::string>{scratch / "clip.mp4", scratch / "cover.jpg",
                                        scratch / "first.jpg"}));
    EXPECT_EQ(Pictures().Tile(0).badge, TileBadge::Clip);
    EXPECT_EQ(Pictures().Tile(1).badge, TileBadge::Album);
    EXPECT_EQ(Pictures().Tile(2).badge, TileBadge::PrivateAlbum);
    EXPECT_EQ(Pictures().Tile(3), (TileLook{"", "", TileBadge::Album}));
    WriteBytes("trip.dat",
               ProjectText({{"own.jpg", "o"}, {"cover.jpg", "c"}}, "COVER=own.jpg\r\n"));
    Pictures().Show(0, 3);
    EXPECT_EQ(thumbnails.Waiting(kLarge)[1], scratch / "own.jpg");

    Pictures().Select({0}, 0);
    EXPECT_EQ(Pictures().preview.title, "Tom & Jerry");
    EXPECT_EQ(Pictures().preview.description, "At sea\n2024\xc2\xa0trip\nday 2");
    Pictures().Play();
    Pictures().Select({1}, 1);
    Pictures().Play();
    EXPECT_EQ(system.opened, std::vector<std::string>{"clip.mp4"});
}

// The window opens and closes by the same command, by its close box as well, and is kept in the
// preferences only once it was opened: where it stood, its tiles' size, and whether it was open at
// Quit, so that the next start opens it there again.
TEST_F(PicturesTest, ItsPlaceIsKeptOnlyOnceUsedAndItReopensAsLeft) {
    Start({{"a.jpg", "a"}});
    Quit();
    const std::string untouched = ReadBytes("vistello.ini");
    EXPECT_EQ(untouched.find("PICTURES"), std::string::npos);
    Start();
    window->Press(ids::kMenuShowPictures);
    EXPECT_EQ(Pictures().openedAt, std::nullopt);
    EXPECT_EQ(Pictures().tileSize, kFirstTileSize);
    window->Press(ids::kMenuShowPictures);
    EXPECT_EQ(system.pictures, nullptr);
    window->Press(ids::kMenuShowPictures);
    Pictures().place = {10, 20, 300, 200};
    Pictures().tileSize = 96;
    Quit();
    EXPECT_EQ(ReadBytes("vistello.ini"),
              untouched.substr(0, untouched.size() - 2) +
                  "PICTURES=open\r\nPICTURESPLACE=10,20,300,200\r\nPICTURESIZE=96\r\n\r\n");
    Start();
    ASSERT_NE(system.pictures, nullptr);
    EXPECT_EQ(Pictures().openedAt, (WindowPlace{10, 20, 300, 200}));
    EXPECT_EQ(Pictures().tileSize, 96);
    Pictures().CloseBox();
    EXPECT_EQ(system.pictures, nullptr);
    Quit();
    EXPECT_NE(ReadBytes("vistello.ini").find("PICTURES=closed\r\n"), std::string::npos);
    Start();
    EXPECT_EQ(system.pictures, nullptr);
}

}  // namespace
}  // namespace vistello::testing
