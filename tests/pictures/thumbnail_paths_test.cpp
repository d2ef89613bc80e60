#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstdio>
#include <filesystem>

#include "pictures/png_text.h"
#include "pictures/thumbnail_cache.h"
#include "pictures/thumbnail_uri.h"
#include "support/temp_dir.h"

namespace vistello {
namespace {

using testing::ScratchDir;
using testing::WriteBytes;

std::string Md5(std::string_view bytes) {
    unsigned char sum[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), sum, &length, EVP_md5(), nullptr);
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        const unsigned char byte = sum[i];
        char two[3];
        std::snprintf(two, sizeof two, "%02x", byte);
        hex += two;
    }
    return hex;
}

// Every picture is a one-pixel PNG.
class PixelMaker : public ImageMaker {
public:
    std::optional<ImageFacts> Examine(const std::string&) override { return ImageFacts{}; }
    MadeImage Make(const ImageJob&) override {
        ++made;
        MadeImage result;
        result.images.push_back({OnePixelPng(), 1, 1});
        return result;
    }
    void EndThread() override {}
    int made = 0;
};

TEST(ThumbnailPathsTest, BytesOutsideTheUrlsOwnAreEscapedAsTheDesktopDoes) {
    EXPECT_EQ(ThumbnailUri("/p/a b%#?;\xff\n~!$&'()*+,=:@.jpg"),
              "file:///p/a%20b%25%23%3F%3B%FF%0A~!$&'()*+,=:@.jpg");
}

// A cache home written with a trailing slash or dots is the same folder: the thumbnails in it are
// still known for what they are, and none is made of them.
TEST(ThumbnailPathsTest, ACacheHomeWrittenLooselyStillKnowsItsOwnThumbnails) {
    ScratchDir dir;
    RealFileOps ops;
    PixelMaker images;
    PicturePool pool(0);
    ThumbnailCache cache(ops, images, pool, dir / "cache/./", Md5);
    const std::string photo = dir / "a.jpg";
    WriteBytes(photo, "photo");
    const std::string thumbnail = cache.PathOf(photo, ThumbnailSize::Large);
    EXPECT_EQ(thumbnail, dir / ("cache/thumbnails/large/" + Md5(ThumbnailUri(photo)) + ".png"));
    const std::optional<ThumbnailAnswer> answer =
        cache.Request(1, photo, ThumbnailSize::Large, 0, [](uint64_t, ThumbnailAnswer) {});
    EXPECT_FALSE(answer);
    ASSERT_TRUE(std::filesystem::exists(thumbnail));
    const std::optional<ThumbnailAnswer> again =
        cache.Request(2, thumbnail, ThumbnailSize::Large, 0, [](uint64_t, ThumbnailAnswer) {});
    ASSERT_TRUE(again);
    EXPECT_EQ(again->png, thumbnail);
    EXPECT_EQ(images.made, 1);
}

}  // namespace
}  // namespace vistello
