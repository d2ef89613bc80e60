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
    EXPECT_FALSE(list.SetRow(-1, Titled("b")));
    EXPECT_FALSE(list.SetRow(1, Titled("b")));
    EXPECT_FALSE(list.DeleteRow(-1));
    EXPECT_FALSE(list.DeleteRow(1));
    EXPECT_EQ(list.Cell(-1, 0), "");
    EXPECT_EQ(list.Cell(0, 8), "");
    EXPECT_EQ(list.Cell(0, 0), "a");
}

TEST_F(EntryListTest, LongCellsComeBackWholeAndWidthsStayInRange) {
    const std::string huge(70000, 'w');
    list.InsertTop({"t", "", "", "", "", "", huge, "x.jpg"});
    list.AutoSizeColumns();
    EXPECT_EQ(list.Row(0).description, huge);
    EXPECT_EQ(view.ColumnWidth(6), 32767);
    EXPECT_EQ(view.ColumnWidth(0), 5);  // the header "Title" is wider than "t"
}

}  // namespace
}  // namespace vistello::testing
