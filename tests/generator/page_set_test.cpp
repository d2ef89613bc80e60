#include "generator/page_set.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/failing_file_ops.h"
#include "support/temp_dir.h"

namespace vistello {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class PageSetTest : public ::testing::Test {
protected:
    PageSetTest() {
        fs::create_directories(dir / "out");
        fs::create_directories(dir / "pics");
        tags.FillEmptyWithDefaults();
    }

    PageSetResult Run(const std::vector<ImageEntry>& entries) {
        RealFileOps ops;
        return Run(ops, entries, out);
    }

    PageSetResult Run(FileOps& ops, const std::vector<ImageEntry>& entries,
                      const std::string& folder, PageSetMemory* memory = nullptr) {
        std::vector<const ImageEntry*> rows;
        for (const ImageEntry& entry : entries) rows.push_back(&entry);
        written.clear();
        return WritePageSet(
            ops, rows, "<<BACK>>|<<NEXT>>|<<IMAGETITLE>>", tags, folder,
            [this](int row, bool ok) {
                EXPECT_EQ(static_cast<size_t>(row), written.size());
                written.push_back(ok);
                return true;
            },
            memory);
    }

    ImageEntry Entry(const std::string& title, const std::string& image) {
        ImageEntry entry;
        entry.title = title;
        entry.imagePath = image;
        return entry;
    }

    TempDir dir;
    std::string out = dir / "out/";
    TagSet tags;
    std::vector<bool> written;
};

std::string Repeat(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
}

TEST_F(PageSetTest, EveryFailureIsCountedAndTheRunGoesOn) {
    WriteBytes(dir / "pics/a.jpg", "a");
    WriteBytes(dir / "pics/fifo.jpg", "f");
    fs::create_directories(dir / "other");
    WriteBytes(dir / "other/a.jpg", "another a");
    WriteBytes(out + "here.jpg", "here");
    ASSERT_EQ(::mkfifo((out + "fifo.jpg").c_str(), 0600), 0);
    ImageEntry runaway = Entry("Runaway", dir / "pics/a.jpg");
    runaway.title = Repeat("<<ALT>>", 3000);
    runaway.alt = Repeat("<<KEYWORDS>>", 3000);

    const PageSetResult result =
        Run({Entry("Missing", dir / "pics/missing.jpg"), Entry("Fifo", dir / "pics/fifo.jpg"),
             Entry("Here", out + "./here.jpg"), Entry("A", dir / "pics/a.jpg"),
             Entry("Other A", dir / "other/a.jpg"), Entry("A again", dir / "pics/../pics/a.jpg"),
             runaway, Entry("Last", dir / "pics/a.jpg")});

    EXPECT_EQ(result.images, 8);
    EXPECT_EQ(result.imagesFailed, 3);
    EXPECT_EQ(result.pages, 8);
    EXPECT_EQ(result.pagesFailed, 1);
    const std::vector<std::string> failed = {dir / "pics/missing.jpg", dir / "pics/fifo.jpg",
                                             dir / "other/a.jpg", out + "<<alt>><<alt>>"};
    ASSERT_EQ(result.failures.size(), failed.size());
    for (size_t i = 0; i < failed.size(); ++i)
        EXPECT_TRUE(result.failures[i].starts_with(failed[i])) << result.failures[i];
    EXPECT_EQ(written, (std::vector<bool>{true, true, true, true, true, true, false, true}));
    EXPECT_TRUE(fs::is_fifo(out + "fifo.jpg"));
    EXPECT_EQ(ReadBytes(out + "here.jpg"), "here");
    EXPECT_EQ(ReadBytes(out + "a.jpg"), "a");
    EXPECT_EQ(result.firstPage, "missing.htm");
}

TEST_F(PageSetTest, TitlesThatLeadOutsideTheFolderStayInsideIt) {
    WriteBytes(dir / "pics/a.jpg", "a");
    const std::vector<std::string> titles = {"..", "../x", "/etc/x", std::string("..\0/x", 5),
                                             Repeat("../", 100)};
    std::vector<ImageEntry> entries;
    for (const std::string& title : titles) entries.push_back(Entry(title, dir / "pics/a.jpg"));

    const PageSetResult result = Run(entries);

    EXPECT_TRUE(result.failures.empty());
    std::vector<std::string> outside;
    for (const auto& item : fs::recursive_directory_iterator(dir.Path())) {
        const std::string path = fs::relative(item.path(), dir.Path()).string();
        if (!path.starts_with("out") && !path.starts_with("pics")) outside.push_back(path);
    }
    EXPECT_EQ(outside, std::vector<std::string>{});
    size_t inside = 0;
    for (const auto& item : fs::directory_iterator(out)) inside += item.is_regular_file();
    EXPECT_EQ(inside, titles.size() + 1);
}

// Every file in the folder by name, with its bytes.
std::map<std::string, std::string> Contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::directory_iterator(folder))
        files[item.path().filename().string()] = ReadBytes(item.path().string());
    return files;
}

// A second run rewrites only what changed, whatever stays in the folder between runs, and leaves
// the folder as a first run would; a memory of the last run changes none of that.
TEST_F(PageSetTest, ARunOverAnEarlierOneWritesOnlyWhatChanged) {
    PageSetMemory memory;
    for (PageSetMemory* remembered : {static_cast<PageSetMemory*>(nullptr), &memory}) {
        SCOPED_TRACE(remembered ? "with a memory" : "without");
        const std::string pics = dir / (remembered ? "pics-kept/" : "pics-plain/");
        const std::string folder = dir / (remembered ? "kept/" : "plain/");
        fs::create_directories(pics);
        fs::create_directories(folder);
        std::vector<ImageEntry> entries;
        for (int i = 0; i < 5; ++i) {
            WriteBytes(pics + std::to_string(i) + ".jpg", std::string(1000 + i, 'i'));
            entries.push_back(Entry("Day " + std::to_string(i), pics + std::to_string(i) + ".jpg"));
        }
        RealFileOps real;
        ASSERT_EQ(Run(real, entries, folder, remembered).pagesWritten, 5);

        struct Change {
            const char* what;
            std::function<void()> make;
            std::vector<std::string> replaced;
        };
        const std::vector<Change> changes = {
            {"nothing", [] {}, {}},
            {"a title",
             [&] { entries[2].title = "Changed"; },
             {folder + "day_1.htm", folder + "changed.htm", folder + "day_3.htm"}},
            // Same size: only the modification time tells the image changed.
            {"an image",
             [&] {
                 const std::string image = pics + "4.jpg";
                 const fs::file_time_type before = fs::last_write_time(image);
                 WriteBytes(image, std::string(1004, 'j'));
                 fs::last_write_time(image, before + std::chrono::seconds(1));
             },
             {folder + "4.jpg"}},
            {"a page by hand",
             [&] { WriteBytes(folder + "day_0.htm", "edited"); },
             {folder + "day_0.htm"}},
        };
        for (const Change& change : changes) {
            SCOPED_TRACE(change.what);
            change.make();
            testing::FailingFileOps ops;
            const PageSetResult result = Run(ops, entries, folder, remembered);
            EXPECT_EQ(ops.replaced, change.replaced);
            EXPECT_EQ(result.pagesWritten, 5);
            EXPECT_TRUE(result.failures.empty());
        }

        const std::string fresh = folder.substr(0, folder.size() - 1) + "-fresh/";
        fs::create_directories(fresh);
        Run(real, entries, fresh);
        std::map<std::string, std::string> kept = Contents(folder);
        EXPECT_EQ(kept.erase("day_2.htm"), 1u);
        EXPECT_EQ(kept, Contents(fresh));
    }
}

}  // namespace
}  // namespace vistello
