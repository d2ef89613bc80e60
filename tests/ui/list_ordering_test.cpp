#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

using Strings = std::vector<std::string>;
using ListOrderingTest = MainWindowTest;

// Bytes decide, with no case folding and no reading of numbers; equal rows keep their order;
// a column already ascending, even one all empty, is reversed instead.
TEST_F(ListOrderingTest, HeaderClickSortsStablyByBytesOrReversesWhenAlreadyAscending) {
    window.ClickHeader(ids::kEntryList, 0);  // an empty list
    const Strings titles{"b", "a", "Z", "a", "\xc3\xa9"};
    const Strings heights{"9", "10", "100", "2", "3"};
    system.answers = {MsgAnswer::Yes};
    for (int row = 4; row >= 0; --row) AddEntry(titles[row], "x.jpg", heights[row]);
    window.ClickRow(ids::kEntryList, 0);
    window.Type(ids::kTitle, "typed");

    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Titles(), (Strings{"Z", "a", "a", "b", "\xc3\xa9"}));
    EXPECT_EQ(Column(1), (Strings{"100", "10", "2", "9", "3"}));
    EXPECT_EQ(List().SelectionMark(), 0);      // the position stays selected, not the row
    EXPECT_EQ(window.Text(ids::kTitle), "b");  // the members, not the typed text
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Column(1), (Strings{"3", "9", "2", "10", "100"}));
    window.ClickHeader(ids::kEntryList, 1);
    EXPECT_EQ(Column(1), (Strings{"10", "100", "2", "3", "9"}));
    window.ClickHeader(ids::kEntryList, 3);
    EXPECT_EQ(Column(1), (Strings{"9", "3", "2", "100", "10"}));
}

}  // namespace
}  // namespace vistello::testing
