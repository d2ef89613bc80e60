#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <tuple>

#include "app/command_line.h"
#include "app/desktop_folder.h"
#include "app/generate_command.h"
#include "app/import_command.h"
#include "app/slide_show_app.h"
#include "support/failing_file_ops.h"
#include "support/fake_clip_maker.h"
#include "support/fake_image_maker.h"
#include "support/fake_photo_reader.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

// Help wins over every other option, a project may follow --generate, and anything else that
// is no option is refused.
TEST(CommandLineTest, HelpWinsAndOnlyGenerateTakesAProject) {
    EXPECT_EQ(ParseCommandLine({"--desktop", "--version", "--help"}).action,
              StartAction::PrintHelp);
    const StartOptions generate = ParseCommandLine({"--generate", "a.dat", "--desktop"});
    EXPECT_EQ(generate.action, StartAction::Generate);
    EXPECT_EQ(generate.projectFile, "a.dat");
    EXPECT_TRUE(generate.desktopFolder);
    const StartOptions noProject = ParseCommandLine({"--generate", "--desktop"});
    EXPECT_TRUE(noProject.projectFile.empty() && noProject.desktopFolder);
    const StartOptions import = ParseCommandLine({"--import", "pics", "a.dat"});
    EXPECT_EQ(import.action, StartAction::Import);
    EXPECT_EQ(import.importFolder + "|" + import.projectFile, "pics|a.dat");
    EXPECT_EQ(ParseCommandLine({"--import", "--desktop"}).action, StartAction::RejectUsage);
    EXPECT_TRUE(ParseCommandLine({"--import", "pics", "--by-date"}).byDate);
    EXPECT_EQ(ParseCommandLine({"--by-date"}).action, StartAction::RejectUsage);
    const StartOptions refused = ParseCommandLine({"--desktop", "pics"});
    EXPECT_EQ(refused.action, StartAction::RejectUsage);
    EXPECT_TRUE(refused.text.starts_with("vistello: unexpected argument 'pics'\n")) << refused.text;
    const StartOptions both = ParseCommandLine({"--generate", "--publish", "a.dat", "--dry-run"});
    EXPECT_EQ(both.action, StartAction::Generate);
    EXPECT_TRUE(both.publish && both.dryRun);
    EXPECT_EQ(both.projectFile, "a.dat");
    const StartOptions publish =
        ParseCommandLine({"--publish", "--password-file", "-", "--accept-host-key", "SHA256:x"});
    EXPECT_EQ(publish.action, StartAction::Publish);
    EXPECT_EQ(publish.passwordFile + "|" + publish.hostKey, "-|SHA256:x");
    EXPECT_EQ(ParseCommandLine({"--generate", "--allow-removals"}).action,
              StartAction::RejectUsage);
}

// The folder is under the data home when that is absolute, else under the home, as the cache is
// under the cache home. Missing
// folders are made private, existing ones entered as they are, and a file in the way is
// reported with the current folder left where it was.
TEST(DesktopFolderTest, FollowsTheDataHomeMakesFoldersPrivateAndKeepsWhatIsThere) {
    EXPECT_EQ(DesktopFolder("/data", "/home/ann"), "/data/vistello");
    EXPECT_EQ(DesktopFolder("data", "/home/ann"), "/home/ann/.local/share/vistello");
    EXPECT_EQ(DesktopFolder(nullptr, "home"), std::nullopt);
    EXPECT_EQ(CacheHome("/cache", "/home/ann"), "/cache");
    EXPECT_EQ(CacheHome("", "/home/ann"), "/home/ann/.cache");
    EXPECT_EQ(CacheHome("cache", nullptr), std::nullopt);
    ScratchDir dir;
    const std::string folder = dir / "share/vistello";
    ASSERT_EQ(EnterFolder(folder), std::nullopt);
    EXPECT_EQ(fs::current_path(), fs::path(folder));
    EXPECT_EQ(fs::status(dir / "share").permissions(), fs::perms::owner_all);
    ASSERT_EQ(EnterFolder(folder), std::nullopt);
    WriteBytes(dir / "file", "a file");
    EXPECT_EQ(EnterFolder(dir / "file/vistello"), "Not a directory");
    EXPECT_EQ(fs::current_path(), fs::path(folder));
}

// The first start from the menu finds the demo; a later one finds what the user left, and a
// link standing where the folder goes is never written through.
TEST(DesktopFolderTest, FirstStartHoldsTheDemoAndLaterStartsKeepTheUsersFiles) {
    ScratchDir dir;
    fs::create_directories(dir / "demo/show");
    WriteBytes(dir / "demo/demo.dat", "demo");
    const std::string folder = dir / "data/vistello";
    ASSERT_EQ(EnterFolder(folder, dir / "demo"), std::nullopt);
    EXPECT_EQ(ReadBytes(dir / "data/vistello/demo.dat"), "demo");
    EXPECT_TRUE(fs::is_directory(dir / "data/vistello/show"));
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
    WriteBytes(dir / "data/vistello/demo.dat", "mine");
    fs::remove(dir / "data/vistello/show");
    ASSERT_EQ(EnterFolder(folder, dir / "demo"), std::nullopt);
    EXPECT_EQ(ReadBytes(dir / "data/vistello/demo.dat"), "mine");
    EXPECT_FALSE(fs::exists(dir / "data/vistello/show"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "data"), {}), 1);
    // A path through a folder not made yet leads where it reads; a demo that cannot be copied
    // leaves the folder empty and nothing beside it, as does a first start killed during its copy.
    ASSERT_EQ(EnterFolder(dir / "new/../data2/vistello", dir / "demo"), std::nullopt);
    EXPECT_EQ(fs::current_path(), fs::path(dir / "data2/vistello"));
    fs::create_directory(dir / "broken");
    ASSERT_EQ(::mkfifo((dir / "broken/pipe").c_str(), 0600), 0);
    fs::create_directories(dir / "data3/vistello.new-999999999/part");
    EXPECT_EQ(EnterFolder(dir / "data3/vistello", dir / "broken"), std::nullopt);
    EXPECT_TRUE(fs::is_empty(dir / "data3/vistello"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "data3"), {}), 1);

    fs::create_directory_symlink(dir / "elsewhere", dir / "link");
    EXPECT_NE(EnterFolder(dir / "link", dir / "demo"), std::nullopt);
    EXPECT_FALSE(fs::exists(dir / "elsewhere"));
}

// Without its sockets the program says so before any window opens or any file is touched; with
// them the window opens, and its first start makes both files.
TEST(StartTest, FailingSocketsEndTheProgramBeforeAnyFileElseTheWindowOpens) {
    ScratchDir scratch;
    FakeWindowSystem system;
    system.socketsStart = false;
    NoPhotoReader photos;
    NoImageMaker images;
    EXPECT_FALSE(CSlideShowApp().InitInstance(system, photos, images));
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{{"Windows sockets initialization failed.", "vistello",
                                      MsgButtons::Ok, MsgIcon::Exclamation}}));
    EXPECT_TRUE(scratch.Names().empty());
    system.socketsStart = true;
    EXPECT_FALSE(CSlideShowApp().InitInstance(system, photos, images));
    EXPECT_EQ(scratch.Names(), (std::set<std::string>{"vistello.dat", "vistello.ini"}));
}

// Each refusal is one line that names what stops the run, with status 1, and nothing is written.
TEST(GenerateCommandTest, RefusesWithAReasonAndWritesNothing) {
    ScratchDir scratch;
    RealFileOps files;
    WriteBytes("template.htm", "<<IMAGETITLE>>");
    WriteBytes("empty.dat", "TEMPLATE=template.htm\r\n");
    WriteBytes("no-template.dat", "TEMPLATE=gone.htm\r\nIMAGE=a.jpg\r\nTITLE=A\r\n");
    WriteBytes("no-folder.dat", "OUTPUT=gone\r\nIMAGE=a.jpg\r\nTITLE=A\r\n");
    const std::pair<const char*, const char*> refusals[] = {
        {"missing.dat", "vistello: cannot read the project file missing.dat\n"},
        {"empty.dat", "vistello: empty.dat holds no images to generate\n"},
        {"no-template.dat", "vistello: cannot read the template gone.htm\n"},
        {"no-folder.dat", "vistello: output folder not found: gone\n"},
    };
    const std::set<std::string> before = scratch.Names();
    NoImageMaker images;
    NoPhotoReader photos;
    FakeClipMaker clips;
    for (const auto& [project, message] : refusals) {
        std::ostringstream out, err;
        EXPECT_EQ(RunGenerateCommand(files, images, photos, clips, project, out, err), 1)
            << project;
        EXPECT_EQ(err.str(), message);
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_EQ(scratch.Names(), before);
}

// Every file the file names lies under folder, by its path from there, with its bytes; what made
// the images is left out, as it holds the times they were made.
std::map<std::string, std::string> Published(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        if (item.is_regular_file() && item.path().filename() != ".vistello-images")
            files[fs::relative(item.path(), folder).string()] = ReadBytes(item.path().string());
    }
    return files;
}

// The command line makes the web copies, thumbnails, pages and overview page of a project with
// its own settings, and shows what the photos say, byte for byte as the window's Generate does.
TEST(GenerateCommandTest, WritesWhatTheWindowWrites) {
    ScratchDir scratch;
    WriteBytes("t.htm", "<<INDEX>>|<<BACK>>|<<IMAGEPATH>>|<<CAMERA>>");
    WriteBytes("o.htm", "<<SLIDES>><<PAGE>> <<THUMBPATH>> <<DATETAKEN>>;<<ENDSLIDES>>");
    WriteBytes("a.tif", "photo");
    WriteBytes("b.png", "alpha");
    fs::create_directories("cli");
    fs::create_directories("window");
    WriteBytes("vistello.dat",
               "TEMPLATE=t.htm\nOUTPUT=cli\nWEBSIDE=100\nTHUMBSIDE=50\nOVERVIEW=o.htm\n"
               "IMAGE=a.tif\nTITLE=A\nIMAGE=b.png\nTITLE=B\n");
    RealFileOps files;
    FakeImageMaker images;
    FakePhotoReader photos;
    photos.photos["a.tif"].shooting = {"2026-05-14 18:32", "<script>", "", ""};
    std::ostringstream out, err;
    FakeClipMaker clips;
    EXPECT_EQ(RunGenerateCommand(files, images, photos, clips, "", out, err), 0) << err.str();
    EXPECT_THAT(ReadBytes("cli/a.htm"), ::testing::EndsWith("|&lt;script&gt;"));
    EXPECT_THAT(ReadBytes("cli/index.htm"), ::testing::HasSubstr(" 2026-05-14 18:32;"));
    {
        FakeWindowSystem system;
        CMainDialog dialog;
        dialog.UseImageMaker(images);
        dialog.UsePhotoReader(photos);
        FakeWindow window(system, dialog);
        window.SetText(ids::kOutputFolder, "window");
        window.Press(ids::kGenerate);
    }
    EXPECT_EQ(Published("window"), Published("cli"));
    EXPECT_EQ(Published("cli").size(), 7u);
}

// Slides taken out of the project leave the folder: each file removed is a line of its own
// before the summary, which counts them; a page edited since is kept and said on stderr.
TEST(GenerateCommandTest, ListsTheFilesOfSlidesNoLongerInTheShow) {
    ScratchDir scratch;
    fs::create_directories("web");
    WriteBytes("t.htm", "<<IMAGETITLE>>");
    for (const char* image : {"a.jpg", "b.jpg", "c.jpg"}) WriteMedia(image, image);
    WriteBytes("vistello.dat",
               "TEMPLATE=t.htm\nOUTPUT=web\nIMAGE=a.jpg\nTITLE=A\nIMAGE=b.jpg\nTITLE=B\n"
               "IMAGE=c.jpg\nTITLE=C\n");
    RealFileOps files;
    NoImageMaker images;
    NoPhotoReader photos;
    FakeClipMaker clips;
    std::ostringstream out, err;
    EXPECT_EQ(RunGenerateCommand(files, images, photos, clips, "", out, err), 0) << err.str();
    WriteBytes("web/c.htm", "my own notes");
    WriteBytes("vistello.dat", "TEMPLATE=t.htm\nOUTPUT=web\nIMAGE=a.jpg\nTITLE=A\n");
    out.str("");
    EXPECT_EQ(RunGenerateCommand(files, images, photos, clips, "", out, err), 0) << err.str();
    EXPECT_EQ(out.str(),
              "Removed web/b.htm\nRemoved web/b.jpg\nRemoved web/c.jpg\n"
              "Wrote 1 of 1 page and copied 1 of 1 image into web/, removed 3 files the show no "
              "longer needs\n");
    EXPECT_EQ(err.str(), "vistello: web/c.htm: kept, it changed since it was written\n");

    // A file that cannot be removed is a failure: the exit status says so.
    FailingFileOps failing("unlink", 1, EACCES);
    WriteBytes("vistello.dat", "TEMPLATE=t.htm\nOUTPUT=web\n");
    EXPECT_EQ(RunGenerateCommand(failing, images, photos, clips, "", out, err), 1);
}

// Bytes that are no picture are never published as one, whatever the name says: a row's file
// is refused with why, with web copies and without, and the rest of the show is made.
TEST(GenerateCommandTest, RefusesToPublishBytesThatAreNoPicture) {
    ScratchDir scratch;
    fs::create_directories("web");
    WriteBytes("t.htm", "<<IMAGETITLE>>");
    WriteBytes("environ.jpg", "HOME=/home/anna");
    WriteBytes("anim.gif", "gif");
    WriteMedia("a.jpg", "a");
    RealFileOps files;
    FakeImageMaker images;
    NoPhotoReader photos;
    FakeClipMaker clips;
    const std::string notAPicture = ": not copied, its first bytes are no picture Vistello reads";
    for (const auto& [settings, refused, why] :
         {std::tuple{std::string(), std::string("environ.jpg"), notAPicture},
          std::tuple{std::string("WEBSIDE=100\n"), std::string("anim.gif"),
                     std::string(": could not be made into web/anim.gif: the GIF is damaged")}}) {
        WriteBytes("vistello.dat", "TEMPLATE=t.htm\nOUTPUT=web\n" + settings + "IMAGE=" + refused +
                                       "\nTITLE=R\nIMAGE=a.jpg\nTITLE=A\n");
        std::ostringstream out, err;
        EXPECT_EQ(RunGenerateCommand(files, images, photos, clips, "", out, err), 1);
        EXPECT_EQ(err.str(), "vistello: " + refused + why + "\n");
        EXPECT_FALSE(fs::exists("web/" + refused));
        EXPECT_TRUE(fs::exists("web/a.jpg") && fs::exists("web/r.htm"));
    }
}

// A project that does not exist yet is made with the folder's images, a clip among them, top row
// first; a second run skips them. A folder that cannot be read changes nothing. By date, the
// oldest photo is the top row.
TEST(ImportCommandTest, AddsAFoldersNewImagesToTheProject) {
    ScratchDir scratch;
    RealFileOps files;
    FakePhotoReader photos;
    const std::string clip = scratch / "pics/1.MOV";
    const std::string photo = scratch / "pics/2.jpg";
    photos.photos[clip] = {"Harbour", "", "sea", ""};
    fs::create_directory("pics");
    WriteMedia(clip, "");
    WriteMedia(photo, "");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunImportCommand(files, photos, "pics", "a.dat", false, out, err), 0);
    EXPECT_EQ(ReadBytes("a.dat"),
              "CREATOR=Vistello 1.0\r\nTEMPLATE=\r\nOUTPUT=\r\n"
              "IMAGE=" +
                  photo +
                  "\r\nTITLE=2\r\nHEIGHT=\r\nWIDTH=\r\nBORDER=\r\nALT=\r\n"
                  "KEYWORDS=\r\nDESCRIPTION=\r\n\r\n"
                  "IMAGE=" +
                  clip +
                  "\r\nTITLE=Harbour\r\nHEIGHT=\r\nWIDTH=\r\nBORDER=\r\nALT=\r\n"
                  "KEYWORDS=sea\r\nDESCRIPTION=\r\n");
    EXPECT_EQ(RunImportCommand(files, photos, "pics", "a.dat", false, out, err), 0);
    EXPECT_EQ(out.str(),
              "2 images added, 0 images already in the project skipped: a.dat\n"
              "0 images added, 2 images already in the project skipped: a.dat\n");
    EXPECT_EQ(RunImportCommand(files, photos, "gone", "a.dat", false, out, err), 1);
    EXPECT_EQ(err.str(), "vistello: cannot read the folder gone\n");
    photos.photos[photo] = {"", "", "", "", 100};
    photos.photos[clip].takenAt = 200;
    EXPECT_EQ(RunImportCommand(files, photos, "pics", "b.dat", true, out, err), 0);
    EXPECT_LT(ReadBytes("b.dat").find("pics/1.MOV"), ReadBytes("b.dat").find("pics/2.jpg"));
}

// A name with a line break would come back from the project as a row that names another file,
// or none: it is left out, and named on stderr with the break made visible.
TEST(ImportCommandTest, NamesEveryFileAProjectCannotKeepAndLeavesItOut) {
    ScratchDir scratch;
    RealFileOps files;
    NoPhotoReader photos;
    fs::create_directory("pics");
    for (const char* name : {"pics/two\nlines.jpg", "pics/ok.jpg", "pics/cr\r.png"})
        WriteMedia(name, "");
    std::ostringstream out, err;
    EXPECT_EQ(RunImportCommand(files, photos, "pics", "a.dat", false, out, err), 0);
    EXPECT_EQ(out.str(), "1 image added, 0 images already in the project skipped: a.dat\n");
    EXPECT_EQ(err.str(),
              "vistello: not added, a project cannot keep a line break in a file name: " +
                  scratch / "pics/cr\u240D.png\n" +
                  "vistello: not added, a project cannot keep a line break in a file name: " +
                  scratch / "pics/two\u240Alines.jpg\n");
    EXPECT_THAT(ReadBytes("a.dat"),
                ::testing::HasSubstr("IMAGE=" + scratch / "pics/ok.jpg\r\nTITLE=ok\r\n"));
    EXPECT_EQ(ReadBytes("a.dat").find("lines"), std::string::npos);
}

// What a photo or a clip says of itself is text: imported and published with the look for
// phones and the light one, it reads as it was written and never becomes an element nor leaves
// an attribute, on the slide's page and on the overview page alike.
TEST(ImportCommandTest, TextFromFilesNeverBecomesMarkupInTheLooks) {
    ScratchDir scratch;
    RealFileOps files;
    FakePhotoReader photos;
    FakeImageMaker images;
    FakeClipMaker clips;
    fs::create_directory("pics");
    WriteMedia("pics/a.jpg", "photo");
    WriteMedia("pics/b.mov", "waves");
    photos.photos[scratch / "pics/a.jpg"] = {
        "<script>alert(1)</script>", "<img src=x onerror=alert(2)>",
        "<b onmouseover=alert(3)>sea\" onfocus=\"alert(6)", "boat\" onerror=\"alert(4)"};
    photos.photos[scratch / "pics/b.mov"] = {"<svg onload=alert(5)>", "", "", ""};
    for (const std::string look : {"phone", "light"}) {
        const std::string project = look + ".dat";
        const std::string templates = VISTELLO_TEMPLATES "/" + look;
        WriteBytes(project, "TEMPLATE=" + templates + ".htm\nOUTPUT=" + look +
                                "\nWEBSIDE=100\nTHUMBSIDE=50\nOVERVIEW=" + templates +
                                "-overview.htm\n");
        fs::create_directory(look);
        std::ostringstream out, err;
        ASSERT_EQ(RunImportCommand(files, photos, "pics", project, false, out, err), 0);
        ASSERT_EQ(RunGenerateCommand(files, images, photos, clips, project, out, err), 0)
            << err.str();
        std::string pages;
        for (const auto& [name, text] : Published(look))
            if (name.ends_with(".htm")) pages += text;
        for (const char* markup : {"<script>alert", "<img src=x", "<b onmouseover", "<svg onload",
                                   "onerror=\"alert", "onfocus=\"alert"})
            EXPECT_EQ(pages.find(markup), std::string::npos) << look << ": " << markup;
        EXPECT_THAT(pages, ::testing::HasSubstr("<title>&lt;script>alert(1)&lt;/script></title>"));
        const std::string alt = "alt=\"boat&quot; onerror=&quot;alert(4)\"";
        const size_t first = pages.find(alt);
        EXPECT_NE(pages.find(alt, first + 1), std::string::npos) << look << ": " << pages;
    }
}

}  // namespace
}  // namespace vistello::testing
