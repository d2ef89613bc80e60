#include <gtest/gtest.h>

#include "support/fake_thumbnails.h"
#include "ui/picture_tiles.h"

namespace vistello {
namespace {

// A photo edited while the program runs shows as it is now once the window is opened again: what
// was made is asked of the cache again, which knows whether the photo changed.
TEST(PictureTilesAgainTest, AWindowOpenedAgainAsksTheCacheAgain) {
    EntryList slides;
    ImageEntry entry;
    entry.imagePath = "/photos/a.jpg";
    slides.InsertTop(entry);
    RealFileOps files;
    testing::FakeThumbnails thumbnails;
    thumbnails.cached["/photos/a.jpg"] = {"/cache/before.png", {}};
    PictureTiles tiles(slides, files, thumbnails);
    tiles.Showing(0, 0);
    EXPECT_EQ(tiles.Tile(0).picture, "/cache/before.png");
    thumbnails.cached["/photos/a.jpg"] = {"/cache/after.png", {}};
    tiles.Showing(0, 0);
    EXPECT_EQ(tiles.Tile(0).picture, "/cache/before.png");
    tiles.CancelAll();
    tiles.Showing(0, 0);
    EXPECT_EQ(tiles.Tile(0).picture, "/cache/after.png");
}

}  // namespace
}  // namespace vistello
