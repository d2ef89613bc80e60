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

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

ImageEntry Entry(const std::string& title, const std::string& image) {
    return {title, "", "", "", "", "", "", image};
}

std::string Repeat(const std::string& text, int times) {
    std::string repeated;
    while (times-- > 0) repeated += text;
    return repeated;
}

// Every file in the folder by name, with its bytes.
std::map<std::string, std::string> Contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::directory_iterator(folder))
        files[item.path().filename().string()] = ReadBytes(item.path().string());
    return files;
}

class PageSetTest : public ::testing::Test {
protected:
    PageSetTest() {
        fs::create_directories(out);
        fs::create_directories(dir / "pics");
        WriteBytes(dir / "pics/a.jpg", "a");
        tags.FillEmptyWithDefaults();
    }

    PageSetResult Run(const std::vector<ImageEntry>& entries, const std::string& folder,
                      FileOps& ops, PageSetMemory* memory = nullptr) {
        std::vector<const ImageEntry*> rows;
        for (const ImageEntry& entry : entries) rows.push_back(&entry);
        return WritePageSet(
            ops, rows, "<<BACK>>|<<NEXT>>|<<IMAGETITLE>>", tags, folder,
            [](int, bool) { return true; }, memory);
    }

    TempDir dir;
    std::string out = dir / "out/";
    TagSet tags;
    RealFileOps real;
};

// A missing image, a FIFO in the way, a name taken by another image and a page that would grow
// past the size limit each count as failed; the run goes on and replaces none of them.
TEST_F(PageSetTest, EveryFailureIsCountedAndTheRunGoesOn) {
    WriteBytes(dir / "pics/fifo.jpg", "f");
    fs::create_directories(dir / "other");
    WriteBytes(dir / "other/a.jpg", "another a");
    WriteBytes(out + "here.jpg", "here");
    ASSERT_EQ(::mkfifo((out + "fifo.jpg").c_str(), 0600), 0);
    ImageEntry runaway = Entry(Repeat("<<ALT>>", 3000), dir / "pics/a.jpg");
    runaway.alt = Repeat("<<KEYWORDS>>", 3000);

    const PageSetResult result =
        Run({Entry("Missing", dir / "pics/missing.jpg"), Entry("Fifo", dir / "pics/fifo.jpg"),
             Entry("Here", out + "./here.jpg"), Entry("A", dir / "pics/a.jpg"),
             Entry("Other A", dir / "other/a.jpg"), Entry("A again", dir / "pics/../pics/a.jpg"),
             runaway, Entry("Last", dir / "pics/a.jpg")},
            out, real);

    EXPECT_EQ(result.images, 8);
    EXPECT_EQ(result.imagesFailed, 3);
    EXPECT_EQ(result.pagesFailed, 1);
    const std::vector<std::string> failed = {dir / "pics/missing.jpg", dir / "pics/fifo.jpg",
                                             dir / "other/a.jpg", out + "<<alt>><<alt>>"};
    ASSERT_EQ(result.failures.size(), failed.size());
    for (size_t i = 0; i < failed.size(); ++i)
        EXPECT_TRUE(result.failures[i].starts_with(failed[i])) << result.failures[i];
    EXPECT_TRUE(fs::is_fifo(out + "fifo.jpg"));
    EXPECT_EQ(ReadBytes(out + "here.jpg"), "here");
    EXPECT_EQ(ReadBytes(out + "a.jpg"), "a");
}

TEST_F(PageSetTest, TitlesThatLeadOutsideTheFolderStayInsideIt) {
    std::vector<ImageEntry> entries;
    for (const std::string& title : {std::string(".."), std::string("../x"), std::string("/etc/x"),
                                     std::string("..\0/x", 5), Repeat("../", 100)})
        entries.push_back(Entry(title, dir / "pics/a.jpg"));
    EXPECT_TRUE(Run(entries, out, real).failures.empty());
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"out", "pics"}));
    EXPECT_EQ(Contents(dir / "pics").size(), 1u);
    EXPECT_EQ(Contents(out).size(), entries.size() + 1);
}

// A second run rewrites only what changed, whatever happened to the folder between runs, and
// leaves it as a first run would; a memory of the last run changes none of that.
TEST_F(PageSetTest, ARunOverAnEarlierOneWritesOnlyWhatChanged) {
    PageSetMemory memory;
    for (PageSetMemory* remembered : {static_cast<PageSetMemory*>(nullptr), &memory}) {
        const std::string folder = dir / (remembered ? "kept/" : "plain/");
        fs::create_directories(folder);
        std::vector<ImageEntry> entries;
        for (int i = 0; i < 5; ++i)
            entries.push_back(Entry("Day " + std::to_string(i), dir / "pics/a.jpg"));
        ASSERT_EQ(Run(entries, folder, real, remembered).pagesWritten, 5);
        // The image keeps its size: only its modification time tells it changed.
        const auto changeImage = [&] {
            const fs::file_time_type before = fs::last_write_time(dir / "pics/a.jpg");
            WriteBytes(dir / "pics/a.jpg", remembered ? "c" : "b");
            fs::last_write_time(dir / "pics/a.jpg", before + std::chrono::seconds(1));
        };
        const std::pair<std::function<void()>, std::vector<std::string>> changes[] = {
            {[] {}, {}},
            {[&] { entries[2].title = "Changed"; },
             {folder + "day_1.htm", folder + "changed.htm", folder + "day_3.htm"}},
            {changeImage, {folder + "a.jpg"}},
            {[&] { WriteBytes(folder + "day_0.htm", "edited"); }, {folder + "day_0.htm"}},
        };
        for (const auto& [change, replaced] : changes) {
            change();
            FailingFileOps ops;
            EXPECT_TRUE(Run(entries, folder, ops, remembered).failures.empty());
            EXPECT_EQ(ops.replaced, replaced);
        }
        const std::string fresh = folder.substr(0, folder.size() - 1) + "-fresh/";
        fs::create_directories(fresh);
        Run(entries, fresh, real);
        std::map<std::string, std::string> kept = Contents(folder);
        EXPECT_EQ(kept.erase("day_2.htm"), 1u);
        EXPECT_EQ(kept, Contents(fresh));
    }
}

}  // namespace
}  // namespace vistello::testing
