#include "generator/page_set.h"

#include <gtest/gtest.h>

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

// Every file in the folder by name, with its bytes.
std::map<std::string, std::string> Contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::directory_iterator(folder))
        files[item.path().filename().string()] = ReadBytes(item.path().string());
    return files;
}

// A second run rewrites only what changed, whatever happened to the folder between runs, and
// leaves it as a first run would; a memory of the last run changes none of that.
TEST(PageSetTest, ARunOverAnEarlierOneWritesOnlyWhatChanged) {
    ScratchDir scratch;
    WriteBytes("a.jpg", "a");
    TagSet tags;
    tags.FillEmptyWithDefaults();
    std::vector<ImageEntry> entries;
    for (int i = 0; i < 5; ++i)
        entries.push_back({"Day " + std::to_string(i), "", "", "", "", "", "", "a.jpg"});
    const auto run = [&](FileOps& ops, const std::string& folder, PageSetMemory* memory) {
        fs::create_directories(folder);
        std::vector<const ImageEntry*> rows;
        for (const ImageEntry& entry : entries) rows.push_back(&entry);
        return WritePageSet(
            ops, rows, "<<BACK>>|<<NEXT>>|<<IMAGETITLE>>", tags, folder,
            [](int, bool) { return true; }, memory);
    };
    RealFileOps real;
    PageSetMemory memory;
    for (PageSetMemory* remembered : {static_cast<PageSetMemory*>(nullptr), &memory}) {
        const std::string folder = remembered ? "kept/" : "plain/";
        entries[2].title = "Day 2";
        ASSERT_EQ(run(real, folder, remembered).pagesWritten, 5);
        // The image keeps its size: only its modification time tells it changed.
        const auto changeImage = [&] {
            const fs::file_time_type before = fs::last_write_time("a.jpg");
            WriteBytes("a.jpg", remembered ? "c" : "b");
            fs::last_write_time("a.jpg", before + std::chrono::seconds(1));
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
            EXPECT_TRUE(run(ops, folder, remembered).failures.empty());
            EXPECT_EQ(ops.replaced, replaced);
        }
        const std::string fresh = folder.substr(0, folder.size() - 1) + "-fresh/";
        run(real, fresh, nullptr);
        std::map<std::string, std::string> kept = Contents(folder);
        EXPECT_EQ(kept.erase("day_2.htm"), 1u);
        EXPECT_EQ(kept, Contents(fresh));
    }
}

}  // namespace
}  // namespace vistello::testing
