#include "slides/entry_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace vistello::testing {
namespace {

// A header click gives exactly the rows a plain stable sort of the column's bytes gives: dozens of
// equal cells keep their order, texts that agree past the eight bytes after their shared start
// are told apart by the rest, and bytes of UTF-8 order above plain letters. Sorted rows reverse.
TEST(EntryListTest, SortsAsAStableSortOfTheColumnsBytes) {
    std::mt19937 random(5);
    const char* const middles[] = {"0000000000a", "0000000000b", "\xc3\xa9", "0000000000"};
    std::vector<ImageEntry> entries;
    for (int i = 0; i < 400; ++i) {
        ImageEntry entry;
        entry.title = std::string("Slide ") + middles[random() % 4] + std::to_string(random() % 3);
        entry.description = std::to_string(i);
        entries.push_back(entry);
    }
    EntryList list;
    list.InsertTop(entries);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ImageEntry& a, const ImageEntry& b) { return a.title < b.title; });
    const auto rows = [&list] {
        std::vector<ImageEntry> shown;
        for (int row = 0; row < list.RowCount(); ++row) shown.push_back(list.Row(row));
        return shown;
    };
    list.SortByColumn(0);
    EXPECT_EQ(rows(), entries);
    list.SortByColumn(0);
    std::reverse(entries.begin(), entries.end());
    EXPECT_EQ(rows(), entries);
}

}  // namespace
}  // namespace vistello::testing
