#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

using Strings = std::vector<std::string>;
using EntriesTest = MainWindowTest;

// An image is needed, then a title; only an exact duplicate title asks, and No adds nothing.
// A cell wider than a column width can say is kept whole and shown at the widest.
TEST_F(EntriesTest, AddChecksTheFieldsAndPutsTheNewestOnTopUnchanged) {
    AddEntry("T", "");
    AddEntry("", "a.jpg");
    for (const char* title : {"Trip", "trip", "Trip "}) AddEntry(title);
    system.answers = {MsgAnswer::No, MsgAnswer::Yes};
    AddEntry("Trip");
    window.Type(ids::kDescription, std::string(70000, 'd'));
    AddEntry("Trip", "/home/me/sun set.jpg");
    const ShownBox question{
        "This entry is already in the list.\r\nIf you add more than one entry with the same\r\n"
        "title, then only one will appear in the slideshow.\r\nDo you really want to add this "
        "item?",
        "vistello", MsgButtons::YesNo, MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{{"Image Location is required.\r\nNo entry added.", "Error"},
                                     {"Image Title is Required.\r\nNo entry added.", "Error"},
                                     question,
                                     question}));
    EXPECT_EQ(Titles(), (Strings{"Trip", "Trip ", "trip", "Trip"}));
    EXPECT_EQ(
        dialog.m_listEntries.Row(0),
        (ImageEntry{"Trip", "", "", "", "", "", std::string(70000, 'd'), "/home/me/sun set.jpg"}));
    EXPECT_EQ(List().ColumnWidth(6), 32767);
    EXPECT_EQ(window.Text(ids::kEntryCount), "4");
}

// Update needs an image and a selected row, and asks nothing. After Remove no row is selected,
// so a second Remove takes nothing.
TEST_F(EntriesTest, UpdateAndRemoveActOnTheSelectedRowOnly) {
    for (const char* title : {"c", "b", "a"}) AddEntry(title);
    window.Press(ids::kUpdate);
    window.ClickRow(ids::kEntryList, 1);
    window.Type(ids::kImagePath, "");
    window.Press(ids::kUpdate);
    window.Type(ids::kImagePath, "new.jpg");
    window.Type(ids::kTitle, "a");
    window.Press(ids::kUpdate);
    EXPECT_EQ(Titles(), (Strings{"a", "a", "c"}));
    EXPECT_EQ(Column(7), (Strings{"pics/a.jpg", "new.jpg", "pics/a.jpg"}));
    EXPECT_TRUE(system.boxes.empty());
    window.Press(ids::kRemove);
    window.Press(ids::kRemove);
    EXPECT_EQ(Column(7), (Strings{"pics/a.jpg", "pics/a.jpg"}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "2");
}

// Bytes decide, with no case folding and no reading of numbers; equal rows keep their order;
// a column already ascending, even one all empty, is reversed instead. The position stays
// selected, and the fields show that row, not the typed text.
TEST_F(EntriesTest, HeaderClickSortsStablyByBytesOrReversesWhenAlreadyAscending) {
    const Strings titles{"b", "a", "Z", "a", "\xc3\xa9"};
    const Strings heights{"9", "10", "100", "2", "3"};
    system.answers = {MsgAnswer::Yes};
    for (int row = 4; row >= 0; --row) AddEntry(titles[row], "x.jpg", heights[row]);
    window.ClickRow(ids::kEntryList, 0);
    window.Type(ids::kTitle, "typed");
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Titles(), (Strings{"Z", "a", "a", "b", "\xc3\xa9"}));
    EXPECT_EQ(Column(1), (Strings{"100", "10", "2", "9", "3"}));
    EXPECT_EQ(List().SelectionMark(), 0);
    EXPECT_EQ(window.Text(ids::kTitle), "b");
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Column(1), (Strings{"3", "9", "2", "10", "100"}));
    window.ClickHeader(ids::kEntryList, 1);
    EXPECT_EQ(Column(1), (Strings{"10", "100", "2", "3", "9"}));
    window.ClickHeader(ids::kEntryList, 3);
    EXPECT_EQ(Column(1), (Strings{"9", "3", "2", "100", "10"}));
}

}  // namespace
}  // namespace vistello::testing
