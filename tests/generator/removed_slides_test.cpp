#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>

#include "generator/page_set.h"
#include "support/failing_file_ops.h"
#include "support/fake_clip_maker.h"
#include "support/fake_image_maker.h"
#include "support/folding_file_ops.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Every file under the folder but the record, by its path from there, with its bytes.
Files Published(const std::string& folder) {
    Files files;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        if (item.is_regular_file() && item.path().filename() != ".vistello-images")
            files[fs::relative(item.path(), folder).string()] = ReadBytes(item.path().string());
    }
    return files;
}

// The files of the slide: its page and what was made of its photo, each named after it.
Files Of(const Files& files, const std::string& title) {
    Files of;
    for (const auto& [path, bytes] : files) {
        const std::string name = fs::path(path).filename().string();
        if (name.starts_with(title) &&
            std::string_view(".-").find(name[title.size()]) != std::string_view::npos)
            of.emplace(path, bytes);
    }
    return of;
}

// Real file access that runs `during` once, as a run is about to put its record in place the
// time after `skip` more, and that fails the `failing`-th time.
class RecordWriteHook : public RealFileOps {
public:
    int Rename(const std::string& from, const std::string& to) override {
        if (!to.ends_with(".vistello-images")) return RealFileOps::Rename(from, to);
        if (during && skip-- == 0) std::exchange(during, nullptr)();
        if (--failing == 0) {
            errno = ENOSPC;
            return -1;
        }
        return RealFileOps::Rename(from, to);
    }

    std::function<void()> during;
    int skip = 0;
    // The record's write that fails, counting from 1, as on a full disk.
    int failing = 0;
};

// A show of photos with web copies, thumbnails and every smaller size into "out/", saved in a
// project file; the slides by title, each of the photo of its own name.
class RemovedSlidesTest : public ::testing::Test {
protected:
    RemovedSlidesTest() { fs::create_directories("out"); }

    PageSetResult Generate(const std::vector<std::string>& titles,
                           const std::string& project = "show.dat") {
        std::vector<ImageEntry> entries;
        for (const std::string& title : titles) {
            if (!fs::exists(title + ".jpg")) WriteMedia(title + ".jpg", "photo " + title);
            entries.push_back({title, "", "", "", "", "", "", title + ".jpg"});
        }
        return GenerateEntries(entries, project);
    }
    PageSetResult GenerateEntries(const std::vector<ImageEntry>& entries,
                                  const std::string& project = "show.dat") {
        if (!project.empty() && !fs::exists(project)) WriteBytes(project, "");
        std::vector<const ImageEntry*> rows;
        for (const ImageEntry& entry : entries) rows.push_back(&entry);
        WebShow web{settings, overview, &images, onImage, 2,
                    nullptr,  clips,    {},      project, templateFile};
        web.placesFile = "state/projects";
        return WritePageSet(*ops, rows, page, tags, "out/", onPage, nullptr, &web);
    }

    ScratchDir scratch;
    RealFileOps realOps;
    RecordWriteHook hooked;
    FileOps* ops = &realOps;
    FakeImageMaker images;
    ClipMaker* clips = nullptr;
    std::function<bool(int, int)> onImage;
    PageDone onPage;
    std::string overview;
    TagSet tags;
    std::string page = "<<MEDIA>>";
    std::string templateFile = "t.htm";
    WebSettings settings{2048, 85, 400, false, "", false, ""};
};

// A slide taken out of the show takes its page and every picture made of it along, and the run
// counts them; the other slides' files stay byte for byte. The record an earlier version wrote,
// which says nothing of projects, still serves: nothing is made again, and the files found as it
// says they were made become the project's. A run that changes nothing leaves the record as it was.
TEST_F(RemovedSlidesTest, ARemovedSlidesPageAndPicturesLeaveTheFolder) {
    EXPECT_THAT(Generate({"a", "b", "c"}, "").failures, IsEmpty());
    EXPECT_THAT(ReadBytes("out/.vistello-images"), ::testing::Not(::testing::HasSubstr("\nP\t")));
    images.made = 0;
    Generate({"a", "b", "c"});
    EXPECT_EQ(images.made, 0);
    const Files before = Published("out");
    const Files ofB = Of(before, "b");
    ASSERT_EQ(ofB.size(), 14u);

    const PageSetResult result = Generate({"a", "c"});
    EXPECT_EQ(result.removed.size(), ofB.size());
    EXPECT_THAT(result.removed, ::testing::Contains("out/b.htm"));
    EXPECT_THAT(result.kept, IsEmpty());
    EXPECT_THAT(Of(Published("out"), "b"), IsEmpty());
    Files others = before;
    for (const auto& entry : ofB) others.erase(entry.first);
    EXPECT_EQ(Published("out"), others);

    const std::string record = ReadBytes("out/.vistello-images");
    EXPECT_THAT(Generate({"a", "c"}).removed, IsEmpty());
    EXPECT_EQ(images.made, 0);
    EXPECT_EQ(ReadBytes("out/.vistello-images"), record);
}

// A file changed since Generate wrote it stays and is said; one that cannot be removed is a
// failure with the system's reason, and a later run removes it.
TEST_F(RemovedSlidesTest, AFileChangedSinceOrThatCannotGoStaysAndIsSaid) {
    Generate({"a", "b"});
    WriteBytes("out/b.htm", "my own notes");
    FailingFileOps failing("unlink", 1, EACCES);
    ops = &failing;
    PageSetResult result = Generate({"a"});
    EXPECT_THAT(result.kept, ElementsAre("out/b.htm: kept, it changed since it was written"));
    EXPECT_EQ(result.removalsFailed, 1);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_THAT(result.failures[0],
                ::testing::EndsWith(": could not be removed: Permission denied"));
    EXPECT_EQ(result.removed.size(), 12u);
    EXPECT_EQ(ReadBytes("out/b.htm"), "my own notes");

    ops = &realOps;
    result = Generate({"a"});
    EXPECT_EQ(result.removed.size(), 1u);
    EXPECT_THAT(result.kept, IsEmpty());
    EXPECT_EQ(Published("out").size(), 15u);
}

// Two projects into one folder: what one removes never touches the other's files, nor a picture
// both use. The show's own files stay though Generate once wrote them: a page made the
// template, and a made picture that became a slide's photo.
TEST_F(RemovedSlidesTest, AnotherProjectsFilesAndTheShowsOwnFilesStay) {
    Generate({"a", "b"});
    Generate({"b", "x"}, "other.dat");
    const Files ofOther = Of(Published("out"), "x");
    const PageSetResult kept = Generate({"a"});
    EXPECT_THAT(kept.removed, ::testing::Not(::testing::Contains("out/b.jpg")));
    EXPECT_THAT(kept.kept,
                ::testing::Contains("out/b.jpg: kept, the project " +
                                    fs::absolute("other.dat").string() + " uses it too"));
    EXPECT_EQ(ReadBytes("out/b.jpg"), "photo b@2048q85jpg");
    EXPECT_EQ(Of(Published("out"), "x"), ofOther);
    EXPECT_THAT(Generate({}, "other.dat").removed, ::testing::Contains("out/b.jpg"));

    templateFile = "out/a.htm";
    const PageSetResult result =
        GenerateEntries({{"Again", "", "", "", "", "", "", "out/a-480.jpg"}});
    EXPECT_THAT(result.kept, ::testing::IsSupersetOf({
                                 "out/a.htm: kept, the show itself uses it",
                                 "out/a-480.jpg: kept, the show itself uses it",
                             }));
    EXPECT_TRUE(fs::exists("out/a.htm") && fs::exists("out/a-480.jpg"));
    EXPECT_FALSE(fs::exists("out/a.jpg"));
}

// The record is a file anyone can write: a path it gives outside the folder, the project file
// itself, and files reached through a folder that became a link all stay.
TEST_F(RemovedSlidesTest, NothingOutsideTheFolderNorThroughALinkIsRemoved) {
    Generate({"a", "b"}, "out/show.dat");
    WriteBytes("outside.txt", "mine");
    WriteBytes("out/show.dat", "IMAGE=a.jpg\r\n");
    std::string lines = "P\t" + fs::absolute("out/show.dat").string() + "\n";
    for (const char* path : {"../outside.txt", "show.dat"}) {
        struct stat info {};
        ASSERT_EQ(::stat((std::string("out/") + path).c_str(), &info), 0);
        lines += std::string("O\t") + path + "\t" + std::to_string(info.st_size) + "\t" +
                 std::to_string(info.st_mtim.tv_sec) + "\t" + std::to_string(info.st_mtim.tv_nsec) +
                 "\t" + std::to_string(info.st_ino) + "\n";
    }
    WriteBytes("out/.vistello-images", ReadBytes("out/.vistello-images") + lines);
    fs::rename("out/thumbs", "elsewhere");
    fs::create_directory_symlink("../elsewhere", "out/thumbs");
    const PageSetResult result = Generate({}, "out/show.dat");
    EXPECT_EQ(ReadBytes("outside.txt"), "mine");
    EXPECT_TRUE(fs::exists("out/show.dat"));
    EXPECT_EQ(scratch.Names("elsewhere").size(), 2u);
    EXPECT_THAT(result.kept,
                ::testing::IsSupersetOf({
                    "out/../outside.txt: kept, it is not a file inside the output folder",
                    "out/show.dat: kept, the show itself uses it",
                    "out/thumbs/a.jpg: kept, it is not a file inside the output folder",
                }));
}

// A run of another project into the folder while this one runs keeps its part of the record:
// what it wrote is still its own to remove.
TEST_F(RemovedSlidesTest, TwoProjectsRunningAtOnceKeepEachOthersFiles) {
    Generate({"a"});
    onImage = [this](int, int) {
        onImage = nullptr;
        Generate({"x"}, "other.dat");
        return true;
    };
    Generate({"a", "b"});
    EXPECT_THAT(Generate({}, "other.dat").removed, ::testing::Contains("out/x.htm"));

    // ... and what its slides show as their own photos stays.
    onImage = [this](int, int) {
        onImage = nullptr;
        GenerateEntries({{"Red", "", "", "", "", "", "", "out/b.jpg"}}, "other.dat");
        return true;
    };
    Generate({"a", "c"});
    EXPECT_TRUE(fs::exists("out/b.jpg"));

    // ... also when that run comes after this one's pictures, while it writes its pages.
    Generate({"a", "d"});
    onPage = [this](int, bool) {
        onPage = nullptr;
        GenerateEntries({{"Red", "", "", "", "", "", "", "out/d.jpg"}}, "other.dat");
        return true;
    };
    Generate({"a"});
    EXPECT_TRUE(fs::exists("out/d.jpg"));
}

// A run waits while another holds the folder, so that the two never write the record at once.
TEST_F(RemovedSlidesTest, ARunWaitsForAnotherHoldingTheFolder) {
    const int held = ::open("out", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    std::atomic<bool> done = false;
    std::thread run([&] {
        Generate({"a"});
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(done);
    ::close(held);
    run.join();
    EXPECT_TRUE(fs::exists("out/.vistello-images"));
}

// Another project's run that comes while one writes its record waits for the folder to be free,
// so that neither record loses what the other run wrote.
TEST_F(RemovedSlidesTest, ARunThatComesWhileTheRecordIsWrittenWaitsForIt) {
    ops = &hooked;
    // As the pictures' part of the record is written, then as the whole of it is.
    for (const int skip : {0, 1}) {
        Generate({"a"});
        const std::string name = "x" + std::to_string(skip);
        WriteBytes(name + ".jpg", "photo");
        WriteBytes("other.dat", "");
        const ImageEntry x{name, "", "", "", "", "", "", name + ".jpg"};
        const std::vector<const ImageEntry*> rows = {&x};
        FakeImageMaker otherImages;
        WebShow other{settings, overview, &otherImages, {},          2,
                      nullptr,  nullptr,  {},           "other.dat", ""};
        std::atomic<bool> done = false;
        std::thread run;
        hooked.skip = skip;
        hooked.during = [&] {
            run = std::thread([&] {
                WritePageSet(hooked, rows, page, tags, "out/", {}, nullptr, &other);
                done = true;
            });
            for (int wait = 0; wait < 30 && !done; ++wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        };
        Generate({"a", "b"});
        run.join();
        EXPECT_THAT(Generate({}, "other.dat").removed, ::testing::Contains("out/" + name + ".htm"));
        EXPECT_THAT(Generate({"a"}).removed, ::testing::Contains("out/b.htm"));
    }
}

// A project whose file is gone, renamed or deleted, keeps nothing it wrote.
TEST_F(RemovedSlidesTest, AProjectWhoseFileIsGoneKeepsNothingItWrote) {
    Generate({"a", "b"});
    Generate({"b"}, "other.dat");
    fs::rename("other.dat", "trip.dat");
    EXPECT_THAT(Generate({"a"}).removed, ::testing::Contains("out/b.jpg"));
}

// A renamed project keeps what it wrote: the next run takes away what it no longer shows. The
// record knows projects and sources by digest only.
TEST_F(RemovedSlidesTest, ARenamedProjectKeepsWhatItWroteAndTheRecordNamesNoPath) {
    Generate({"a", "b"}, "p.dat");
    fs::rename("p.dat", "q.dat");
    EXPECT_THAT(Generate({"a"}, "q.dat").removed, ::testing::Contains("out/b.htm"));
    EXPECT_THAT(Of(Published("out"), "b"), IsEmpty());
    const std::string record = ReadBytes("out/.vistello-images");
    EXPECT_EQ(record.find(fs::current_path().string()), std::string::npos);
    EXPECT_EQ(record.find(".dat"), std::string::npos);

    // A project that is only missing is not taken for another that comes to the folder.
    fs::rename("q.dat", "away.dat");
    Generate({"z"}, "r.dat");
    EXPECT_FALSE(Of(Published("out"), "a").empty());
}

// A run stopped while it makes pictures records what it made, so that a later run takes away
// the pictures of a slide removed meanwhile.
TEST_F(RemovedSlidesTest, WhatAStoppedRunMadeIsTakenAwayLater) {
    // Stopped once the photos were looked at and every picture made, before any page.
    int ends = 0;
    onImage = [&ends](int done, int total) { return done < total || ++ends < 3; };
    EXPECT_TRUE(Generate({"a", "b"}).stopped);
    ASSERT_FALSE(Of(Published("out"), "b").empty());
    onImage = nullptr;
    Generate({"a"});
    EXPECT_THAT(Of(Published("out"), "b"), IsEmpty());
}

// What a run wrote stays its own though the record could not be written at its end, as on a full
// disk: a later run takes away the page and pictures of a slide removed meanwhile.
TEST_F(RemovedSlidesTest, WhatARunWroteStaysItsOwnThoughItsRecordCouldNotBeWritten) {
    ops = &hooked;
    hooked.failing = 3;
    EXPECT_THAT(Generate({"a", "b"}).failures,
                ElementsAre("out/.vistello-images: could not be written: No space left on device"));
    Generate({"a"});
    EXPECT_THAT(Of(Published("out"), "b"), IsEmpty());
}

// A page or a picture whose name is a link is replaced in the folder by the file; the file the
// link led to is never written, nor a file in a folder of the show reached through a link.
TEST_F(RemovedSlidesTest, AMadeFileReplacesALinkAndNeverWritesThroughIt) {
    Generate({"a"});
    for (const char* name : {"a.htm", "a.jpg"}) {
        WriteBytes(std::string("victim-") + name, "mine");
        fs::remove(std::string("out/") + name);
        fs::create_symlink(std::string("../victim-") + name, std::string("out/") + name);
    }
    WriteBytes("a.jpg", "photo a, edited");
    Generate({"a"});
    for (const char* name : {"a.htm", "a.jpg"}) {
        EXPECT_EQ(ReadBytes(std::string("victim-") + name), "mine");
        EXPECT_FALSE(fs::is_symlink(std::string("out/") + name));
    }

    // A photo copied as it is, into a folder whose record is gone, replaces the link too.
    settings.largestSide = 0;
    WriteMedia("p.jpg", "photo p");
    WriteBytes("victim-p.jpg", "mine");
    fs::create_symlink("../victim-p.jpg", "out/p.jpg");
    fs::remove("out/.vistello-images");
    Generate({"p"});
    EXPECT_EQ(ReadBytes("victim-p.jpg"), "mine");
    settings.largestSide = 2048;

    // Nor is anything written into a folder of the show that became a link.
    fs::rename("out/thumbs", "elsewhere");
    fs::create_directory_symlink("../elsewhere", "out/thumbs");
    WriteBytes("a.jpg", "photo a, edited again");
    EXPECT_THAT(Generate({"a"}).failures,
                ::testing::Contains(::testing::HasSubstr("reached through a link")));
    EXPECT_EQ(ReadBytes("elsewhere/a.jpg"), "photo a, edited@400q85jpg");
}

// A file in the folder the show did not write is never replaced, the user's own or another
// project's picture of the same name: the show's file takes the next free name, and the run says
// so. A folder without a record, as earlier versions left it, keeps its names.
TEST_F(RemovedSlidesTest, FilesTheShowDidNotWriteAreNeverReplaced) {
    Generate({"a"});
    WriteBytes("out/mine.htm", "my page");
    WriteBytes("out/mine.jpg", "my own picture");
    EXPECT_THAT(Generate({"a", "mine"}).passed,
                ::testing::IsSupersetOf({"out/mine.htm", "out/mine.jpg"}));
    EXPECT_EQ(ReadBytes("out/mine.htm") + ReadBytes("out/mine.jpg"), "my pagemy own picture");
    EXPECT_EQ(ReadBytes("out/mine_2.jpg"), "photo mine@2048q85jpg");
    EXPECT_TRUE(fs::exists("out/mine_2.htm"));

    fs::create_directory("elsewhere");
    WriteBytes("elsewhere/a.jpg", "another a");
    GenerateEntries({{"Other", "", "", "", "", "", "", "elsewhere/a.jpg"}}, "other.dat");
    EXPECT_EQ(ReadBytes("out/a.jpg"), "photo a@2048q85jpg");
    EXPECT_EQ(ReadBytes("out/a_2.jpg"), "another a@2048q85jpg");
    overview = "<<SLIDES>><<PAGE>><<ENDSLIDES>>";
    settings.overviewTemplate = "o.htm";
    Generate({"a"});
    const std::string index = ReadBytes("out/index.htm");
    EXPECT_THAT(GenerateEntries({{"Other", "", "", "", "", "", "", "elsewhere/a.jpg"}}, "other.dat")
                    .failures,
                ::testing::Contains("out/index.htm: not written, a file this show did not write "
                                    "is there"));
    EXPECT_EQ(ReadBytes("out/index.htm"), index);

    fs::remove("out/.vistello-images");
    WriteBytes("out/a.htm", "an earlier version's page");
    Generate({"a"});
    EXPECT_NE(ReadBytes("out/a.htm"), "an earlier version's page");
}

// On a folder that takes names differing in case for one, a photo renamed only in case keeps its
// copy, which is the same file under the name the record knew.
TEST_F(RemovedSlidesTest, AFileUnderAnotherCaseOfItsNameStays) {
    settings = {0, 85, 0, false, "", false, ""};
    FoldingFileOps folding("out/");
    ops = &folding;
    WriteMedia("Beach.jpg", "sea");
    GenerateEntries({{"b", "", "", "", "", "", "", "Beach.jpg"}});
    fs::rename("Beach.jpg", "beach.jpg");
    GenerateEntries({{"b", "", "", "", "", "", "", "beach.jpg"}});
    EXPECT_EQ(ReadBytes("out/beach.jpg"), MediaBytes("beach.jpg", "sea"));
}

// A link planted where the record goes is neither read nor written through: the record takes its
// place, and the file it led to, a record itself, stays as it was and says nothing to the run.
TEST_F(RemovedSlidesTest, TheRecordIsNeverReadOrWrittenThroughALink) {
    Generate({"a"});
    fs::rename("out/.vistello-images", "precious.txt");
    const std::string precious = ReadBytes("precious.txt");
    fs::create_symlink("../precious.txt", "out/.vistello-images");
    images.made = 0;
    EXPECT_THAT(Generate({"a"}).failures, IsEmpty());
    EXPECT_GT(images.made, 0);
    EXPECT_EQ(ReadBytes("precious.txt"), precious);
    EXPECT_FALSE(fs::is_symlink("out/.vistello-images"));
}

// A project that took out all its slides keeps no part of the record, which would otherwise keep
// files for it that another project then could not remove.
TEST_F(RemovedSlidesTest, AProjectWithNoSlidesLeftKeepsNothing) {
    Generate({"b"});
    Generate({"b"}, "other.dat");
    Generate({});
    EXPECT_THAT(Generate({}, "other.dat").removed, ::testing::Contains("out/b.jpg"));
}

// A page never takes the name of the project file or a template lying in the output folder.
TEST_F(RemovedSlidesTest, APageNeverWritesOverTheProjectsOwnFiles) {
    WriteBytes("out/light.htm", "<<MEDIA>>");
    WriteBytes("out/trip.htm", "the project");
    WriteBytes("out/tiles.htm", "<<THUMBNAIL>>");
    templateFile = "out/light.htm";
    settings.overviewTemplate = "out/tiles.htm";
    overview = "<<THUMBNAIL>>";
    Generate({"light", "trip", "tiles"}, "out/trip.htm");
    EXPECT_EQ(ReadBytes("out/light.htm") + ReadBytes("out/tiles.htm"), "<<MEDIA>><<THUMBNAIL>>");
    EXPECT_EQ(ReadBytes("out/trip.htm"), "the project");
    for (const char* made : {"out/light_2.htm", "out/trip_2.htm", "out/tiles_2.htm"})
        EXPECT_TRUE(fs::exists(made)) << made;
    settings.overviewTemplate.clear();
    overview.clear();
    // Named through a link to the folder, or reached through a link in the folder.
    fs::create_directory_symlink("out", "alias");
    templateFile = "alias/light.htm";
    Generate({"light"}, "out/trip.htm");
    WriteBytes("mine.htm", "<<MEDIA>>");
    fs::create_symlink("../mine.htm", "out/view.htm");
    templateFile = "mine.htm";
    EXPECT_THAT(Generate({"view"}, "out/trip.htm").passed, ElementsAre("out/view.htm"));
    EXPECT_EQ(ReadBytes("out/light.htm") + ReadBytes("mine.htm"), "<<MEDIA>><<MEDIA>>");

    templateFile = "out/index.htm";
    WriteBytes(templateFile, "<<MEDIA>>");
    overview = "<<THUMBNAIL>>";
    EXPECT_THAT(Generate({"a"}).failures,
                ElementsAre("out/index.htm: not written, it is the project's own file"));
    EXPECT_EQ(ReadBytes("out/index.htm"), "<<MEDIA>>");
}

// A picture one project made stays while another project's slide shows it as its own photo,
// even once that project's file is gone.
TEST_F(RemovedSlidesTest, APictureAnotherProjectShowsStays) {
    Generate({"a", "b"});
    GenerateEntries({{"Red", "", "", "", "", "", "", "out/b.jpg"}}, "other.dat");
    fs::remove("other.dat");
    const PageSetResult result = Generate({"a"});
    EXPECT_THAT(result.kept,
                ::testing::Contains("out/b.jpg: kept, the project " +
                                    fs::absolute("other.dat").string() + " uses it too"));
    EXPECT_TRUE(fs::exists("out/b.jpg"));
    // Named through a link to the folder, by that project or by this one, it is the same file.
    fs::create_directory_symlink("out", "alias");
    GenerateEntries({{"Red", "", "", "", "", "", "", "alias/a.jpg"}}, "other.dat");
    EXPECT_TRUE(fs::exists("out/a.jpg"));
    Generate({"c"});
    EXPECT_TRUE(fs::exists("out/a.jpg"));
    fs::create_symlink("show.dat", "linked.dat");
    EXPECT_THAT(Generate({}, "linked.dat").removed, ::testing::Contains("out/c.jpg"));
}

// A show that copies its photos as they are keeps a thumbnail an earlier run made once a slide
// shows it as its photo.
TEST_F(RemovedSlidesTest, AThumbnailThatBecameAPhotoStays) {
    settings = {0, 85, 400, false, "", false, ""};
    Generate({"a"});
    const PageSetResult result =
        GenerateEntries({{"Small", "", "", "", "", "", "", "out/thumbs/a.jpg"}});
    EXPECT_THAT(result.kept,
                ::testing::Contains("out/thumbs/a.jpg: kept, the show itself uses it"));
    EXPECT_TRUE(fs::exists("out/thumbs/a.jpg"));
}

// A made file swapped for another of the same size and times, as a photo moved over it, is not
// the one written: it stays.
TEST_F(RemovedSlidesTest, AFileSwappedForAnotherOfTheSameSizeAndTimeStays) {
    Generate({"a", "b"});
    struct stat info {};
    ASSERT_EQ(::stat("out/b.jpg", &info), 0);
    WriteBytes("swap.jpg", std::string(static_cast<size_t>(info.st_size), 'x'));
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, "swap.jpg", times, 0), 0);
    fs::rename("swap.jpg", "out/b.jpg");
    EXPECT_THAT(Generate({"a"}).kept,
                ElementsAre("out/b.jpg: kept, it changed since it was written"));
}

// A slide still in the show keeps what was made of its photo while the photo is missing or cannot
// be read; a run that is cancelled removes nothing; the same project named another way is one
// project; a name with a space or a percent sign is removed like any other.
TEST_F(RemovedSlidesTest, OnlyTheFilesOfSlidesTakenOutGo) {
    Generate({"a", "b c", "d%20e", "f\rg", "h\ti"});
    // Its page shows what can be shown of it now; its pictures stay as they were.
    const auto picturesOfA = [] {
        Files files = Of(Published("out"), "a");
        files.erase("a.htm");
        return files;
    };
    const Files ofA = picturesOfA();
    const std::vector<ImageEntry> all = {{"a", "", "", "", "", "", "", "a.jpg"},
                                         {"b c", "", "", "", "", "", "", "b c.jpg"},
                                         {"d%20e", "", "", "", "", "", "", "d%20e.jpg"},
                                         {"f\rg", "", "", "", "", "", "", "f\rg.jpg"},
                                         {"h\ti", "", "", "", "", "", "", "h\ti.jpg"}};
    fs::rename("a.jpg", "gone.jpg");
    EXPECT_THAT(GenerateEntries(all).removed, IsEmpty());
    EXPECT_EQ(picturesOfA(), ofA);
    WriteBytes("a.jpg", "unknown");
    EXPECT_THAT(GenerateEntries(all).removed, IsEmpty());
    const Files ofB = Of(Published("out"), "b c");
    const ImageEntry onlyA{"a", "", "", "", "", "", "", "a.jpg"};
    const std::vector<const ImageEntry*> rows = {&onlyA};
    WebShow web{settings, "", &images, {}, 2, nullptr, nullptr, {}, "show.dat", templateFile};
    EXPECT_TRUE(WritePageSet(
                    *ops, rows, page, tags, "out/", [](int, bool) { return false; }, nullptr, &web)
                    .stopped);
    EXPECT_EQ(Of(Published("out"), "b c"), ofB);

    const PageSetResult result = Generate({"a"}, "./show.dat");
    EXPECT_THAT(result.kept, IsEmpty());
    EXPECT_THAT(Of(Published("out"), "b c"), IsEmpty());
    EXPECT_THAT(Of(Published("out"), "d%20e"), IsEmpty());
    EXPECT_THAT(Of(Published("out"), "f\rg"), IsEmpty());
    EXPECT_THAT(Of(Published("out"), "h\ti"), IsEmpty());
}

// A file the show copied that a slide now shows in place is the slide's own: it stays, and is no
// longer the show's to remove once that slide goes too.
TEST_F(RemovedSlidesTest, ACopyThatBecameASlidesPhotoInPlaceIsNoLongerTheShows) {
    settings = {0, 85, 0, false, "", false, ""};
    Generate({"a"});
    const PageSetResult inPlace = GenerateEntries({{"a", "", "", "", "", "", "", "out/a.jpg"}});
    EXPECT_THAT(inPlace.kept, IsEmpty());
    EXPECT_THAT(inPlace.removed, IsEmpty());
    EXPECT_THAT(Generate({}).removed, ElementsAre("out/a.htm"));
    EXPECT_EQ(ReadBytes("out/a.jpg"), MediaBytes("a.jpg", "photo a"));
}

// A slide's photo or clip that is a link to a file made for a slide taken out keeps that file,
// whether the show copies photos as they are or makes web versions of clips.
TEST_F(RemovedSlidesTest, AFileASlideLinksToStays) {
    settings = {0, 85, 0, false, "", false, ""};
    Generate({"a"});
    fs::create_symlink("out/a.jpg", "g.jpg");
    EXPECT_THAT(Generate({"g"}).kept,
                ::testing::Contains("out/a.jpg: kept, the show itself uses it"));
    EXPECT_EQ(ReadBytes("out/a.jpg"), MediaBytes("a.jpg", "photo a"));

    settings = {2048, 85, 400, false, "", false, ""};
    FakeClipMaker clipMaker;
    clips = &clipMaker;
    WriteMedia("c.mp4", "clip c");
    GenerateEntries({{"c", "", "", "", "", "", "", "c.mp4"}});
    fs::create_symlink("out/c.mp4", "h.mp4");
    EXPECT_THAT(GenerateEntries({{"h", "", "", "", "", "", "", "h.mp4"}}).kept,
                ::testing::Contains("out/c.mp4: kept, the show itself uses it"));
    EXPECT_TRUE(fs::exists("out/c.mp4"));
}

// Files found where an older record says they were made become the show's only while they are
// as made: one a person changed since, of the same size, is never removed.
TEST_F(RemovedSlidesTest, AFileChangedBeforeTheShowTookItOverIsNeverRemoved) {
    Generate({"a", "b"}, "");
    fs::rename("b.jpg", "away.jpg");
    const std::string mine(ReadBytes("out/b.jpg").size(), 'x');
    WriteBytes("out/b.jpg", mine);
    GenerateEntries(
        {{"a", "", "", "", "", "", "", "a.jpg"}, {"b", "", "", "", "", "", "", "b.jpg"}});
    const PageSetResult result = Generate({"a"});
    EXPECT_THAT(result.removed, ::testing::Not(::testing::Contains("out/b.jpg")));
    EXPECT_EQ(ReadBytes("out/b.jpg"), mine);
}

}  // namespace
}  // namespace vistello::testing
