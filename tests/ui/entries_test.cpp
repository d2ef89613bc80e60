#include "slides/entry_list.h"
#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

using Strings = std::vector<std::string>;
using EntryListTest = MainWindowTest;

// Bytes decide, with no case folding and no reading of numbers; equal rows keep their order;
// a column already ascending, even one all empty, is reversed instead.
TEST_F(EntryListTest, HeaderClickSortsStablyByBytesOrReversesWhenAlreadyAscending) {
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

ImageEntry Titled(const std::string& title) { return {title, "", "", "", "", "", "", "x.jpg"}; }

// A bulk load is one change for the view, and the mark moves down with its row; a cell wider
// than a width can say is shown at the widest.
TEST(EntryListViewTest, BulkInsertGoesAboveInOrderAsOneChange) {
    FakeListView view;
    EntryList list;
    list.Attach(&view);
    list.SetupColumns();
    list.InsertTop({"old", "", "", "", "", "", std::string(70000, 'w'), "x.jpg"});
    view.SetSelectionMark(0);
    list.InsertTop(std::vector<ImageEntry>{});
    list.InsertTop({Titled("a"), Titled("b"), Titled("c")});
    EXPECT_EQ(view.changes, 2);
    std::vector<std::string> titles;
    for (int row = 0; row < list.RowCount(); ++row) titles.push_back(list.Cell(row, 0));
    EXPECT_EQ(titles, (std::vector<std::string>{"a", "b", "c", "old"}));
    EXPECT_EQ(list.SelectionMark(), 3);
    list.AutoSizeColumns();
    EXPECT_EQ(view.ColumnWidth(6), 32767);
}

// An image is needed, then a title; only an exact duplicate title asks, and No adds nothing.
TEST_F(EntryListTest, AddChecksTheFieldsAndPutsTheNewestOnTopUnchanged) {
    AddEntry("T", "");
    AddEntry("", "a.jpg");
    for (const char* title : {"Trip", "trip", "Trip "}) AddEntry(title);
    system.answers = {MsgAnswer::No, MsgAnswer::Yes};
    AddEntry("Trip");
    window.Type(ids::kAlt, " alt ");
    AddEntry("Trip", "/home/me/sun set.jpg");
    const ShownBox question{
        "This entry is already in the list.\r\nIf you add more than one entry with the same\r\n"
        "title, then only one will appear in the slideshow.\r\n"
        "Do you really want to add this item?",
        "vistello", MsgButtons::YesNo, MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{{"Image Location is required.\r\nNo entry added.", "Error"},
                                     {"Image Title is Required.\r\nNo entry added.", "Error"},
                                     question,
                                     question}));
    EXPECT_EQ(Titles(), (Strings{"Trip", "Trip ", "trip", "Trip"}));
    EXPECT_EQ(dialog.m_listEntries.Row(0),
              (ImageEntry{"Trip", "", "", "", " alt ", "", "", "/home/me/sun set.jpg"}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "4");
}

// Update needs an image and a selected row, and asks nothing. After Remove no row is selected,
// so a second Remove takes nothing.
TEST_F(EntryListTest, UpdateAndRemoveActOnTheSelectedRowOnly) {
    for (const char* title : {"c", "b", "a"}) AddEntry(title);
    window.Press(ids::kUpdate);
    window.ClickRow(ids::kEntryList, 1);
    window.Type(ids::kImagePath, "");
    window.Press(ids::kUpdate);
    EXPECT_EQ(Titles(), (Strings{"a", "b", "c"}));
    window.Type(ids::kImagePath, "new.jpg");
    window.Type(ids::kTitle, "a");
    window.Press(ids::kUpdate);
    EXPECT_EQ(Column(7), (Strings{"pics/a.jpg", "new.jpg", "pics/a.jpg"}));
    EXPECT_TRUE(system.boxes.empty());

    window.Press(ids::kRemove);
    window.Press(ids::kRemove);
    EXPECT_EQ(Column(7), (Strings{"pics/a.jpg", "pics/a.jpg"}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "2");
}

}  // namespace
}  // namespace vistello::testing
