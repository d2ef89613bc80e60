#include "slides/entry_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "support/fake_window_system.h"
#include "ui/entry_list_view.h"

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

ImageEntry Titled(const std::string& title) {
    ImageEntry entry;
    entry.title = title;
    return entry;
}

// Rows dragged together land side by side where they were dropped, in their own order, wherever
// they came from; a view keeps them selected. Rows removed together go whatever their order and
// whether they exist; rows inserted at a place stand there, or at the end past the last row.
TEST(EntryListTest, RowsMoveRemoveAndInsertTogetherAsAViewSeesThem) {
    EntryList rows;
    EntryListView shown(rows);
    FakeListView view;
    shown.Attach(&view);
    for (char row = '9'; row >= '0'; --row) rows.InsertTop(Titled({'r', row}));
    view.SetSelection({1, 4, 7}, 4);

    rows.MoveRowsBefore({7, 1, 4}, 5);
    EXPECT_EQ(view.Rows(), "r0;r2;r3;r1;r4;r7;r5;r6;r8;r9;");
    EXPECT_EQ(view.SelectedRows(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(view.SelectionMark(), 4);
    rows.MoveRowsBefore({0, 9}, 10);
    EXPECT_EQ(view.Rows(), "r2;r3;r1;r4;r7;r5;r6;r8;r0;r9;");
    rows.MoveRowsBefore({8, 2, 42}, 0);
    EXPECT_EQ(view.Rows(), "r1;r0;r2;r3;r4;r7;r5;r6;r8;r9;");
    rows.DeleteRows({9, 2, 3, 5, 42, 3});
    EXPECT_EQ(view.Rows(), "r1;r0;r4;r5;r6;r8;");
    rows.InsertAt(2, {Titled("x"), Titled("y")});
    rows.InsertAt(99, {Titled("z")});
    EXPECT_EQ(view.Rows(), "r1;r0;x;y;r4;r5;r6;r8;z;");
    rows.MoveRowsBefore({0, 2, 4}, 6);
    EXPECT_EQ(view.Rows(), "r0;y;r5;r1;x;r4;r6;r8;z;");
}

}  // namespace
}  // namespace vistello::testing
