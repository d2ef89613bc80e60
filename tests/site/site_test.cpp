#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <sstream>

#include "app/generate_command.h"
#include "app/import_command.h"
#include "files/file_ops.h"
#include "generator/site_tags.h"
#include "support/fake_clip_maker.h"
#include "support/fake_image_maker.h"
#include "support/fake_photo_reader.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr const char* kPage = "<<TRAIL>>|<<UP>>|<<BACK>>|<<NEXT>>|<<IMAGETITLE>>";
constexpr const char* kOverview =
    "<<TRAIL>>|<<UP>>|<<SHOWTITLE>>\n<<ALBUMS>>[<<ALBUMPAGE>> <<ALBUMTITLE>> <<ALBUMCOVER>> "
    "<<ALBUMCOUNT>>; "
    "<<ALBUMDATES>>]\n<<ENDALBUMS>><<SLIDES>>(<<PAGE>>)<<ENDSLIDES>>";

std::set<std::string> FilesUnder(const std::string& folder) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), folder).string());
    }
    return files;
}

class SiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* path :
             {"pics/top.jpg", "pics/2024/Italy/Rome/a.jpg", "pics/2024/Italy/Rome/b.mov",
              "pics/2024/Italy/Venice/c.jpg", "pics/B <i>&amp; #1/d.jpg", "pics/.hidden/e.jpg",
              "pics/x/y/n.txt"}) {
            fs::create_directories(fs::path(path).parent_path());
            WriteMedia(path, path);
        }
        fs::create_directory_symlink("../../..", "pics/2024/Italy/Rome/loop");
        // Rows name photos from the root when the import writes them, as they are otherwise.
        for (const std::string& root : {std::string(), scratch / ""}) {
            photos.photos[root + "pics/2024/Italy/Rome/a.jpg"] = {
                "", "", "", "", 0, {"2026-05-14 10:00", "", "", ""}};
            photos.photos[root + "pics/2024/Italy/Venice/c.jpg"] = {
                "", "", "", "", 0, {"2026-06-02 09:00", "", "", ""}};
        }
        WriteBytes("page.htm", kPage);
        WriteBytes("over.htm", kOverview);
    }

    int Import() {
        return RunImportCommand(files, photos, "pics", "site.dat", false, out, err, true);
    }
    int Generate() {
        return RunGenerateCommand(files, images, photos, clips, "site.dat", out, err);
    }
    void SetUpProject(const std::string& project = "site.dat") {
        std::string text = ReadBytes(project);
        text.replace(text.find("TEMPLATE=\r\nOUTPUT=\r\n"), 20,
                     "TEMPLATE=page.htm\r\nOUTPUT=web\r\nOVERVIEW=over.htm\r\n");
        WriteBytes(project, text);
        fs::create_directories("web");
    }

    ScratchDir scratch;
    RealFileOps files;
    FakePhotoReader photos;
    FakeImageMaker images;
    FakeClipMaker clips;
    std::ostringstream out;
    std::ostringstream err;
};

// Every folder that holds photos or clips, at any depth, becomes an album whose project is kept
// beside the top one, never in the tree; hidden folders, folders without photos and a link back
// up the tree make none. A second import adds only what is new and keeps every edit.
TEST_F(SiteTest, AFolderTreeBecomesAlbumsAndASecondImportKeepsEdits) {
    EXPECT_EQ(Import(), 0) << err.str();
    EXPECT_EQ(out.str(),
              "5 albums made, 5 images added, 0 images already in the project "
              "skipped: site.dat\n");
    EXPECT_EQ(FilesUnder("site.albums"),
              (std::set<std::string>{"2024.dat", "2024.albums/Italy.dat",
                                     "2024.albums/Italy.albums/Rome.dat",
                                     "2024.albums/Italy.albums/Venice.dat", "B <i>&amp; #1.dat"}));
    EXPECT_THAT(ReadBytes("site.dat"),
                HasSubstr("IMAGE=" + scratch / "site.albums/B <i>&amp; #1.dat" +
                          "\r\nTITLE=B &lt;i>&amp;amp; #1\r\n"));
    EXPECT_EQ(FilesUnder("pics").size(), 7u);

    std::string rome = ReadBytes("site.albums/2024.albums/Italy.albums/Rome.dat");
    rome.replace(rome.find("TITLE=a"), 7, "TITLE=Forum");
    WriteBytes("site.albums/2024.albums/Italy.albums/Rome.dat", rome);
    WriteMedia("pics/2024/Italy/Rome/z.jpg", "z");
    // A folder added later never takes an album's project, whatever its name; a folder a site was
    // generated into makes no album; an album's project that is not one is left alone and said.
    for (const char* path : {"pics/2025/Oslo/o.jpg", "pics/2024/italy/i.jpg", "pics/web/w.jpg",
                             "pics/web/.vistello-images"}) {
        fs::create_directories(fs::path(path).parent_path());
        WriteMedia(path, path);
    }
    WriteBytes("site.albums/B <i>&amp; #1.dat", "not a project");
    out.str("");
    EXPECT_EQ(Import(), 1);
    EXPECT_EQ(err.str(), "vistello: left out: " + scratch / "site.albums/B <i>&amp; #1.dat" +
                             ": not a project, left as it is\n");
    EXPECT_EQ(out.str(),
              "3 albums made, 3 images added, 4 images already in the project "
              "skipped: site.dat\n");
    rome = ReadBytes("site.albums/2024.albums/Italy.albums/Rome.dat");
    EXPECT_THAT(rome, HasSubstr("TITLE=Forum"));
    EXPECT_THAT(rome, HasSubstr("IMAGE=" + scratch / "pics/2024/Italy/Rome/z.jpg"));
    EXPECT_THAT(ReadBytes("site.albums/2024.albums/italy.dat"),
                HasSubstr("/pics/2024/italy/i.jpg"));
    EXPECT_EQ(ReadBytes("site.albums/2024.albums/Italy.dat").find("italy/i.jpg"),
              std::string::npos);
    const std::string top = ReadBytes("site.dat");
    EXPECT_EQ(top.find("/site.albums/2024.dat"), top.rfind("/site.albums/2024.dat"));
    EXPECT_EQ(top.find("/web"), std::string::npos);
}

// An album's own template, settings and cover hold, but its overview takes the album's title, the
// site's title being the top's; its folder's name is never one the site uses for itself nor
// carries a dot, its days run from its first to its last photo, a project named in capitals is an
// album too, and an album that is no project is left out and said.
TEST_F(SiteTest, AnAlbumsOwnChoicesHold) {
    fs::create_directory("web");
    WriteBytes("own.htm", "OWN <<TRAIL>>");
    WriteBytes("site.dat",
               "TEMPLATE=page.htm\r\nOUTPUT=web\r\nOVERVIEW=over.htm\r\nTHUMBSIDE=50\r\n"
               "SITETITLE=Our <i>trip</i>\r\n"
               "IMAGE=b.DAT\r\nTITLE=x.y #?\r\n\r\nIMAGE=a.dat\r\nTITLE=Thumbs\r\n\r\n"
               "IMAGE=bad.dat\r\nTITLE=Bad\r\n");
    WriteBytes("a.dat",
               "TEMPLATE=own.htm\r\nTHUMBSIDE=100\r\nSITETITLE=Not here\r\n"
               "COVER=pics/2024/Italy/Rome/a.jpg\r\n"
               "IMAGE=pics/2024/Italy/Rome/a.jpg\r\nTITLE=a\r\n\r\n"
               "IMAGE=pics/2024/Italy/Venice/c.jpg\r\nTITLE=c\r\n");
    WriteBytes("b.DAT",
               "COVER=pics/2024/Italy/Venice/c.jpg\r\nIMAGE=pics/2024/Italy/Venice/c.jpg\r\n"
               "TITLE=c\r\n\r\nIMAGE=pics/top.jpg\r\nTITLE=p#1\r\n");
    WriteBytes("bad.dat", "hello");
    EXPECT_EQ(Generate(), 1);
    EXPECT_EQ(err.str(), "vistello: album left out: bad.dat: not a project\n");
    const std::string home = ReadBytes("web/index.htm");
    EXPECT_THAT(home, HasSubstr("[\"thumbs_2/index.htm\" Thumbs <img src=\"thumbs_2/thumbs/a.jpg\" "
                                "width=\"100\""));
    EXPECT_THAT(home, HasSubstr("|Our <i>trip</i>\r\n"));
    EXPECT_THAT(home, HasSubstr("2 photos; May–June 2026]"));
    EXPECT_THAT(ReadBytes("web/thumbs_2/index.htm"), HasSubstr("Up</a>|Thumbs\r\n"));
    EXPECT_THAT(home, HasSubstr("[\"x_y_%23%3F/index.htm\" x.y #? <img "
                                "src=\"x_y_%23%3F/thumbs/c.jpg\" width=\"50\""));
    EXPECT_THAT(ReadBytes("web/thumbs_2/a.htm"), HasSubstr("OWN <nav"));
    EXPECT_THAT(ReadBytes("web/x_y_#?/p#1.htm"),
                HasSubstr("<li><a href=p%231.htm aria-current=\"page\">p#1</a></li>"));
}

// Generate of the top project makes every album into its folder, named as the tree's folder reads,
// not after its title's HTML. Each overview shows its albums
// with their covers, counts and days, a folder's name as text; every page leads up and shows
// the way down from the top; Back and Next run over one album's photos and clips.
TEST_F(SiteTest, GenerateMakesEveryAlbumIntoItsFolderWithTheWayUp) {
    ASSERT_EQ(Import(), 0);
    SetUpProject();
    EXPECT_EQ(Generate(), 0) << err.str();
    EXPECT_THAT(out.str(), HasSubstr("Wrote 11 of 11 pages and copied 5 of 5 pictures and clips "
                                     "into web/ in 5 albums"));
    EXPECT_EQ(FilesUnder("web"), (std::set<std::string>{".vistello-images",
                                                        ".vistello-site",
                                                        "index.htm",
                                                        "top.htm",
                                                        "top.jpg",
                                                        "2024/.vistello-images",
                                                        "2024/index.htm",
                                                        "2024/italy/.vistello-images",
                                                        "2024/italy/index.htm",
                                                        "2024/italy/rome/.vistello-images",
                                                        "2024/italy/rome/index.htm",
                                                        "2024/italy/rome/a.htm",
                                                        "2024/italy/rome/a.jpg",
                                                        "2024/italy/rome/b.htm",
                                                        "2024/italy/rome/b.mp4",
                                                        "2024/italy/rome/b.jpg",
                                                        "2024/italy/venice/.vistello-images",
                                                        "2024/italy/venice/index.htm",
                                                        "2024/italy/venice/c.htm",
                                                        "2024/italy/venice/c.jpg",
                                                        "b_<i>&amp;_#1/.vistello-images",
                                                        "b_<i>&amp;_#1/index.htm",
                                                        "b_<i>&amp;_#1/d.htm",
                                                        "b_<i>&amp;_#1/d.jpg"}));
    EXPECT_EQ(ReadBytes("web/index.htm"),
              "||Slide show\r\n[\"2024/index.htm\" 2024 <img src=\"2024/italy/rome/a.jpg\" "
              "alt=\"\"> 2 photos "
              "and 1 clip; May–June 2026]\r\n[\"b_%3Ci%3E%26amp;_%231/index.htm\" B "
              "&lt;i>&amp;amp; #1 <img src=\"b_%3Ci%3E%26amp;_%231/d.jpg\" alt=\"\"> 1 "
              "photo; ]\r\n(\"top.htm\")");
    EXPECT_EQ(ReadBytes("web/2024/italy/rome/b.htm"),
              "<nav class=\"trail\" aria-label=\"Trail\"><ol><li><a href=../../../index.htm>Home"
              "</a></li><li><a href=../../index.htm>2024</a></li><li><a href=../index.htm>Italy"
              "</a></li><li><a href=index.htm rel=\"up\">Rome</a></li><li><a href=b.htm "
              "aria-current=\"page\">b</a></li></ol></nav>|<a href=index.htm rel=\"up\">Up</a>|"
              "<a href=a.htm>Back</a>||b");
    EXPECT_THAT(ReadBytes("web/2024/italy/index.htm"),
                HasSubstr("<li><a href=../index.htm rel=\"up\">2024</a></li><li><a href=index.htm "
                          "aria-current=\"page\">Italy</a></li></ol></nav>|<a href=../index.htm "
                          "rel=\"up\">Up</a>|Italy\r\n[\"rome/index.htm\" Rome"));
    EXPECT_THAT(ReadBytes("web/top.htm"), HasSubstr("|<a href=index.htm rel=\"up\">Up</a>|||top"));
}

// An album that cannot be read is left out and said, the rest of the site is made, and what an
// earlier run made of it stays; a project that holds itself further down refuses the whole site,
// naming the loop, and writes nothing.
TEST_F(SiteTest, AnUnreadableAlbumIsLeftOutAndALoopIsRefused) {
    ASSERT_EQ(Import(), 0);
    SetUpProject();
    ASSERT_EQ(Generate(), 0) << err.str();
    std::string b;
    for (const auto& entry : fs::directory_iterator("web")) {
        if (entry.path().filename().string().starts_with("b_")) b = entry.path().string();
    }
    const std::set<std::string> album = FilesUnder(b);
    ASSERT_FALSE(album.empty());
    fs::rename("site.albums/B <i>&amp; #1.dat", "away.dat");
    EXPECT_EQ(Generate(), 1);
    EXPECT_THAT(err.str(), HasSubstr("vistello: album left out: " +
                                     scratch / "site.albums/B <i>&amp; #1.dat: "
                                               "cannot be read: No such file or directory\n"));
    EXPECT_THAT(err.str(), HasSubstr(b + "/: kept, its album was left out\n"));
    EXPECT_EQ(FilesUnder(b), album);
    // ... and so does every album below one left out.
    fs::rename("site.albums/2024.dat", "away2024.dat");
    EXPECT_EQ(Generate(), 1);
    EXPECT_TRUE(fs::exists("web/2024/italy/rome/a.htm"));
    fs::rename("away2024.dat", "site.albums/2024.dat");
    EXPECT_TRUE(fs::exists("web/2024/italy/rome/a.htm"));
    EXPECT_EQ(ReadBytes("web/index.htm").find(fs::path(b).filename().string()), std::string::npos);

    fs::remove_all("web");
    fs::create_directory("web");
    std::string italy = ReadBytes("site.albums/2024.albums/Italy.dat");
    WriteBytes("site.albums/2024.albums/Italy.dat",
               italy + "IMAGE=site.albums/2024.dat\r\nTITLE=Again\r\n");
    err.str("");
    EXPECT_EQ(Generate(), 1);
    EXPECT_EQ(err.str(), "vistello: the album " + fs::absolute("site.albums/2024.dat").string() +
                             " holds itself: " + fs::absolute("site.albums/2024.dat").string() +
                             " → " + fs::absolute("site.albums/2024.albums/Italy.dat").string() +
                             " → " + fs::absolute("site.albums/2024.dat").string() + "\n");
    EXPECT_TRUE(fs::is_empty("web"));
}

// Generate again makes only the albums whose photos, rows or albums changed, the ones above them
// for their tiles; an album taken out takes its folder with it, but for a file changed since.
TEST_F(SiteTest, OnlyChangedAlbumsAreMadeAgainAndAnAlbumTakenOutGoes) {
    ASSERT_EQ(Import(), 0);
    SetUpProject();
    ASSERT_EQ(Generate(), 0) << err.str();
    for (const char* page : {"web/2024/italy/venice/index.htm", "web/2024/italy/rome/index.htm"})
        WriteBytes(page, "edited in place");
    ASSERT_EQ(Generate(), 0) << err.str();
    EXPECT_EQ(ReadBytes("web/2024/italy/venice/index.htm"), "edited in place");
    const auto later = fs::last_write_time("pics/2024/Italy/Rome/a.jpg") + std::chrono::seconds(5);
    fs::last_write_time("pics/2024/Italy/Rome/a.jpg", later);
    ASSERT_EQ(Generate(), 0) << err.str();
    EXPECT_EQ(ReadBytes("web/2024/italy/venice/index.htm"), "edited in place");
    EXPECT_NE(ReadBytes("web/2024/italy/rome/index.htm"), "edited in place");

    std::string italy = ReadBytes("site.albums/2024.albums/Italy.dat");
    WriteBytes(
        "site.albums/2024.albums/Italy.dat",
        italy.substr(
            0, italy.find("IMAGE=" + scratch / "site.albums/2024.albums/Italy.albums/Rome.dat")));
    WriteBytes("web/2024/italy/rome/b.htm", "mine now");
    out.str("");
    EXPECT_EQ(Generate(), 0) << err.str();
    EXPECT_EQ(FilesUnder("web/2024/italy/rome"), (std::set<std::string>{"b.htm"}));
    EXPECT_THAT(out.str(), HasSubstr("Removed web/2024/italy/rome/a.htm\n"));
    EXPECT_THAT(err.str(), HasSubstr("web/2024/italy/rome/b.htm: kept, it changed since"));
    fs::remove("web/2024/italy/rome/b.htm");
    EXPECT_EQ(Generate(), 0) << err.str();
    EXPECT_FALSE(fs::exists("web/2024/italy/rome"));
    EXPECT_EQ(ReadBytes("web/2024/italy/index.htm").find("rome"), std::string::npos);

    // A record that names a folder outside the site leads nothing there.
    fs::create_directory("outside");
    WriteBytes("outside/.vistello-images", "mine");
    WriteBytes("web/.vistello-site", "ALBUM=../outside/\r\nPROJECT=" +
                                         fs::absolute("site.albums/2024.dat").string() + "\r\n");
    EXPECT_EQ(Generate(), 0) << err.str();
    EXPECT_EQ(ReadBytes("outside/.vistello-images"), "mine");
}

// Generate again tells an unchanged album's tile as the first run did, and makes again a page or
// a thumbnail deleted by hand inside such an album.
TEST_F(SiteTest, AnUnchangedAlbumKeepsItsTileAndGetsBackWhatWasDeleted) {
    ASSERT_EQ(Import(), 0);
    SetUpProject();
    std::string text = ReadBytes("site.dat");
    WriteBytes("site.dat", text.insert(text.find("OVERVIEW="), "THUMBSIDE=50\r\n"));
    ASSERT_EQ(Generate(), 0) << err.str();
    for (const char* made : {"web/2024/italy/venice/c.htm", "web/2024/italy/rome/thumbs/a.jpg"}) {
        ASSERT_TRUE(fs::remove(made)) << made;
        ASSERT_EQ(Generate(), 0) << err.str();
        EXPECT_TRUE(fs::exists(made)) << made;
        EXPECT_THAT(ReadBytes("web/index.htm"), HasSubstr("> 2 photos and 1 clip; May–June 2026]"));
    }
}

// Two sites made into one folder keep each their own albums; an album reached through a link is
// neither written nor removed; the records in the folder name no project and no path outside it.
TEST_F(SiteTest, SitesSharingAFolderKeepTheirAlbumsAndNothingBehindALinkIsTouched) {
    ASSERT_EQ(Import(), 0);
    SetUpProject();
    fs::create_directories("more/Oslo");
    WriteMedia("more/Oslo/o.jpg", "o");
    ASSERT_EQ(RunImportCommand(files, photos, "more", "s2.dat", false, out, err, true), 0);
    SetUpProject("s2.dat");
    ASSERT_EQ(Generate(), 0) << err.str();
    const std::set<std::string> first = FilesUnder("web/2024");
    RunGenerateCommand(files, images, photos, clips, "s2.dat", out, err);
    ASSERT_TRUE(fs::exists("web/oslo/o.htm"));
    EXPECT_EQ(FilesUnder("web/2024"), first);
    ASSERT_EQ(Generate(), 0) << err.str();
    EXPECT_TRUE(fs::exists("web/oslo/o.htm"));
    const std::string sites = ReadBytes("web/.vistello-site");
    EXPECT_NE(sites.find("SITE="), sites.rfind("SITE="));
    for (const char* record :
         {"web/.vistello-site", "web/.vistello-images", "web/oslo/.vistello-images"}) {
        const std::string text = ReadBytes(record);
        EXPECT_EQ(text.find(fs::current_path().string()), std::string::npos) << record;
        EXPECT_EQ(text.find(".dat"), std::string::npos) << record;
    }

    fs::rename("web/oslo", "elsewhere");
    fs::create_directory_symlink("../elsewhere", "web/oslo");
    const std::set<std::string> outside = FilesUnder("elsewhere");
    WriteMedia("more/Oslo/p.jpg", "p");
    std::string oslo = ReadBytes("s2.albums/Oslo.dat");
    WriteBytes("s2.albums/Oslo.dat", oslo + "IMAGE=more/Oslo/p.jpg\r\nTITLE=p\r\n");
    err.str("");
    RunGenerateCommand(files, images, photos, clips, "s2.dat", out, err);
    EXPECT_THAT(err.str(), HasSubstr("web/oslo/ is reached through a link"));
    std::string two = ReadBytes("s2.dat");
    WriteBytes("s2.dat", two.substr(0, two.rfind("IMAGE=", two.find("s2.albums/Oslo.dat"))));
    RunGenerateCommand(files, images, photos, clips, "s2.dat", out, err);
    EXPECT_EQ(FilesUnder("elsewhere"), outside);
}

// Import takes a link within the tree and leaves out, naming each, a link that leads out of it
// (to a file or a folder) and a file whose first bytes are no picture. Rows name their files
// from the root, so that the site is made the same from any folder.
TEST_F(SiteTest, ImportTakesOnlyPicturesWithinTheTreeAndRowsReadFromAnyFolder) {
    fs::create_directories("elsewhere");
    WriteMedia("elsewhere/e.jpg", "e");
    WriteBytes("secret", "PRIVATE KEY");
    fs::create_symlink("../../secret", "pics/x/b.jpg");
    fs::create_symlink("/proc/self/environ", "pics/x/c.jpg");
    fs::create_symlink("../top.jpg", "pics/x/in.jpg");
    fs::create_directory_symlink("../../elsewhere", "pics/x/ext");
    WriteBytes("pics/x/notes.jpg", "text");
    WriteBytes("pics/x/w.jpg", std::string("RIFF\x24\0\0\0WAVEfmt ", 16));
    fs::create_directories("pics2");
    WriteMedia("pics2/k.jpg", "k");
    fs::create_symlink("../../pics2/k.jpg", "pics/x/k.jpg");
    const std::string here = fs::current_path().filename().string() + "/";
    fs::current_path("..");
    EXPECT_EQ(
        RunImportCommand(files, photos, here + "pics", here + "site.dat", false, out, err, true),
        1);
    fs::current_path(scratch / "");
    const std::string x = scratch / "pics/x/";
    std::multiset<std::string> lines;
    std::istringstream said(err.str());
    for (std::string line; std::getline(said, line);) lines.insert(line);
    const std::string leads = ": leads out of the tree";
    const std::string bytes = ": its first bytes are no picture Vistello reads";
    EXPECT_EQ(lines, (std::multiset<std::string>{
                         "vistello: left out: " + x + "b.jpg" + leads,
                         "vistello: left out: " + x + "c.jpg" + leads,
                         "vistello: left out: " + x + "ext" + leads,
                         "vistello: left out: " + x + "k.jpg" + leads,
                         "vistello: left out: " + x + "notes.jpg" + bytes,
                         "vistello: left out: " + x + "w.jpg" + bytes,
                     }));
    EXPECT_THAT(ReadBytes("site.albums/x.dat"), HasSubstr("IMAGE=" + x + "in.jpg\r\n"));
    EXPECT_EQ(ReadBytes("site.albums/x.dat").find("IMAGE=", 1),
              ReadBytes("site.albums/x.dat").rfind("IMAGE="));
    SetUpProject();
    EXPECT_EQ(Generate(), 0) << err.str();
    EXPECT_TRUE(fs::exists("web/x/in.jpg"));
}

// A re-import adds what is new and keeps out the photo and the album the user took out; a photo
// and a folder that left the tree leave their albums, each said, and the site is made again.
TEST_F(SiteTest, AReimportKeepsTheUsersRemovalsAndTakesOutWhatLeftTheTree) {
    ASSERT_EQ(Import(), 0);
    const std::string rome = "site.albums/2024.albums/Italy.albums/Rome.dat";
    const std::string italy = "site.albums/2024.albums/Italy.dat";
    const auto takeOut = [](const std::string& project, const std::string& image) {
        std::string text = ReadBytes(project);
        const size_t row = text.find("IMAGE=" + image + "\r\n");
        ASSERT_NE(row, std::string::npos) << image;
        text.erase(row, text.find("DESCRIPTION=", row) - row);
        WriteBytes(project, text);
    };
    takeOut(rome, scratch / "pics/2024/Italy/Rome/a.jpg");
    takeOut(italy, scratch / "site.albums/2024.albums/Italy.albums/Venice.dat");
    WriteMedia("pics/2024/Italy/Rome/z.jpg", "z");
    EXPECT_EQ(Import(), 0) << err.str();
    EXPECT_EQ(ReadBytes(rome).find("IMAGE=" + scratch / "pics/2024/Italy/Rome/a.jpg"),
              std::string::npos);
    EXPECT_THAT(ReadBytes(rome), HasSubstr("IMAGE=" + scratch / "pics/2024/Italy/Rome/z.jpg"));
    EXPECT_EQ(ReadBytes(italy).find("IMAGE=" +
                                    scratch / "site.albums/2024.albums/Italy.albums/Venice.dat"),
              std::string::npos);

    fs::remove("pics/top.jpg");
    fs::remove_all("pics/B <i>&amp; #1");
    out.str("");
    EXPECT_EQ(Import(), 0) << err.str();
    EXPECT_EQ(out.str(), "Taken out: " + scratch / "site.albums/B <i>&amp; #1.dat" +
                             ": no longer in the tree, taken out of site.dat\nTaken out: " +
                             scratch / "pics/top.jpg" +
                             ": no longer in the tree, taken out of site.dat\n" +
                             "0 albums made, 0 images added, 2 images already in the project "
                             "skipped: site.dat\n");
    SetUpProject();
    EXPECT_EQ(Generate(), 0) << err.str();
}

// Folders whose long names differ only past where a project's name is cut each keep their own
// album, and a folder added later makes a new one.
TEST_F(SiteTest, LongFolderNamesEachKeepTheirOwnAlbum) {
    fs::remove_all("pics");
    const std::string stem = "pics/" + std::string(250, 'n');
    for (const char* end : {"1", "2"}) {
        fs::create_directories(stem + end);
        WriteMedia(stem + end + "/p" + end + ".jpg", end);
    }
    ASSERT_EQ(Import(), 0) << err.str();
    fs::create_directories(stem + "0");
    WriteMedia(stem + "0/p0.jpg", "0");
    out.str("");
    EXPECT_EQ(Import(), 0) << err.str();
    EXPECT_EQ(out.str(),
              "1 album made, 1 image added, 2 images already in the project skipped: site.dat\n");
    for (const auto& album : fs::directory_iterator("site.albums")) {
        const std::string text = ReadBytes(album.path().string());
        EXPECT_EQ(text.find("IMAGE="), text.rfind("IMAGE=")) << text;
    }
}

// A site whose top project was renamed keeps its part of the record and is made as before.
TEST_F(SiteTest, ARenamedSiteKeepsItsAlbums) {
    ASSERT_EQ(Import(), 0);
    SetUpProject();
    const GenerateContext context{"state/projects", {}};
    ASSERT_EQ(
        RunGenerateCommand(files, images, photos, clips, "site.dat", out, err, false, context), 0)
        << err.str();
    fs::rename("site.dat", "trip.dat");
    EXPECT_EQ(
        RunGenerateCommand(files, images, photos, clips, "trip.dat", out, err, false, context), 0)
        << err.str();
    EXPECT_TRUE(fs::exists("web/2024/italy/rome/a.htm"));
}

TEST(SiteTagsTest, DaysAndCountsReadAsAPersonWritesThem) {
    EXPECT_EQ(AlbumDatesText("2026-05-14", "2026-05-14"), "14 May 2026");
    EXPECT_EQ(AlbumDatesText("2026-05-03", "2026-05-09"), "3–9 May 2026");
    EXPECT_EQ(AlbumDatesText("2026-05-30", "2026-06-02"), "May–June 2026");
    EXPECT_EQ(AlbumDatesText("2025-12-30", "2026-01-02"), "December 2025–January 2026");
    EXPECT_EQ(AlbumDatesText("", ""), "");
    EXPECT_EQ(AlbumDatesText("2026-13-01", "2026-05-01"), "");
    EXPECT_EQ(AlbumCountText(1, 0), "1 photo");
    EXPECT_EQ(AlbumCountText(1200, 2), "1,200 photos and 2 clips");
    EXPECT_EQ(AlbumCountText(0, 1), "1 clip");
}

}  // namespace
}  // namespace vistello::testing
