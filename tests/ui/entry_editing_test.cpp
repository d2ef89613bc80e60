#include <gtest/gtest.h>

#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

using Strings = std::vector<std::string>;

class EntryEditingTest : public MainWindowTest {};

TEST_F(EntryEditingTest, AddPutsNewestOnTopWithEveryFieldUnchanged) {
    EXPECT_EQ(window.Text(ids::kEntryCount), "0");
    AddEntry("A");
    AddEntry("B");
    window.Type(ids::kWidth, "50%");
    window.Type(ids::kAlt, " alt ");
    window.Type(ids::kDescription, std::string(3000, 'd'));
    AddEntry("C", "/home/me/sun set.jpg");
    EXPECT_EQ(Titles(), (Strings{"C", "B", "A"}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "3");
    EXPECT_EQ(window.Text(ids::kTitle), "C");
    const ImageEntry expected{
        "C", "", "50%", "", " alt ", "", std::string(3000, 'd'), "/home/me/sun set.jpg"};
    EXPECT_EQ(dialog.m_listEntries.Row(0), expected);
    EXPECT_EQ(List().ColumnWidth(6), 3000);
    EXPECT_EQ(List().ColumnWidth(1), 6);  // the header "Height" is wider than any cell
    EXPECT_TRUE(system.boxes.empty());
}

TEST_F(EntryEditingTest, AddRefusesMissingImageBeforeMissingTitle) {
    AddEntry("", "");
    AddEntry("T", "");
    AddEntry("", "a.jpg");
    ASSERT_EQ(system.boxes.size(), 3u);
    EXPECT_EQ(system.boxes[0].text, "Image Location is required.\r\nNo entry added.");
    EXPECT_EQ(system.boxes[1].text, system.boxes[0].text);
    EXPECT_EQ(system.boxes[2].text, "Image Title is Required.\r\nNo entry added.");
    for (const ShownBox& box : system.boxes) {
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
        EXPECT_EQ(box.icon, MsgIcon::None);
    }
    EXPECT_EQ(List().RowCount(), 0);
}

TEST_F(EntryEditingTest, DuplicateTitleAsksAndOnlyYesAdds) {
    AddEntry("Trip", "one.jpg");
    AddEntry("trip", "one.jpg");   // titles differ by case
    AddEntry("Trip ", "one.jpg");  // and by a trailing blank
    EXPECT_TRUE(system.boxes.empty());

    AddEntry("Trip", "two.jpg");
    ASSERT_EQ(system.boxes.size(), 1u);
    EXPECT_EQ(system.boxes[0].text,
              "This entry is already in the list.\r\n"
              "If you add more than one entry with the same\r\n"
              "title, then only one will appear in the slideshow.\r\n"
              "Do you really want to add this item?");
    EXPECT_EQ(system.boxes[0].caption, "vistello");
    EXPECT_EQ(system.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(system.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(List().RowCount(), 3);

    system.answers.push_back(MsgAnswer::Yes);
    AddEntry("Trip", "two.jpg");
    EXPECT_EQ(Column(7).front(), "two.jpg");
    EXPECT_EQ(window.Text(ids::kEntryCount), "4");
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
    EXPECT_EQ(window.Text(ids::kImagePath), "b.jpg");
    EXPECT_EQ(window.Text(ids::kTitle), "B");
}

TEST_F(EntryEditingTest, UpdateReplacesOnlyTheSelectedRowAndNeedsAnImage) {
    for (const char* title : {"e", "d", "c", "b", "a"}) AddEntry(title);
    window.Press(ids::kUpdate);  // nothing selected
    window.ClickRow(ids::kEntryList, 2);
    window.Type(ids::kImagePath, "");
    window.Press(ids::kUpdate);
    EXPECT_EQ(Titles(), (Strings{"a", "b", "c", "d", "e"}));

    window.Type(ids::kImagePath, "new.jpg");
    window.Type(ids::kTitle, "a");  // the same title as another row: no question
    window.Press(ids::kUpdate);
    EXPECT_EQ(Titles(), (Strings{"a", "b", "a", "d", "e"}));
    EXPECT_EQ(Column(7)[2], "new.jpg");
    EXPECT_TRUE(system.boxes.empty());
}

TEST_F(EntryEditingTest, RemoveDeletesTheSelectedRowOnceAndRefreshesTheFields) {
    window.Type(ids::kTitle, "typed");
    window.Press(ids::kRemove);
    EXPECT_EQ(window.Text(ids::kTitle), "");
    EXPECT_EQ(window.Text(ids::kEntryCount), "0");

    for (const char* title : {"c", "b", "a"}) AddEntry(title);
    window.ClickRow(ids::kEntryList, 1);
    window.Press(ids::kRemove);
    window.Press(ids::kRemove);  // the selection went with its row
    EXPECT_EQ(Titles(), (Strings{"a", "c"}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "2");
}

TEST_F(EntryEditingTest, ClearFieldsEmptiesThePageFieldsOnly) {
    window.Type(ids::kTemplate, "t.htm");
    window.Type(ids::kOutputFolder, "out");
    AddEntry("A");
    window.Type(ids::kAlt, "x");
    window.Press(ids::kClearFields);
    for (int id : {ids::kTitle, ids::kHeight, ids::kWidth, ids::kBorder, ids::kAlt, ids::kKeywords,
                   ids::kDescription, ids::kImagePath}) {
        EXPECT_EQ(window.Text(id), "") << id;
    }
    EXPECT_EQ(window.Text(ids::kTemplate), "t.htm");
    EXPECT_EQ(window.Text(ids::kOutputFolder), "out");
    EXPECT_EQ(List().RowCount(), 1);
}

TEST_F(EntryEditingTest, ClearListAsksAndTheButtonDropsTypedTextButTheMenuKeepsIt) {
    AddEntry("A");
    window.Type(ids::kTitle, "typed");
    window.Press(ids::kClearList);  // answered No
    EXPECT_EQ(system.boxes.back().text, "Are you sure that you want to clear list?");
    EXPECT_EQ(system.boxes.back().buttons, MsgButtons::YesNo);
    EXPECT_EQ(window.Text(ids::kTitle), "A");
    EXPECT_EQ(List().RowCount(), 1);

    window.Type(ids::kTitle, "typed");
    system.answers.push_back(MsgAnswer::Yes);
    window.Press(ids::kMenuClearList);
    EXPECT_EQ(window.Text(ids::kTitle), "typed");
    EXPECT_EQ(List().RowCount(), 0);
    EXPECT_EQ(window.Text(ids::kEntryCount), "0");
}

TEST_F(EntryEditingTest, AddEntryRowNeedsOnlyAnImagePath) {
    window.Type(ids::kImagePath, "a.jpg");
    dialog.AddEntryRow();
    window.Type(ids::kImagePath, "");
    dialog.AddEntryRow();
    EXPECT_EQ(Titles(), (Strings{""}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "1");
}

TEST_F(EntryEditingTest, QuitFromTheMenuTakesTypedTextIn) {
    window.Type(ids::kTitle, "typed");
    window.Press(ids::kMenuQuit);
    EXPECT_EQ(window.Result(), IDOK);
    EXPECT_EQ(dialog.m_strTitle, "typed");
}

}  // namespace
}  // namespace vistello::testing
