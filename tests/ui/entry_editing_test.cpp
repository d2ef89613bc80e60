#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

using Strings = std::vector<std::string>;
using EntryEditingTest = MainWindowTest;

TEST_F(EntryEditingTest, AddRefusesAMissingImageThenTitleAndPutsTheNewestOnTopUnchanged) {
    AddEntry("", "");
    AddEntry("T", "");
    AddEntry("", "a.jpg");
    const ShownBox noImage{"Image Location is required.\r\nNo entry added.", "Error"};
    const ShownBox noTitle{"Image Title is Required.\r\nNo entry added.", "Error"};
    EXPECT_EQ(system.boxes, (std::vector<ShownBox>{noImage, noImage, noTitle}));
    AddEntry("A");
    window.Type(ids::kAlt, " alt ");
    window.Type(ids::kDescription, std::string(3000, 'd'));
    AddEntry("C", "/home/me/sun set.jpg");
    EXPECT_EQ(Titles(), (Strings{"C", "A"}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "2");
    EXPECT_EQ(
        dialog.m_listEntries.Row(0),
        (ImageEntry{"C", "", "", "", " alt ", "", std::string(3000, 'd'), "/home/me/sun set.jpg"}));
    EXPECT_EQ(List().ColumnWidth(6), 3000);
}

// Only an exact match asks; No adds nothing.
TEST_F(EntryEditingTest, DuplicateTitleAsksAndOnlyYesAdds) {
    for (const char* title : {"Trip", "trip", "Trip "}) AddEntry(title);
    EXPECT_TRUE(system.boxes.empty());
    system.answers = {MsgAnswer::No, MsgAnswer::Yes};
    AddEntry("Trip");
    AddEntry("Trip");
    const ShownBox question{
        "This entry is already in the list.\r\n"
        "If you add more than one entry with the same\r\n"
        "title, then only one will appear in the slideshow.\r\n"
        "Do you really want to add this item?",
        "vistello", MsgButtons::YesNo, MsgIcon::Exclamation};
    EXPECT_EQ(system.boxes, (std::vector<ShownBox>{question, question}));
    EXPECT_EQ(Titles(), (Strings{"Trip", "Trip ", "trip", "Trip"}));
}

TEST_F(EntryEditingTest, ClickLoadsTheMarkedRowAndEmptySpaceTheLastSelected) {
    AddEntry("A", "a.jpg", "10");
    AddEntry("B", "b.jpg");
    window.Type(ids::kTitle, "typed");
    window.ClickRow(ids::kEntryList, -1);  // nothing selected yet: fields stay, typed text goes
    EXPECT_EQ(window.Text(ids::kTitle), "B");
    window.ClickRow(ids::kEntryList, 1);
    EXPECT_EQ(window.Text(ids::kHeight), "10");
    window.ClickRow(ids::kEntryList, 0);
    EXPECT_EQ(window.Text(ids::kHeight), "");  // empty cells empty the fields
    window.Type(ids::kTitle, "typed");
    window.ClickRow(ids::kEntryList, -1);
    EXPECT_EQ(window.Text(ids::kTitle), "B");
}

// Update needs an image and a selected row, and asks nothing. After Remove no row is selected,
// so a second Remove takes nothing and only shows the members again.
TEST_F(EntryEditingTest, UpdateAndRemoveActOnTheSelectedRowOnly) {
    for (const char* title : {"c", "b", "a"}) AddEntry(title);
    window.Press(ids::kUpdate);  // nothing selected
    window.ClickRow(ids::kEntryList, 1);
    window.Type(ids::kTitle, "x");
    window.Type(ids::kImagePath, "");
    window.Press(ids::kUpdate);
    EXPECT_EQ(Titles(), (Strings{"a", "b", "c"}));
    window.Type(ids::kImagePath, "new.jpg");
    window.Type(ids::kTitle, "a");  // the title of another row
    window.Press(ids::kUpdate);
    EXPECT_EQ(Titles(), (Strings{"a", "a", "c"}));
    EXPECT_EQ(Column(7), (Strings{"pics/a.jpg", "new.jpg", "pics/a.jpg"}));
    EXPECT_TRUE(system.boxes.empty());

    window.Press(ids::kRemove);
    window.Type(ids::kTitle, "typed");
    window.Press(ids::kRemove);
    EXPECT_EQ(Column(7), (Strings{"pics/a.jpg", "pics/a.jpg"}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "2");
    EXPECT_EQ(window.Text(ids::kTitle), "a");
}

// Clear Fields keeps the project settings and the rows. Clear List asks first; the button shows
// the members again, the menu takes the fields in first.
TEST_F(EntryEditingTest, ClearFieldsEmptiesThePageFieldsAndClearListAsks) {
    AddEntry("A");
    window.Type(ids::kTemplate, "t.htm");
    window.Type(ids::kAlt, "x");
    window.Press(ids::kClearFields);
    for (int id : {ids::kTitle, ids::kHeight, ids::kWidth, ids::kBorder, ids::kAlt, ids::kKeywords,
                   ids::kDescription, ids::kImagePath}) {
        EXPECT_EQ(window.Text(id), "") << id;
    }
    EXPECT_EQ(window.Text(ids::kTemplate), "t.htm");

    window.Type(ids::kTitle, "typed");
    window.Press(ids::kClearList);  // answered No
    EXPECT_EQ(system.boxes,
              (std::vector<ShownBox>{{"Are you sure that you want to clear list?", "vistello",
                                      MsgButtons::YesNo, MsgIcon::Exclamation}}));
    EXPECT_EQ(window.Text(ids::kTitle), "");
    EXPECT_EQ(List().RowCount(), 1);
    window.Type(ids::kTitle, "typed");
    system.answers.push_back(MsgAnswer::Yes);
    window.Press(ids::kMenuClearList);
    EXPECT_EQ(window.Text(ids::kTitle), "typed");
    EXPECT_EQ(window.Text(ids::kEntryCount), "0");
}

}  // namespace
}  // namespace vistello::testing
