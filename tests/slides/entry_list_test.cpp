#include "slides/entry_list.h"

#include <gtest/gtest.h>

#include "support/fake_list_view.h"

namespace vistello::testing {
namespace {

ImageEntry Titled(const std::string& title) { return {title, "", "", "", "", "", "", "x.jpg"}; }

class EntryListTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.Attach(&view);
        list.SetupColumns();
    }

    FakeListView view;
    EntryList list;
};

TEST_F(EntryListTest, RowsOutsideTheListAreRefusedAndReadEmpty) {
    list.InsertTop(Titled("a"));
    for (int row : {-1, 1}) {
        EXPECT_FALSE(list.SetRow(row, Titled("b")));
        EXPECT_FALSE(list.DeleteRow(row));
        EXPECT_EQ(list.Cell(row, 0), "");
    }
    EXPECT_EQ(list.Cell(0, 8), "");
    EXPECT_EQ(list.Cell(0, 0), "a");
}

// A column wider than a width can say is shown at the widest; a header wider than its cells wins.
TEST_F(EntryListTest, LongCellsComeBackWholeAndWidthsStayInRange) {
    const std::string huge(70000, 'w');
    list.InsertTop({"t", "", "", "", "", "", huge, "x.jpg"});
    list.AutoSizeColumns();
    EXPECT_EQ(list.Row(0).description, huge);
    EXPECT_EQ(view.ColumnWidth(6), 32767);
    EXPECT_EQ(view.ColumnWidth(0), 5);
}

// A bulk load is one change for the view, and the mark moves down with its row.
TEST_F(EntryListTest, BulkInsertGoesAboveInOrderAsOneChange) {
    list.InsertTop(Titled("old"));
    view.SetSelectionMark(0);
    const int changes = view.ChangeCount();
    list.InsertTop(std::vector<ImageEntry>{});
    list.InsertTop({Titled("a"), Titled("b"), Titled("c")});
    EXPECT_EQ(view.ChangeCount(), changes + 1);
    EXPECT_EQ(view.LastChange().kind, RowChange::Kind::Insert);
    EXPECT_EQ(view.LastChange().count, 3);
    std::vector<std::string> titles;
    for (int row = 0; row < list.RowCount(); ++row) titles.push_back(list.Cell(row, 0));
    EXPECT_EQ(titles, (std::vector<std::string>{"a", "b", "c", "old"}));
    EXPECT_EQ(list.SelectionMark(), 3);
}

}  // namespace
}  // namespace vistello::testing
