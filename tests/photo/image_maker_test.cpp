#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <map>
#include <thread>
#include <vips/vips8>
// After the library's own header, which the generator's header needs before it.
#include <vips/vector.h>

#include "generator/page_set.h"
#include "images/format_quality.h"
#include "images/image_module.h"
#include "images/vector_code_lock.h"
#include "images/vips_image_maker.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using vips::VImage;

// A photo of the size given, with an orientation tag and, if asked, a GPS position.
void WritePhoto(const std::string& path, int width, int height, int orientation, bool gps) {
    VImage image = VImage::black(width, height, VImage::option()->set("bands", 3)) + 128;
    image = image.cast(VIPS_FORMAT_UCHAR).copy();
    image.set(VIPS_META_ORIENTATION, orientation);
    image.jpegsave(path.c_str());
    if (!gps) return;
    auto file = Exiv2::ImageFactory::open(path);
    file->readMetadata();
    file->exifData()["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    file->exifData()["Exif.GPSInfo.GPSLatitude"] = "51/1 30/1 0/1";
    file->writeMetadata();
}

// The checksum that closes a PNG chunk, so that an edited header still reads as sound.
uint32_t Crc32(std::string_view bytes) {
    uint32_t crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

struct Made {
    int width = 0;
    int height = 0;
    int bands = 0;
    bool gps = false;
    long orientation = 1;
};

Made Inspect(const std::string& path) {
    VImage image = VImage::new_from_file(path.c_str());
    Made made{image.width(), image.height(), image.bands()};
    auto file = Exiv2::ImageFactory::open(path);
    file->readMetadata();
    const Exiv2::ExifData& exif = file->exifData();
    made.gps = exif.findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSLatitude")) != exif.end();
    const auto orientation = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (orientation != exif.end()) made.orientation = orientation->toLong();
    return made;
}

class ImageMakerTest : public ::testing::Test {
protected:
    // The made image lands in "out", the more in their targets; false, keeping the library's
    // reason, when none was made.
    bool Make(const std::string& source, int side, bool png = false, bool keep = false,
              std::vector<ImageOutput> more = {}) {
        const MadeImage image = maker.Make({source, "out", side, 85, png, keep, more});
        reason = image.failure;
        if (!reason.empty()) return false;
        sizes.clear();
        for (size_t i = 0; i < image.images.size(); ++i) {
            WriteBytes(i == 0 ? "out" : more.at(i - 1).target, image.images[i].bytes);
            sizes.emplace_back(image.images[i].width, image.images[i].height);
        }
        return true;
    }

    std::vector<std::pair<int, int>> sizes;

    std::string reason;

    ScratchDir scratch;
    VipsImageMaker maker;
};

// Turned upright by its orientation tag and shrunk to the side, never enlarged; the location
// and the other details go unless they are to be kept, and then the tag says upright.
TEST_F(ImageMakerTest, CopiesAreUprightNoLargerThanTheSideAndCarryDetailsOnlyWhenKept) {
    WritePhoto("photo.jpg", 300, 200, 6, true);
    EXPECT_EQ(maker.Examine("photo.jpg")->height, 300);
    ASSERT_TRUE(Make("photo.jpg", 150));
    Made made = Inspect("out");
    EXPECT_EQ(made.width, 100);
    EXPECT_EQ(made.height, 150);
    EXPECT_FALSE(made.gps);
    ASSERT_TRUE(Make("photo.jpg", 1000, false, true));
    made = Inspect("out");
    EXPECT_EQ(made.width, 200);
    EXPECT_EQ(made.height, 300);
    EXPECT_TRUE(made.gps);
    EXPECT_EQ(made.orientation, 1);
}

// A transparent PNG is told apart and stays transparent; a GIF is told apart; a file no image
// library reads is none of its business.
TEST_F(ImageMakerTest, TellsTransparentImagesAndGifsApart) {
    VImage::black(40, 30, VImage::option()->set("bands", 4))
        .cast(VIPS_FORMAT_UCHAR)
        .pngsave("a.png");
    VImage::black(40, 30).cast(VIPS_FORMAT_UCHAR).gifsave("a.gif");
    WriteBytes("a.txt", "just words");
    EXPECT_TRUE(maker.Examine("a.png")->transparent);
    EXPECT_TRUE(maker.Examine("a.gif")->gif);
    EXPECT_FALSE(maker.Examine("a.txt"));
    ASSERT_TRUE(Make("a.png", 20, true));
    EXPECT_EQ(Inspect("out").bands, 4);
    EXPECT_EQ(maker.Examine("a.png")->width, 40);
}

// A job's smaller copies and other formats come from one decode, each with the pixel size it
// has, never larger than the photo; PNG and WebP keep the alpha channel, and a tall photo's
// size is its upright one.
TEST_F(ImageMakerTest, MakesTheLadderFromOneDecode) {
    VImage::black(1000, 500, VImage::option()->set("bands", 4))
        .cast(VIPS_FORMAT_UCHAR)
        .pngsave("wide.png");
    ASSERT_TRUE(Make("wide.png", 800, true, false,
                     {{"s.png", 400, ImageFormat::Png},
                      {"s.webp", 400, ImageFormat::WebP},
                      {"big.webp", 2000, ImageFormat::WebP},
                      {"s.avif", 200, ImageFormat::Avif}}));
    const std::vector<std::pair<int, int>> expected = {
        {800, 400}, {400, 200}, {400, 200}, {1000, 500}, {200, 100}};
    EXPECT_EQ(sizes, expected);
    const char* files[] = {"out", "s.png", "s.webp", "big.webp", "s.avif"};
    for (size_t i = 0; i < std::size(files); ++i) {
        const VImage made = VImage::new_from_file(files[i]);
        EXPECT_EQ(std::pair(made.width(), made.height()), sizes[i]) << files[i];
        EXPECT_TRUE(made.has_alpha()) << files[i];
    }
}

// Soft shapes under a fine random texture, 1200 by 800 pixels.
void WriteDetailedPhoto(const std::string& path) {
    VImage shapes = VImage::gaussnoise(19, 13, VImage::option()->set("sigma", 50)->set("seed", 4));
    shapes = shapes.bandjoin(shapes.rot180()).bandjoin(shapes.flip(VIPS_DIRECTION_HORIZONTAL));
    const VImage texture =
        VImage::gaussnoise(152, 104,
                           VImage::option()->set("mean", 0)->set("sigma", 30)->set("seed", 6))
            .resize(8, VImage::option()->set("kernel", VIPS_KERNEL_CUBIC));
    const VImage photo = shapes.resize(64, VImage::option()->set("kernel", VIPS_KERNEL_CUBIC)) +
                         texture.bandjoin(texture).bandjoin(texture);
    photo.cast(VIPS_FORMAT_UCHAR)
        .crop(0, 0, 1200, 800)
        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
        .pngsave(path.c_str());
}

// How alike two pictures look: the mean SSIM of their brightness, over Gaussian windows.
double Ssim(const std::string& a, const std::string& b) {
    const auto luma = [](const std::string& path) {
        return VImage::new_from_file(path.c_str())
            .colourspace(VIPS_INTERPRETATION_B_W)
            .cast(VIPS_FORMAT_FLOAT);
    };
    const auto blur = [](const VImage& image) { return image.gaussblur(1.5); };
    const VImage x = luma(a);
    const VImage y = luma(b);
    const VImage mx = blur(x);
    const VImage my = blur(y);
    const VImage vx = blur(x * x) - mx * mx;
    const VImage vy = blur(y * y) - my * my;
    const VImage cxy = blur(x * y) - mx * my;
    constexpr double kC1 = 0.01 * 255 * 0.01 * 255;
    constexpr double kC2 = 0.03 * 255 * 0.03 * 255;
    return (((mx * my * 2 + kC1) * (cxy * 2 + kC2)) / ((mx * mx + my * my + kC1) * (vx + vy + kC2)))
        .avg();
}

// At the user's quality, the WebP and AVIF copies of a detailed photo are well smaller than the
// JPEG, so that a browser that takes them fetches less, and look nearly as close to it: this fine
// random texture is the hardest case for them (on camera photos they match the JPEG).
TEST_F(ImageMakerTest, WebpAndAvifAreSmallerAndLookNearlyAsTheJpeg) {
    WriteDetailedPhoto("photo.png");
    ASSERT_TRUE(Make("photo.png", 1200, false, false,
                     {{"a.webp", 1200, ImageFormat::WebP}, {"a.avif", 1200, ImageFormat::Avif}}));
    const double jpeg = static_cast<double>(ReadBytes("out").size());
    const double jpegSsim = Ssim("photo.png", "out");
    for (const auto& [file, most] : {std::pair{"a.webp", 0.8}, std::pair{"a.avif", 0.6}}) {
        EXPECT_LE(static_cast<double>(ReadBytes(file).size()), most * jpeg) << file;
        EXPECT_GE(Ssim("photo.png", file), jpegSsim - 0.02) << file;
    }
}

// A photo in a wider colour space than the web's is shown in its colours: sRGB red stored as
// Display P3 comes out as sRGB red again, not as the duller red its stored numbers would read as.
TEST_F(ImageMakerTest, CopiesShowThePhotosColoursInSrgb) {
    VImage red =
        (VImage::black(8, 8, VImage::option()->set("bands", 3)) + std::vector<double>{255, 0, 0})
            .cast(VIPS_FORMAT_UCHAR);
    red.icc_transform("p3", VImage::option()->set("input_profile", "srgb"))
        .jpegsave("p3.jpg", VImage::option()->set("Q", 95));
    ASSERT_TRUE(Make("p3.jpg", 8));
    const std::vector<double> pixel = VImage::new_from_file("out").getpoint(4, 4);
    EXPECT_GT(pixel[0], 245);
    EXPECT_LT(pixel[1], 15);
}

// A HEIC photo becomes a JPEG of its own size, without its details unless they are kept.
TEST_F(ImageMakerTest, MakesAFullSizeJpegOfAHeicPhoto) {
    VImage::black(64, 48, VImage::option()->set("bands", 3))
        .cast(VIPS_FORMAT_UCHAR)
        .heifsave("p.heic");
    ASSERT_TRUE(Make("p.heic", 0));
    const Made made = Inspect("out");
    EXPECT_EQ(made.width, 64);
    EXPECT_EQ(made.height, 48);
    EXPECT_EQ(ReadBytes("out").substr(0, 2), "\xFF\xD8");
}

// What exiftool reads in the files it is given, every tag named with its group.
std::string ExifTool(const std::string& arguments) {
    std::string said;
    FILE* pipe = popen(("exiftool -j -G -a -q -q " + arguments).c_str(), "r");
    if (pipe == nullptr) return said;
    char block[4096];
    for (size_t read = 0; (read = fread(block, 1, sizeof block, pipe)) > 0;)
        said.append(block, read);
    pclose(pipe);
    return said;
}

// What of the location, the camera or the photo's own text a scan may show.
constexpr std::array<std::string_view, 5> kPrivate = {"GPS", ":Make\"", ":Model\"", "SerialNumber",
                                                      "secret"};

// A show in the phone look, with web copies of every size and format, thumbnails and AVIF, made
// from photos that carry their location, camera and serial number and their own title,
// description and keywords (a JPEG, a transparent PNG with text and EXIF chunks, a HEIC, a GIF
// with a comment and XMP): exiftool finds none of it in any picture published.
TEST_F(ImageMakerTest, NoPublishedPictureCarriesTheLocationCameraOrPhotoText) {
    const std::string details =
        "exiftool -q -q -overwrite_original -GPSLatitude=48.8583 -GPSLatitudeRef=N "
        "-GPSLongitude=2.2945 -GPSLongitudeRef=E -Make=Canon -Model=EOS -SerialNumber=4711 "
        "-XMP-dc:Title=secret-title -XMP-dc:Description=secret-description "
        "-XMP-dc:Subject=secret-keyword ";
    VImage::black(900, 600, VImage::option()->set("bands", 3))
        .cast(VIPS_FORMAT_UCHAR)
        .jpegsave("p.jpg");
    VImage::black(900, 600, VImage::option()->set("bands", 4))
        .cast(VIPS_FORMAT_UCHAR)
        .pngsave("q.png");
    VImage::black(64, 48).cast(VIPS_FORMAT_UCHAR).gifsave("g.gif");
    ASSERT_EQ(std::system((details + "-IPTC:Keywords=secret-iptc p.jpg").c_str()), 0);
    ASSERT_EQ(std::system((details + "-PNG:Comment=secret-comment q.png").c_str()), 0);
    ASSERT_EQ(std::system("exiftool -q -q -overwrite_original -Comment=secret-comment "
                          "-XMP-dc:Title=secret-title g.gif"),
              0);
    VImage::new_from_file("p.jpg").heifsave("h.heic");
    const std::string sources = ExifTool("p.jpg q.png g.gif h.heic");
    for (const std::string_view detail : kPrivate)
        EXPECT_NE(sources.find(detail), std::string::npos) << detail;
    std::vector<ImageEntry> entries;
    for (const char* name : {"p.jpg", "q.png", "g.gif", "h.heic"})
        entries.push_back({name, "", "", "", "", "", "", name});
    std::vector<const ImageEntry*> rows;
    for (const ImageEntry& entry : entries) rows.push_back(&entry);
    fs::create_directory("web");
    RealFileOps ops;
    TagSet tags;
    WebShow web;
    web.settings = {800, 85, 200, false, "", true, ""};
    web.overviewText = ReadBytes(VISTELLO_TEMPLATES "/phone-overview.htm");
    web.maker = &maker;
    const PageSetResult result = WritePageSet(ops, rows, ReadBytes(VISTELLO_TEMPLATES "/phone.htm"),
                                              tags, "web/", {}, nullptr, &web);
    EXPECT_EQ(result.imagesFailed, 0) << ::testing::PrintToString(result.failures);
    std::map<std::string, int> pictures;
    for (const auto& item : fs::recursive_directory_iterator("web")) {
        const std::string extension = item.path().extension().string();
        if (extension != ".htm" && !extension.empty()) ++pictures[extension];
    }
    EXPECT_EQ(pictures, (std::map<std::string, int>{
                            {".avif", 9}, {".gif", 1}, {".jpg", 10}, {".png", 6}, {".webp", 16}}));
    const std::string published = ExifTool("-r -ext jpg -ext png -ext webp -ext avif -ext gif web");
    size_t scanned = 0;
    for (size_t at = 0; (at = published.find("\"SourceFile\"", at)) != std::string::npos; ++at)
        ++scanned;
    EXPECT_EQ(scanned, 42u);
    std::vector<std::string_view> found;
    for (const std::string_view detail : kPrivate) {
        if (published.find(detail) != std::string::npos) found.push_back(detail);
    }
    EXPECT_TRUE(found.empty()) << ::testing::PrintToString(found) << " in " << published;
}

// A sound PNG header that claims 20,000 by 20,000 pixels is refused before anything is decoded;
// each refusal says why.
TEST_F(ImageMakerTest, RefusesImagesOfMorePixelsThanIsSafe) {
    VImage::black(8, 8).cast(VIPS_FORMAT_UCHAR).pngsave("small.png");
    std::string png = ReadBytes("small.png");
    const char huge[] = {0, 0, 0x4E, 0x20, 0, 0, 0x4E, 0x20};
    png.replace(16, 8, huge, 8);
    const uint32_t crc = Crc32(std::string_view(png).substr(12, 17));
    for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    WriteBytes("bomb.png", png);
    EXPECT_FALSE(Make("bomb.png", 100));
    EXPECT_EQ(reason, "larger than 250 megapixels");
    WriteBytes("small.txt", "just words");
    EXPECT_FALSE(Make("small.txt", 100));
    EXPECT_EQ(reason, "not a known image format");
}

// Photos cut short and photos with bytes overwritten go through a whole Generate: each is made
// whole or counted as failed, and nothing half made is left behind; a photo cut short is never
// published half grey.
TEST_F(ImageMakerTest, DamagedPhotosAreMadeWholeOrCountedAsFailed) {
    WritePhoto("photo.jpg", 64, 48, 1, false);
    const std::string whole = ReadBytes("photo.jpg");
    std::vector<ImageEntry> entries;
    for (size_t cut = whole.size() / 16; cut < whole.size(); cut += whole.size() / 16) {
        std::string damaged = whole.substr(0, cut);
        const std::string name = "cut" + std::to_string(cut) + ".jpg";
        WriteBytes(name, damaged);
        entries.push_back({name, "", "", "", "", "", "", name});
        damaged = whole;
        for (size_t at = cut; at < damaged.size(); at += 97) damaged[at] = static_cast<char>(at);
        WriteBytes("x" + name, damaged);
        entries.push_back({"x" + name, "", "", "", "", "", "", "x" + name});
    }
    std::vector<const ImageEntry*> rows;
    for (const ImageEntry& entry : entries) rows.push_back(&entry);
    fs::create_directory("web");
    RealFileOps ops;
    TagSet tags;
    WebShow web;
    web.settings.largestSide = 32;
    web.maker = &maker;
    const PageSetResult result =
        WritePageSet(ops, rows, "<<IMAGEPATH>>", tags, "web/", {}, nullptr, &web);
    int made = 0;
    for (const auto& item : fs::directory_iterator("web")) {
        const std::string name = item.path().filename().string();
        EXPECT_FALSE(name.ends_with(".part")) << name;
        if (!name.ends_with(".jpg")) continue;
        ++made;
        EXPECT_NO_THROW(VImage::new_from_file(item.path().c_str()).avg()) << name;
    }
    EXPECT_EQ(made + result.imagesFailed, static_cast<int>(rows.size()));
    for (const ImageEntry& entry : entries) {
        if (entry.imagePath.starts_with("cut")) {
            EXPECT_FALSE(fs::exists("web/" + entry.imagePath)) << entry.imagePath;
        }
    }
}

// The library shrinks with its code generator on, and a compile or free of generated code waits
// while another thread holds the generator: two at once tear the generator's list of code.
TEST(VectorCodeTest, TheGeneratorIsOnAndItsFreesWaitForEachOther) {
    VipsImageMaker maker;
    EXPECT_EQ(maker.Examine("none.jpg"), std::nullopt);
    EXPECT_TRUE(vips_vector_isenabled());
    std::atomic<bool> freed = false;
    std::unique_lock held(VectorCodeLock());
    std::jthread other([&freed] {
        vips_vector_free(vips_vector_new("other", 1));
        freed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(freed);
    held.unlock();
    other.join();
    EXPECT_TRUE(freed);
}

// The program reaches the library through its module: the first place that holds one serves, and
// with none every image fails with the reason rather than being copied as if no format were known.
TEST(ImageModuleTest, LoadsTheFirstModuleThereOrFailsEachImageWithTheReason) {
    ScratchDir dir;
    WritePhoto(dir / "photo.jpg", 400, 300, 1, false);
    ImageModule module({dir / "none.so", VISTELLO_IMAGE_MODULE});
    EXPECT_EQ(module.Examine(dir / "photo.jpg").value_or(ImageFacts{}).width, 400);
    ImageModule missing({dir / "none.so"});
    EXPECT_EQ(missing.Examine(dir / "photo.jpg"), std::nullopt);
    EXPECT_THAT(missing.Make({}).failure, ::testing::HasSubstr("none.so"));
    // The library the module loads finds the module's compile and free of generated code first.
    void* loaded = ::dlopen(VISTELLO_IMAGE_MODULE, RTLD_NOW | RTLD_LOCAL);
    for (const char* name : {"orc_program_compile", "orc_program_free"}) {
        Dl_info found{};
        ASSERT_NE(::dladdr(::dlsym(loaded, name), &found), 0) << name;
        EXPECT_STREQ(found.dli_fname, VISTELLO_IMAGE_MODULE) << name;
    }
    ::dlclose(loaded);
}

// Each format's own number for the user's quality, between the measured points on a straight
// line, and never outside the encoders' range.
TEST(FormatQualityTest, WebpAndAvifTakeTheirOwnNumbersForTheUsersQuality) {
    const std::vector<std::array<int, 3>> cases = {{-5, 1, 1},     {1, 1, 1},    {50, 35, 44},
                                                   {60, 45, 48},   {85, 78, 62}, {100, 100, 100},
                                                   {101, 100, 100}};
    for (const auto& [jpeg, webp, avif] : cases) {
        EXPECT_EQ(EncoderQuality(ImageFormat::WebP, jpeg), webp) << jpeg;
        EXPECT_EQ(EncoderQuality(ImageFormat::Avif, jpeg), avif) << jpeg;
    }
    EXPECT_EQ(EncoderQuality(ImageFormat::Jpeg, 85), 85);
}

}  // namespace
}  // namespace vistello::testing
