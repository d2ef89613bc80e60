#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>

#include "files/leftovers.h"
#include "files/unique_names.h"
#include "generator/page_set.h"
#include "support/fake_clip_maker.h"
#include "support/fake_image_maker.h"
#include "support/fake_photo_reader.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;
using namespace std::string_literals;

// A looping GIF of one pixel with a comment, an XMP block and bytes past its end; and the same
// without them, as it is published.
const std::string kGifStart = "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF"s +
                              "\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"s;
const std::string kGifFrame = "\x21\xF9\x04\x00\x0A\x00\x00\x00"s +
                              "\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3B"s;
const std::string kGif = kGifStart + "\x21\xFE\x06secret\x00"s +
                         "\x21\xFF\x0BXMP DataXMP\x05title\x00"s + kGifFrame + "after the end";
const std::string kBareGif = kGifStart + kGifFrame;

// Whether the bytes are UTF-8 throughout, no character cut.
bool ValidUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const size_t length = lead < 0x80       ? 1
                              : lead >> 5 == 6  ? 2
                              : lead >> 4 == 14 ? 3
                              : lead >> 3 == 30 ? 4
                                                : 0;
        if (length == 0 || at + length > text.size()) return false;
        for (size_t i = 1; i < length; ++i) {
            if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return false;
        }
        at += length;
    }
    return true;
}

// Every file under the folder, by its path from there, with its bytes.
Files Contents(const std::string& folder) {
    Files files;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        if (item.is_regular_file())
            files[fs::relative(item.path(), folder).string()] = ReadBytes(item.path().string());
    }
    return files;
}

// A show of entries (title, image) into "out/", with the settings given.
class WebShowTest : public ::testing::Test {
protected:
    WebShowTest() { fs::create_directories("out"); }

    PageSetResult Generate(std::function<bool(int, int)> onImage = {}) {
        std::vector<const ImageEntry*> rows;
        for (const ImageEntry& entry : entries) rows.push_back(&entry);
        const WebShow web{settings, overview, &images,   std::move(onImage),
                          threads,  &photos,  clipMaker, onClip,
                          project,  "t.htm"};
        return WritePageSet(ops, rows, page, tags, "out/", {}, memory, &web);
    }
    void Add(const std::string& title, const std::string& image, const std::string& kind) {
        WriteMedia(image, kind);
        entries.push_back({title, "", "", "", "", "", "", image});
    }

    ScratchDir scratch;
    RealFileOps ops;
    FakeImageMaker images;
    FakePhotoReader photos;
    TagSet tags;
    std::string page = "<<INDEX>>|<<BACK>>|<<IMAGEPATH>>";
    PageSetMemory* memory = nullptr;
    FakeClipMaker clips;
    ClipMaker* clipMaker = &clips;
    std::function<bool(int, int, int)> onClip;
    std::vector<ImageEntry> entries;
    WebSettings settings{2048, 85, 400, false, "", false, ""};
    std::string overview;
    int threads = 2;
    // None, so that only the tests of what Generate removes see the record of who wrote what.
    std::string project;
};

// Photos become JPEG web copies, told apart when their names meet; a transparent image stays
// PNG; a GIF is published without the text it carries and a format the library cannot read is
// copied as it is; one that fails to
// decode is counted, with the library's reason. A second run, which knows the images from the
// first, publishes the same. Thumbnails lie in their folder, and the overview page, named before
// any page, repeats its block with each slide's page and thumbnail; every page links to it.
TEST_F(WebShowTest, PublishesWebCopiesThumbnailsAndAnOverviewPage) {
    Add("A tif", "a.tif", "photo");
    Add("A jpg", "a.jpg", "photo");
    Add("Logo", "logo.png", "alpha");
    Add("Anim", "anim.gif", kGif);
    Add("Notes", "notes.xyz", "unknown");
    Add("Bad", "bad.jpg", "bad");
    entries.push_back({"Index", "", "", "", "", "", "", "a.jpg"});
    overview = "head<<SLIDES>>[<<PAGE>> <<THUMBPATH>> <<IMAGETITLE>>]<<ENDSLIDES>>tail";
    const PageSetResult result = Generate();
    EXPECT_EQ(result.imagesFailed, 1);
    EXPECT_EQ(result.failures,
              std::vector<std::string>{
                  "bad.jpg: could not be made into out/bad.jpg: image file is truncated"});
    EXPECT_EQ(result.firstPage, "index.htm");
    Files files = Contents("out");
    files.erase(".vistello-images");
    const std::string link = "<a href=index.htm>Index</a>|";
    EXPECT_EQ(files,
              (Files{{"a.jpg", "photo@2048q85jpg"},
                     {"a_2.jpg", "photo@2048q85jpg"},
                     {"logo.png", "alpha@2048q85png"},
                     {"anim.gif", kBareGif},
                     {"notes.xyz", MediaBytes("notes.xyz", "unknown")},
                     {"thumbs/a.jpg", "photo@400q85jpg"},
                     {"thumbs/a_2.jpg", "photo@400q85jpg"},
                     {"thumbs/logo.png", "alpha@400q85png"},
                     {"thumbs/anim.jpg", "gif@400q85jpg"},
                     {"a_tif.htm", link + "|\"a.jpg\""},
                     {"a_jpg.htm", link + "<a href=a_tif.htm>Back</a>|\"a_2.jpg\""},
                     {"logo.htm", link + "<a href=a_jpg.htm>Back</a>|\"logo.png\""},
                     {"anim.htm", link + "<a href=logo.htm>Back</a>|\"anim.gif\""},
                     {"notes.htm", link + "<a href=anim.htm>Back</a>|\"notes.xyz\""},
                     {"bad.htm", link + "<a href=notes.htm>Back</a>|\"bad.jpg\""},
                     {"index_2.htm", link + "<a href=bad.htm>Back</a>|\"a_2.jpg\""},
                     {"index.htm",
                      "head[\"a_tif.htm\" \"thumbs/a.jpg\" A tif][\"a_jpg.htm\" \"thumbs/a_2.jpg\" "
                      "A jpg][\"logo.htm\" \"thumbs/logo.png\" Logo][\"anim.htm\" "
                      "\"thumbs/anim.jpg\" Anim][\"notes.htm\" \"notes.xyz\" Notes][\"bad.htm\" "
                      "\"thumbs/bad.jpg\" Bad][\"index_2.htm\" \"thumbs/a_2.jpg\" Index]tail"}}));
    Generate();
    Files again = Contents("out");
    again.erase(".vistello-images");
    EXPECT_EQ(again, files);
    // A show without clips never starts the video tools to find them.
    EXPECT_EQ(clips.asked, 0);
}

// A photo's copy and thumbnail are made from one decode. A second run makes nothing, after a title
// changed too; a changed source remakes its own files, keeping the camera's details remakes the
// copies apart from the thumbnails (which never keep them and stay), changed settings remake all,
// and a made file that went missing is made again.
TEST_F(WebShowTest, RemakesImagesOnlyWhenTheirSourceOrTheSettingsChange) {
    Add("A", "a.jpg", "photo");
    Add("B", "b.jpg", "photo");
    const auto made = [this] {
        images.made = 0;
        EXPECT_TRUE(Generate().failures.empty());
        return images.made.load();
    };
    EXPECT_EQ(made(), 2);
    EXPECT_EQ(ReadBytes("out/a.htm"), "||\"a.jpg\"");
    EXPECT_EQ(ReadBytes("out/thumbs/a.jpg"), "photo@400q85jpg");
    entries[0].title = "Renamed";
    EXPECT_EQ(made(), 0);
    EXPECT_EQ(images.examined, 2);
    WriteMedia("b.jpg", "photo, edited");
    EXPECT_EQ(made(), 1);
    EXPECT_EQ(ReadBytes("out/b.jpg"), "photo, edited@2048q85jpg");
    settings.keepDetails = true;
    EXPECT_EQ(made(), 2);
    settings.quality = 60;
    EXPECT_EQ(made(), 4);
    fs::remove("out/thumbs/a.jpg");
    EXPECT_EQ(made(), 1);
}

// A WebP copy recorded as made by a saver asked to strip the details, which left them in, is made
// again; a JPEG thumbnail, whose saver did strip them, is not.
TEST_F(WebShowTest, AWebpCopyThatKeptTheDetailsIsMadeAgain) {
    Add("A", "a.jpg", "photo");
    page = "<<MEDIA>>";
    Generate();
    std::string record = ReadBytes("out/.vistello-images");
    for (size_t at = 0; (at = record.find("webp/bare", at)) != std::string::npos;)
        record.replace(at, 9, "webp/strip");
    WriteBytes("out/.vistello-images", record);
    images.made = 0;
    Generate();
    EXPECT_EQ(images.made, 1);
}

// A photo that lies in the output folder keeps its own name, and so its original: the copy takes
// the next free name, as do names that differ only in case, and a long name stays one the file
// system can hold.
TEST_F(WebShowTest, NeverReplacesAnOriginalNorNamesTwoCopiesAlikeButForCase) {
    Add("In place", "out/p.jpg", "photo");
    Add("Upper", "A.png", "photo");
    Add("Lower", "a.jpg", "photo");
    const std::string longName = std::string(251, 'n') + ".jpg";
    fs::create_directory("other");
    Add("Long", longName, "photo");
    Add("Long too", "other/" + longName, "photo");
    EXPECT_TRUE(Generate().failures.empty());
    EXPECT_TRUE(fs::exists("out/" + std::string(249, 'n') + "_2.jpg"));
    EXPECT_EQ(ReadBytes("out/p.jpg"), MediaBytes("p.jpg", "photo"));
    EXPECT_EQ(ReadBytes("out/p_2.jpg"), "photo@2048q85jpg");
    EXPECT_EQ(ReadBytes("out/in_place.htm"), "||\"p_2.jpg\"");
    EXPECT_TRUE(fs::exists("out/A.jpg") && fs::exists("out/a_2.jpg"));
}

// Cancel lets the image in hand finish and starts no other, writes no page, and leaves no part
// of a file; the next run makes only what is missing.
TEST_F(WebShowTest, CancelStopsBetweenImagesAndLeavesOnlyWholeFiles) {
    threads = 1;
    for (const char* name : {"a", "b", "c"}) Add(name, std::string(name) + ".jpg", "photo");
    const PageSetResult result = Generate([](int, int) { return !fs::exists("out/a.jpg"); });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.pagesWritten, 0);
    EXPECT_EQ(scratch.Names("out"), (std::set<std::string>{".vistello-images", "a.jpg", "thumbs"}));
    EXPECT_EQ(scratch.Names("out/thumbs"), std::set<std::string>{"a.jpg"});
    images.made = 0;
    EXPECT_FALSE(Generate().stopped);
    EXPECT_EQ(images.made, 2);
}

// A web copy the user made read-only is kept, whole, and counted with its reason; one that is a
// link is replaced by the copy, and the file it led to left alone. Nothing is left beside them.
TEST_F(WebShowTest, MadeImagesAreWrittenAsSafelyAsPages) {
    settings.thumbnailSide = 0;
    Add("A", "a.jpg", "photo");
    Add("B", "b.jpg", "photo");
    Generate();
    fs::permissions("out/a.jpg", fs::perms::owner_read);
    fs::rename("out/b.jpg", "kept.jpg");
    fs::create_symlink("../kept.jpg", "out/b.jpg");
    WriteMedia("a.jpg", "photo, edited");
    WriteMedia("b.jpg", "photo, edited");
    const PageSetResult result = Generate();
    EXPECT_EQ(result.failures, std::vector<std::string>{"a.jpg: could not be made into out/a.jpg: "
                                                        "Permission denied"});
    EXPECT_EQ(ReadBytes("out/a.jpg"), "photo@2048q85jpg");
    EXPECT_EQ(fs::status("out/a.jpg").permissions(), fs::perms::owner_read);
    EXPECT_EQ(ReadBytes("out/b.jpg"), "photo, edited@2048q85jpg");
    EXPECT_EQ(ReadBytes("kept.jpg"), "photo@2048q85jpg");
    EXPECT_EQ(scratch.Names("out"),
              (std::set<std::string>{".vistello-images", "a.jpg", "a.htm", "b.jpg", "b.htm"}));
}

// What a killed run left half written is cleared by the next run into the folder; what a run
// under way now writes, here or on another machine sharing the folder, and the record of made
// files, stay. Another machine's temporary untouched for days is cleared too.
TEST_F(WebShowTest, ClearsTheTemporariesOfAKilledRun) {
    fs::create_directories("out/thumbs");
    const std::string live = TemporaryName("abcdefghijk", ::getppid());
    const std::string elsewhere = ".vistello-2147483646-ZZZdefghijk";
    WriteBytes("out/.vistello-2147483646-notes.txt", "mine");
    for (const std::string& name :
         {"out/" + TemporaryName("abcdefghijk", 2147483646),
          "out/thumbs/" + TemporaryName("bcdefghijkl", 2147483646), "out/" + live,
          "out/" + elsewhere, std::string("out/.vistello-2147483646-YYYdefghijk")})
        WriteBytes(name, "half");
    fs::last_write_time("out/.vistello-2147483646-YYYdefghijk",
                        fs::file_time_type::clock::now() - std::chrono::hours(25));
    fs::last_write_time("out/" + elsewhere,
                        fs::file_time_type::clock::now() - std::chrono::hours(23));
    Add("A", "a.jpg", "photo");
    Generate();
    EXPECT_EQ(scratch.Names("out"),
              (std::set<std::string>{".vistello-images", ".vistello-2147483646-notes.txt", "a.jpg",
                                     "a.htm", "thumbs", live, elsewhere}));
    EXPECT_EQ(scratch.Names("out/thumbs"), std::set<std::string>{"a.jpg"});
}

// Every name made from a photo's or a clip's fits the file system, however long theirs is, with
// what tells it apart kept; a second run finds every file made.
TEST_F(WebShowTest, MadeNamesFitTheFileSystem) {
    const std::string stem(248, 'x');
    Add("Photo", stem + ".jpg", "photo");
    Add("Clip", stem + ".mov", "waves");
    settings.avif = true;
    page = "<<MEDIA>>";
    overview = "<<SLIDES>><<THUMBNAIL>><<ENDSLIDES>>";
    EXPECT_EQ(Generate().failures, std::vector<std::string>{});
    const Files files = Contents("out");
    for (const auto& [path, bytes] : files)
        EXPECT_LE(fs::path(path).filename().string().size(), kMaxFileNameBytes) << path;
    EXPECT_TRUE(files.contains(stem.substr(0, 243) + "-480.jpg"));
    EXPECT_TRUE(files.contains("thumbs/" + stem.substr(0, 243) + "-2x.webp"));
    const int made = images.made;
    EXPECT_EQ(Generate().failures, std::vector<std::string>{});
    EXPECT_EQ(images.made, made);

    // Names of characters of two, three and four bytes are cut between characters.
    fs::remove_all("out");
    fs::create_directories("out");
    entries.clear();
    for (const std::string character : {"\u00e9", "\u20ac", "\U0001F600"}) {
        std::string name;
        while (name.size() + character.size() + 4 <= 252) name += character;
        Add(character, name + ".jpg", "photo");
    }
    EXPECT_EQ(Generate().failures, std::vector<std::string>{});
    for (const auto& [path, bytes] : Contents("out")) {
        const std::string name = fs::path(path).filename().string();
        EXPECT_LE(name.size(), kMaxFileNameBytes) << path;
        EXPECT_TRUE(ValidUtf8(name)) << path;
    }
}

// A photo copied as it is and changed within the same second, to the same size, is copied again.
TEST_F(WebShowTest, APhotoChangedWithinASecondIsCopiedAgain) {
    settings = {0, 85, 0, false, "", false, ""};
    Add("Sea", "sea.jpg", "photo");
    Generate();
    struct stat info {};
    ASSERT_EQ(::stat("sea.jpg", &info), 0);
    WriteMedia("sea.jpg", "PHOTO");
    struct timespec times[2] = {info.st_atim, info.st_mtim};
    times[1].tv_nsec = (times[1].tv_nsec + 1) % 1000000000;
    ASSERT_EQ(::utimensat(AT_FDCWD, "sea.jpg", times, 0), 0);
    Generate();
    EXPECT_EQ(ReadBytes("out/sea.jpg"), MediaBytes("sea.jpg", "PHOTO"));
}

// A web copy made when no page asked for its size is measured once a page does; a picture the
// library cannot measure has no size rather than none at all.
TEST_F(WebShowTest, APictureMadeWithoutItsSizeIsMeasuredWhenAPageAsks) {
    Add("Sea", "sea.jpg", "photo");
    Add("Odd", "odd.jpg", "unknown");
    page = "<<IMAGEPATH>>";
    Generate();
    page = "<<IMAGEWIDTH>>x<<IMAGEHEIGHT>>";
    Generate();
    EXPECT_EQ(ReadBytes("out/sea.htm"), "2048x1536");
    EXPECT_EQ(ReadBytes("out/odd.htm"), "x");
}

// A photo named by two paths, or through a link, is one photo: examined and made once, under one
// name. A GIF, which is not decoded, is not examined again on the next run.
TEST_F(WebShowTest, APhotoIsKnownByItsFileAndExaminedOnce) {
    fs::create_directory("pics");
    Add("A", "pics/a.jpg", "photo");
    entries.push_back({"Again", "", "", "", "", "", "", "./pics/a.jpg"});
    fs::create_symlink("pics/a.jpg", "link.jpg");
    entries.push_back({"Linked", "", "", "", "", "", "", "link.jpg"});
    Add("Anim", "anim.gif", kGif);
    settings.thumbnailSide = 0;
    EXPECT_TRUE(Generate().failures.empty());
    EXPECT_EQ(images.examined, 2);
    EXPECT_EQ(images.made, 1);
    EXPECT_TRUE(ReadBytes("out/again.htm").ends_with("|\"a.jpg\""));
    EXPECT_TRUE(ReadBytes("out/linked.htm").ends_with("|\"a.jpg\""));
    EXPECT_FALSE(fs::exists("out/a_2.jpg"));
    EXPECT_TRUE(Generate().failures.empty());
    EXPECT_EQ(images.examined, 2);
}

// A GIF keeps its frames and looping byte for byte, but no comment, XMP or bytes past its end, and
// never under the name of an original in the output folder; one whose blocks do not add up is
// refused. With the camera's details kept it is copied as it is.
TEST_F(WebShowTest, AGifIsPublishedWithoutTheTextItCarries) {
    Add("Anim", "anim.gif", kGif);
    Add("Mine", "out/mine.gif", kGif);
    Add("Cut", "cut.gif", kGif.substr(0, 40));
    const PageSetResult result = Generate();
    EXPECT_EQ(ReadBytes("out/anim.gif"), kBareGif);
    EXPECT_EQ(ReadBytes("out/mine_2.gif"), kBareGif);
    EXPECT_EQ(ReadBytes("out/mine.gif"), kGif);
    EXPECT_EQ(result.failures,
              std::vector<std::string>{
                  "cut.gif: could not be made into out/cut.gif: the GIF is damaged"});
    EXPECT_FALSE(fs::exists("out/cut.gif"));
    settings.keepDetails = true;
    EXPECT_EQ(Generate().imagesFailed, 0);
    EXPECT_EQ(ReadBytes("out/anim.gif"), kGif);
}

// When the image library gives way on one photo, the run ends with its reason: no page is
// written, the other images stay whole, nothing is left half made, and the library lets go of what
// each picture thread kept for every photo it examined or made.
TEST_F(WebShowTest, ALibraryThatGivesWayEndsTheRunWithItsReason) {
    threads = 1;
    Add("A", "a.jpg", "photo");
    Add("Boom", "boom.jpg", "throw");
    Add("C", "c.jpg", "photo");
    const PageSetResult result = Generate();
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.failure, "out of memory");
    EXPECT_EQ(result.pagesWritten, 0);
    EXPECT_EQ(images.threadsEnded, images.examined + images.made);
    for (const std::string& name : scratch.Names("out"))
        EXPECT_TRUE(name == ".vistello-images" || name == "a.jpg" || name == "thumbs") << name;
    EXPECT_EQ(ReadBytes("out/a.jpg"), "photo@2048q85jpg");
}

// A record of made images cut short or overwritten with junk costs only what it no longer says:
// those images are made again, and the record is whole once more.
TEST_F(WebShowTest, ADamagedRecordCostsOnlyWhatItNoLongerSays) {
    settings.thumbnailSide = 0;
    Add("A", "a.jpg", "photo");
    Add("B", "b.jpg", "photo");
    Generate();
    const std::string record = ReadBytes("out/.vistello-images");
    const auto made = [this] {
        images.made = 0;
        EXPECT_TRUE(Generate().failures.empty());
        return images.made.load();
    };
    WriteBytes("out/.vistello-images", record.substr(0, record.size() - 5));
    EXPECT_EQ(made(), 1);
    WriteBytes("out/.vistello-images", std::string("M\tjunk\t\xff\n\0F\t%zz\t1", 15));
    EXPECT_EQ(made(), 2);
    EXPECT_EQ(made(), 0);
}

// With no web settings a photo that not every browser shows becomes a full-size JPEG (PNG where
// transparent) named after it, counted as converted; the others are copied as they are.
TEST_F(WebShowTest, PhotosBrowsersCannotShowArePublishedInAFormatTheyCan) {
    settings = WebSettings{};
    Add("Phone", "IMG_1.HEIC", "photo");
    Add("Scan", "scan.tif", "alpha");
    Add("Camera", "IMG_1.jpg", "photo");
    const PageSetResult result = Generate();
    EXPECT_EQ(result.converted, 2);
    Files files = Contents("out");
    files.erase(".vistello-images");
    EXPECT_EQ(files, (Files{{"IMG_1.jpg", MediaBytes("IMG_1.jpg", "photo")},
                            {"IMG_1_2.jpg", "photo@0q85jpg"},
                            {"scan.png", "alpha@0q85png"},
                            {"phone.htm", "||\"IMG_1_2.jpg\""},
                            {"scan.htm", "|<a href=phone.htm>Back</a>|\"scan.png\""},
                            {"camera.htm", "|<a href=scan.htm>Back</a>|\"IMG_1.jpg\""}}));
    EXPECT_EQ(images.examined, 2);
}

// What a photo says of how it was taken goes into pages as text, read once per photo: a run whose
// templates do not ask for it reads nothing and records nothing, and a later run reads only a
// photo that changed, and remakes its page.
TEST_F(WebShowTest, ShootingDataIsReadOnceAndShownAsText) {
    PageSetMemory remembered;
    memory = &remembered;
    settings = {0, 85, 0, false, "", false, ""};
    Add("A", "a.jpg", "photo");
    Add("B", "b.jpg", "photo");
    photos.photos["a.jpg"].shooting = {"2026-05-14 18:32", "<b>&\"c\"", "<i>", "1/8 s"};
    Generate();
    EXPECT_EQ(photos.reads, 0);
    EXPECT_FALSE(fs::exists("out/.vistello-images"));

    page = "<<CAMERA>>|<<EXPOSURE>>|<<DATETAKEN>><<LENS>>";
    overview = "<<SLIDES>>[<<CAMERA>>]<<ENDSLIDES>>";
    Generate();
    EXPECT_EQ(photos.reads, 2);
    EXPECT_EQ(ReadBytes("out/a.htm"),
              "&lt;b&gt;&amp;&quot;c&quot;|1/8 s|2026-05-14 18:32&lt;i&gt;");
    EXPECT_EQ(ReadBytes("out/b.htm"), "||");
    EXPECT_EQ(ReadBytes("out/index.htm"), "[&lt;b&gt;&amp;&quot;c&quot;][]");
    Generate();
    EXPECT_EQ(photos.reads, 2);
    photos.photos["a.jpg"].shooting.camera = "Canon";
    WriteMedia("a.jpg", "a changed photo");
    Generate();
    EXPECT_EQ(photos.reads, 3);
    EXPECT_EQ(ReadBytes("out/a.htm"), "Canon|1/8 s|2026-05-14 18:32&lt;i&gt;");
}

}  // namespace
}  // namespace vistello::testing

namespace vistello::testing {
namespace {

using Attributes = std::map<std::string, std::string>;

// The attributes of every element of that name in the text, as a browser reads double-quoted
// ones.
std::vector<Attributes> Elements(const std::string& html, const std::string& name) {
    std::vector<Attributes> found;
    for (size_t at = html.find("<" + name + " "); at != std::string::npos;
         at = html.find("<" + name + " ", at + 1)) {
        Attributes attributes;
        const size_t end = html.find('>', at);
        for (size_t pos = at + name.size() + 2; pos < end;) {
            const size_t equals = html.find("=\"", pos);
            if (equals > end) break;
            const size_t close = html.find('"', equals + 2);
            attributes[html.substr(pos, equals - pos)] =
                html.substr(equals + 2, close - equals - 2);
            pos = close + 2;
        }
        found.push_back(attributes);
    }
    return found;
}

// "a-480.webp 480w, a.webp 2048w" as {file, width} pairs, the addresses decoded.
std::vector<std::pair<std::string, int>> Candidates(const std::string& srcset) {
    std::vector<std::pair<std::string, int>> candidates;
    std::istringstream words(srcset);
    std::string address;
    std::string width;
    while (words >> address >> width) {
        if (width.back() == ',') width.pop_back();
        std::string file;
        for (size_t i = 0; i < address.size(); ++i) {
            if (address[i] == '%') {
                file += static_cast<char>(std::stoi(address.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                file += address[i];
            }
        }
        candidates.emplace_back(file, std::stoi(width));
    }
    return candidates;
}

// The fake library writes what it made a file from: "photo@480q85webp" for 480 pixels on the
// longer side, which for a portrait photo of 3000 x 4000 is 360 wide.
int WidthOf(const std::string& made, bool portrait) {
    const int side = std::stoi(made.substr(made.find('@') + 1));
    return portrait ? (side * 3 + 2) / 4 : side;
}

// <<MEDIA>> offers every size in WebP and in the copy's own format, each file there with the width
// it claims, a tall photo at the same widths as a wide one (a phone 412 pixels wide at 2.6 times
// gets 1125 of a tall photo, not the whole copy), and reserves the copy's pixel size; a
// transparent image stays PNG, its thumbnails too. Nothing is made again in a second run, and a
// show whose templates do not ask makes no ladder at all.
TEST_F(WebShowTest, MediaOffersEveryMadeSizeWithItsWidth) {
    Add("Tall", "dusk, late.jpg", "portrait");
    Add("Logo", "logo.png", "alpha");
    Add("Small", "small.jpg", "small");
    page = "<<MEDIA>>";
    overview = "<<SLIDES>><<THUMBNAIL>><<ENDSLIDES>>";
    Generate();
    const int made = images.made;
    // Each photo decoded once, its thumbnail and sharper twins, in WebP too, made beside the copy.
    EXPECT_EQ(made, 3);
    const std::string index = ReadBytes("out/index.htm");
    EXPECT_EQ(Elements(index, "img").at(1).at("srcset"),
              "thumbs/logo.png 400w, thumbs/logo-2x.png 800w");
    EXPECT_EQ(Elements(index, "source").at(1).at("srcset"),
              "thumbs/logo.webp 400w, thumbs/logo-2x.webp 800w");
    EXPECT_EQ(ReadBytes("out/thumbs/logo-2x.png"), "alpha@800q85png");
    // Never enlarged, nor made twice: only the sizes below the photo's own.
    EXPECT_EQ(Candidates(Elements(ReadBytes("out/small.htm"), "img").at(0).at("srcset")),
              (std::vector<std::pair<std::string, int>>{
                  {"small-480.jpg", 480}, {"small-750.jpg", 750}, {"small.jpg", 1125}}));
    for (const auto& [title, portrait] : {std::pair{"tall", true}, std::pair{"logo", false}}) {
        const std::vector<int> widths = portrait ? std::vector{480, 750, 1125, 1290, 1536}
                                                 : std::vector{480, 750, 1125, 1290, 1600, 2048};
        const std::string html = ReadBytes("out/" + std::string(title) + ".htm");
        const std::vector<Attributes> img = Elements(html, "img");
        ASSERT_EQ(img.size(), 1u) << html;
        EXPECT_EQ(img[0].at("width"), portrait ? "1536" : "2048");
        EXPECT_EQ(img[0].at("height"), portrait ? "2048" : "1536");
        EXPECT_EQ(img[0].at("decoding"), "async");
        std::vector<std::string> srcsets = {img[0].at("srcset")};
        for (const Attributes& source : Elements(html, "source")) {
            EXPECT_EQ(source.at("type"), "image/webp");
            srcsets.push_back(source.at("srcset"));
        }
        ASSERT_EQ(srcsets.size(), 2u) << html;
        for (const std::string& srcset : srcsets) {
            std::vector<int> offered;
            for (const auto& [file, width] : Candidates(srcset)) {
                EXPECT_EQ(WidthOf(ReadBytes("out/" + file), portrait), width) << file;
                offered.push_back(width);
            }
            EXPECT_EQ(offered, widths) << srcset;
        }
        EXPECT_TRUE(srcsets[0].find(portrait ? ".jpg" : ".png") != std::string::npos);
    }
    Generate();
    EXPECT_EQ(images.made, made);
    page = "<<IMAGEPATH>>";
    fs::remove_all("out");
    fs::create_directories("out");
    Generate();
    EXPECT_FALSE(fs::exists("out/logo.webp"));
}

// Without web copies the image keeps its name and its own pixel size; the next page is fetched
// ahead, nothing after the last; the description goes into meta tags as plain text; the alt
// text stays inside its quotes, a typed character reference kept; the overview's thumbnails come
// with their sharper twins, in WebP too, and load lazily from the seventh on.
TEST_F(WebShowTest, PictureTagsOfPagesAndOverview) {
    settings = {0, 85, 100, false, "", false, ""};
    for (int i = 1; i <= 7; ++i) Add(std::to_string(i), std::to_string(i) + ".jpg", "photo");
    entries[0].description =
        "A <b title=\"a>b\">\"big\"</b> sky <!-- not > this --><STYLE>p{}</STYLE>&amp; sea";
    entries[0].alt = "a \"sail\" &eacute; <b>";
    page = "<<MEDIA>>|<<IMAGEWIDTH>>x<<IMAGEHEIGHT>>|<<PREFETCH>>|<<DESCRIPTIONTEXT>>";
    overview = "<<SLIDES>><<THUMBNAIL>><<ENDSLIDES>>";
    Generate();
    EXPECT_EQ(ReadBytes("out/1.htm"),
              "<img src=\"1.jpg\" width=\"4000\" height=\"3000\" alt=\"a &quot;sail&quot; "
              "&eacute; &lt;b&gt;\" decoding=\"async\" fetchpriority=\"high\">|"
              "4000x3000|<link rel=\"prefetch\" href=\"2.htm\">|"
              "A &quot;big&quot; sky &amp; sea");
    EXPECT_TRUE(ReadBytes("out/7.htm").ends_with("4000x3000||7"));
    const std::string index = ReadBytes("out/index.htm");
    const std::vector<Attributes> thumbnails = Elements(index, "img");
    ASSERT_EQ(thumbnails.size(), 7u);
    EXPECT_EQ(thumbnails[0].at("srcset"), "thumbs/1.jpg 100w, thumbs/1-2x.jpg 200w");
    EXPECT_EQ(thumbnails[0].at("sizes"), "(max-width: 200px) 50vw, 100px");
    EXPECT_EQ(Elements(index, "source").at(0).at("srcset"),
              "thumbs/1.webp 100w, thumbs/1-2x.webp 200w");
    EXPECT_EQ(ReadBytes("out/thumbs/1-2x.jpg"), "photo@200q85jpg");
    EXPECT_EQ(ReadBytes("out/thumbs/1-2x.webp"), "photo@200q85webp");
    EXPECT_EQ(thumbnails[0].at("width"), "100");
    EXPECT_EQ(thumbnails[0].at("alt"), "a &quot;sail&quot; &eacute; &lt;b&gt;");
    EXPECT_FALSE(thumbnails[5].contains("loading"));
    EXPECT_EQ(thumbnails[6].at("loading"), "lazy");
}

// A clip becomes an MP4 beside its poster and the poster's thumbnail, and its page plays it; one
// the tools cannot convert is counted with their reason and leaves nothing behind. A second run
// makes nothing. Without the tools, clips are copied as they are, the run says why, and the page
// still plays them.
TEST_F(WebShowTest, ClipsBecomeWebVersionsWithPostersAndThumbnails) {
    Add("Boats", "boats.MOV", "waves");
    Add("Bad", "bad.mp4", "bad");
    page = "<<IMAGEPATH>>|<<POSTERPATH>>|<<MEDIA>>";
    overview = "<<SLIDES>><<THUMBPATH>>;<<THUMBNAIL>>;<<ENDSLIDES>>";
    PageSetResult result = Generate();
    EXPECT_EQ(result.failures,
              std::vector<std::string>{"bad.mp4: could not be made into out/bad.mp4: Invalid "
                                       "data found when processing input"});
    Files files = Contents("out");
    files.erase(".vistello-images");
    EXPECT_EQ(files["boats.mp4"], "waves@2048");
    EXPECT_EQ(files["boats.jpg"], "poster of waves");
    EXPECT_EQ(files["thumbs/boats.jpg"], "poster of waves@400q85jpg");
    EXPECT_EQ(files["boats.htm"],
              "\"boats.mp4\"|\"boats.jpg\"|<video controls playsinline preload=\"metadata\" "
              "poster=\"boats.jpg\" width=\"1280\" height=\"720\"><source src=\"boats.mp4\" "
              "type=\"video/mp4\"><a href=\"boats.mp4\" download>Download the clip</a></video>");
    EXPECT_TRUE(files["index.htm"].starts_with(
        "\"thumbs/boats.jpg\";<img src=\"thumbs/boats.jpg\" width=\"400\" height=\"300\" alt=\"\" "
        "data-clip>;"))
        << files["index.htm"];
    EXPECT_EQ(files.size(), 6u);
    const int made = clips.made;
    Generate();
    EXPECT_EQ(clips.made, made + 1);

    clips.unavailable = "ffmpeg is not installed";
    fs::remove_all("out");
    fs::create_directories("out");
    result = Generate();
    EXPECT_EQ(result.clipsCopied, "ffmpeg is not installed");
    EXPECT_EQ(ReadBytes("out/boats.MOV"), MediaBytes("boats.MOV", "waves"));
    // Its tile is a play sign, not a picture that cannot be shown.
    EXPECT_TRUE(ReadBytes("out/index.htm")
                    .starts_with("\"clip.svg\";<img src=\"clip.svg\" width=\"320\" "
                                 "height=\"180\" alt=\"\" data-clip>;"))
        << ReadBytes("out/index.htm");
    EXPECT_TRUE(ReadBytes("out/clip.svg").starts_with("<svg "));
    EXPECT_TRUE(ReadBytes("out/boats.htm")
                    .ends_with("|<video controls playsinline "
                               "preload=\"metadata\"><source src=\"boats.MOV\"><a "
                               "href=\"boats.MOV\" "
                               "download>Download the clip</a></video>"))
        << ReadBytes("out/boats.htm");
}

// Adding a clip to a show, or taking it out, makes or keeps only the clip's files.
TEST_F(WebShowTest, AClipAddedOrRemovedTouchesNoPhoto) {
    Add("Sea", "sea.jpg", "photo");
    Add("Sky", "sky.jpg", "photo");
    Generate();
    const int made = images.made;
    Add("Boats", "boats.mov", "waves");
    Generate();
    entries.pop_back();
    Generate();
    EXPECT_EQ(images.made, made + 1);
}

// A look shows each kind of slide its own way: a page keeps its own kind's blocks, an overview row
// its slide's, and the rest of the overview those of every kind the show holds. A clip's block
// asks nothing of photos, and a show of photos alone reads as if the blocks were not there.
TEST_F(WebShowTest, LooksShowPhotosAndClipsEachTheirOwnWay) {
    Add("Sea", "sea.jpg", "photo");
    Add("Boats", "boats.mov", "waves");
    page = "<<PHOTO>><<IMAGEPATH>><<ENDPHOTO>><<CLIP>><<MEDIA>><<ENDCLIP>>|<<CLIP>>";
    overview =
        "<<CLIP>>clips <<ENDCLIP>><<SLIDES>>[<<CLIP>>play <<ENDCLIP>><<THUMBPATH>>]"
        "<<ENDSLIDES>>";
    Generate();
    EXPECT_EQ(ReadBytes("out/sea.htm"), "\"sea.jpg\"|<<CLIP>>");
    EXPECT_TRUE(ReadBytes("out/boats.htm").starts_with("<video ")) << ReadBytes("out/boats.htm");
    EXPECT_EQ(ReadBytes("out/index.htm"), "clips [\"thumbs/sea.jpg\"][play \"thumbs/boats.jpg\"]");
    EXPECT_FALSE(fs::exists("out/sea-480.jpg"));

    overview = "<<PHOTO>>photos <<ENDPHOTO>>" + overview;
    entries.erase(entries.begin());
    Generate();
    EXPECT_EQ(ReadBytes("out/index.htm"), "clips [play \"thumbs/boats.jpg\"]");
    entries = {{"Sea", "", "", "", "", "", "", "sea.jpg"}};
    Generate();
    EXPECT_EQ(ReadBytes("out/index.htm"), "photos [\"thumbs/sea.jpg\"]");
}

// The run tells how far the clip under way has come; Cancel then ends it, which would otherwise
// never end, and leaves no part of it.
TEST_F(WebShowTest, CancelEndsAClipBeingMade) {
    Add("Long", "long.mp4", "slow");
    int seen = 0;
    onClip = [&seen](int done, int total, int percent) {
        EXPECT_EQ(std::pair(done, total), std::pair(0, 1));
        seen = percent;
        return percent < 50;
    };
    EXPECT_TRUE(Generate().stopped);
    EXPECT_EQ(seen, 50);
    EXPECT_EQ(Contents("out").size(), 1u);
}

}  // namespace
}  // namespace vistello::testing
