#include <filesystem>

#include "support/fake_photo_reader.h"
#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class PhotoCommandsTest : public MainWindowTest {
protected:
    PhotoCommandsTest() { dialog.UsePhotoReader(photos); }

    std::string Here(const std::string& name) const { return (fs::current_path() / name).string(); }

    FakePhotoReader photos;
};

// A photo's details fill its new row; a photo that describes nothing, or cannot be read, gets
// the title from its file name. Cancel while the photos are read adds nothing.
TEST_F(PhotoCommandsTest, ImportDirectoryFillsEachRowFromItsPhoto) {
    fs::create_directory("album");
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) WriteBytes("album/" + std::string(name), "");
    photos.photos[Here("album/a.jpg")] = {"Harbour", "Boats at dawn", "sea, boats", "Three boats"};
    photos.photos[Here("album/b.jpg")] = {};
    system.cancelProgress = true;
    system.pickerAnswers = {Here("album")};
    window.Press(ids::kMenuImportDirectory);
    EXPECT_TRUE(Titles().empty());
    EXPECT_TRUE(system.boxes.empty());

    system.cancelProgress = false;
    system.pickerAnswers = {Here("album")};
    window.Press(ids::kMenuImportDirectory);
    EXPECT_EQ(Titles(), (Strings{"Harbour", "b", "c"}));
    EXPECT_EQ(dialog.m_listEntries.Row(0),
              (ImageEntry{"Harbour", "", "", "", "Three boats", "sea, boats", "Boats at dawn",
                          Here("album/a.jpg")}));
}

// Only empty fields are filled; a photo that says nothing changes nothing and shows no box; one
// that cannot be read says so.
TEST_F(PhotoCommandsTest, FillFromPhotoFillsOnlyEmptyFields) {
    photos.photos["a.jpg"] = {"Harbour", "Boats at dawn", "sea, boats", "Three boats"};
    photos.photos["empty.jpg"] = {};
    window.Type(ids::kImagePath, "a.jpg");
    window.Type(ids::kTitle, "My title");
    window.Press(ids::kMenuFillFromPhoto);
    EXPECT_EQ(window.Text(ids::kTitle), "My title");
    EXPECT_EQ(window.Text(ids::kDescription), "Boats at dawn");
    EXPECT_EQ(window.Text(ids::kAlt), "Three boats");
    EXPECT_EQ(window.Text(ids::kKeywords), "sea, boats");

    window.Press(ids::kClearFields);
    window.Type(ids::kImagePath, "empty.jpg");
    window.Press(ids::kMenuFillFromPhoto);
    EXPECT_EQ(window.Text(ids::kTitle), "");
    EXPECT_TRUE(system.boxes.empty());
    window.Type(ids::kImagePath, "broken.jpg");
    window.Press(ids::kMenuFillFromPhoto);
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{{"The details of this image could not be read:\r\nbroken.jpg",
                                      "Fill From Photo"}}));
}

}  // namespace
}  // namespace vistello::testing
