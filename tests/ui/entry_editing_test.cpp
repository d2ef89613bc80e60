#include <gtest/gtest.h>

#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kDuplicateQuestion =
    "This entry is already in the list.\r\n"
    "If you add more than one entry with the same\r\n"
    "title, then only one will appear in the slideshow.\r\n"
    "Do you really want to add this item?";

class EntryEditingTest : public MainWindowTest {};

TEST_F(EntryEditingTest, StartsEmptyWithEightFittedColumns) {
    EXPECT_EQ(window.Text(ids::kEntryCount), "0");
    EXPECT_EQ(List().Headers(), (Strings{"Title", "Height", "Width", "Border", "ALT", "Keywords",
                                         "Description", "Image"}));
    for (int column = 0; column < 8; ++column) {
        EXPECT_EQ(List().ColumnWidth(column), static_cast<int>(List().Headers()[column].size()));
    }
}

TEST_F(EntryEditingTest, AddPutsNewestOnTopAndKeepsTheFields) {
    AddEntry("A");
    AddEntry("B");
    AddEntry("C");
    EXPECT_EQ(Titles(), (Strings{"C", "B", "A"}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "3");
    EXPECT_EQ(window.Text(ids::kTitle), "C");
    EXPECT_TRUE(system.boxes.empty());
}

TEST_F(EntryEditingTest, AddStoresEveryFieldInItsColumnUnchanged) {
    window.Type(ids::kTitle, " Sun set ");
    window.Type(ids::kHeight, "50%");
    window.Type(ids::kWidth, "wide");
    window.Type(ids::kBorder, "");
    window.Type(ids::kAlt, "alt text");
    window.Type(ids::kKeywords, "k1, k2");
    window.Type(ids::kDescription, std::string(3000, 'd'));
    window.Type(ids::kImagePath, "/home/me/sun set.jpg");
    window.Press(ids::kAdd);
    const ImageEntry expected{
        " Sun set ",           "50%", "wide", "", "alt text", "k1, k2", std::string(3000, 'd'),
        "/home/me/sun set.jpg"};
    EXPECT_EQ(dialog.m_listEntries.Row(0), expected);
    EXPECT_EQ(List().ColumnWidth(6), 3000);
}

TEST_F(EntryEditingTest, AddRefusesMissingImageOrTitle) {
    struct Case {
        std::string title, image, message;
    };
    const Case cases[] = {
        {"", "", "Image Location is required.\r\nNo entry added."},
        {"T", "", "Image Location is required.\r\nNo entry added."},
        {"", "a.jpg", "Image Title is Required.\r\nNo entry added."},
    };
    for (const Case& c : cases) {
        system.boxes.clear();
        AddEntry(c.title, c.image);
        ASSERT_EQ(system.boxes.size(), 1u) << c.title << "|" << c.image;
        EXPECT_EQ(system.boxes[0].text, c.message);
        EXPECT_EQ(system.boxes[0].caption, "Error");
        EXPECT_EQ(system.boxes[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(system.boxes[0].icon, MsgIcon::None);
    }
    EXPECT_EQ(List().RowCount(), 0);
}

TEST_F(EntryEditingTest, DuplicateTitleAsksAndOnlyYesAdds) {
    AddEntry("Trip", "one.jpg");
    AddEntry("Trip", "two.jpg");
    ASSERT_EQ(system.boxes.size(), 1u);
    EXPECT_EQ(system.boxes[0].text, kDuplicateQuestion);
    EXPECT_EQ(system.boxes[0].caption, "vistello");
    EXPECT_EQ(system.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(system.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(Column(7), (Strings{"one.jpg"}));

    system.answers.push_back(MsgAnswer::Yes);
    AddEntry("Trip", "two.jpg");
    EXPECT_EQ(Column(7), (Strings{"two.jpg", "one.jpg"}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "2");
}

TEST_F(EntryEditingTest, DuplicateCheckIsExactAndByTitleOnly) {
    AddEntry("Trip", "same.jpg");
    AddEntry("trip", "same.jpg");
    AddEntry("Trip ", "same.jpg");
    EXPECT_TRUE(system.boxes.empty());
    EXPECT_EQ(List().RowCount(), 3);
}

TEST_F(EntryEditingTest, ClickLoadsTheMarkedRowIncludingEmptyCells) {
    AddEntry("A", "a.jpg", "10");
    AddEntry("B", "b.jpg");
    window.Type(ids::kHeight, "typed");
    window.ClickRow(ids::kEntryList, 1);
    EXPECT_EQ(window.Text(ids::kTitle), "A");
    EXPECT_EQ(window.Text(ids::kHeight), "10");
    window.ClickRow(ids::kEntryList, 0);
    EXPECT_EQ(window.Text(ids::kHeight), "");
    EXPECT_EQ(window.Text(ids::kImagePath), "b.jpg");
}

TEST_F(EntryEditingTest, ClickWithoutSelectionKeepsFieldsAndBelowRowsLoadsLastSelected) {
    AddEntry("A");
    window.Type(ids::kTitle, "typed");
    window.ClickRow(ids::kEntryList, -1);
    EXPECT_EQ(window.Text(ids::kTitle), "A");  // members shown again, nothing loaded
    AddEntry("B");
    window.ClickRow(ids::kEntryList, 1);
    window.Type(ids::kTitle, "typed");
    window.ClickRow(ids::kEntryList, -1);
    EXPECT_EQ(window.Text(ids::kTitle), "A");
}

TEST_F(EntryEditingTest, UpdateReplacesOnlyTheSelectedRowInPlace) {
    for (const char* title : {"e", "d", "c", "b", "a"}) AddEntry(title);
    window.ClickRow(ids::kEntryList, 2);
    window.Type(ids::kTitle, "a");  // same title as another row: no question
    window.Type(ids::kWidth, "320");
    window.Press(ids::kUpdate);
    EXPECT_EQ(Titles(), (Strings{"a", "b", "a", "d", "e"}));
    EXPECT_EQ(Column(2), (Strings{"", "", "320", "", ""}));
    EXPECT_TRUE(system.boxes.empty());
}

TEST_F(EntryEditingTest, UpdateChangesNothingWithoutImageOrSelection) {
    AddEntry("A");
    window.Type(ids::kTitle, "B");
    window.Press(ids::kUpdate);  // nothing selected
    window.ClickRow(ids::kEntryList, 0);
    window.Type(ids::kImagePath, "");
    window.Type(ids::kTitle, "B");
    window.Press(ids::kUpdate);
    EXPECT_EQ(Titles(), (Strings{"A"}));
    window.Type(ids::kImagePath, "x.jpg");
    window.Type(ids::kTitle, "");
    window.Press(ids::kUpdate);
    EXPECT_EQ(Titles(), (Strings{""}));
    EXPECT_TRUE(system.boxes.empty());
}

TEST_F(EntryEditingTest, RemoveDeletesSelectedRowThenNothingUntilTheNextPick) {
    for (const char* title : {"c", "b", "a"}) AddEntry(title);
    window.ClickRow(ids::kEntryList, 1);
    window.Press(ids::kRemove);
    EXPECT_EQ(Titles(), (Strings{"a", "c"}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "2");
    window.Press(ids::kRemove);
    EXPECT_EQ(Titles(), (Strings{"a", "c"}));
}

TEST_F(EntryEditingTest, RemoveOnEmptyListShowsZeroAndReplacesTypedText) {
    window.Type(ids::kTitle, "typed");
    window.Press(ids::kRemove);
    EXPECT_EQ(window.Text(ids::kEntryCount), "0");
    EXPECT_EQ(window.Text(ids::kTitle), "");
}

TEST_F(EntryEditingTest, ClearFieldsEmptiesPageFieldsOnly) {
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
    EXPECT_EQ(window.Text(ids::kEntryCount), "1");
}

TEST_F(EntryEditingTest, ClearListAsksAndYesEmptiesTheList) {
    AddEntry("A");
    AddEntry("B");
    system.answers.push_back(MsgAnswer::Yes);
    window.Press(ids::kClearList);
    ASSERT_EQ(system.boxes.size(), 1u);
    EXPECT_EQ(system.boxes[0].text, "Are you sure that you want to clear list?");
    EXPECT_EQ(system.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(List().RowCount(), 0);
    EXPECT_EQ(window.Text(ids::kEntryCount), "0");
    EXPECT_EQ(window.Text(ids::kTitle), "B");
}

TEST_F(EntryEditingTest, ClearListButtonDropsTypedTextButMenuKeepsIt) {
    AddEntry("A");
    window.Type(ids::kTitle, "typed");
    window.Press(ids::kClearList);  // answered No
    EXPECT_EQ(window.Text(ids::kTitle), "A");
    EXPECT_EQ(List().RowCount(), 1);

    window.Type(ids::kTitle, "typed");
    window.Press(ids::kMenuClearList);
    EXPECT_EQ(window.Text(ids::kTitle), "typed");
    EXPECT_EQ(List().RowCount(), 1);
}

TEST_F(EntryEditingTest, AddEntryRowNeedsOnlyAnImagePath) {
    window.Type(ids::kTitle, "");
    window.Type(ids::kImagePath, "a.jpg");
    dialog.AddEntryRow();
    window.Type(ids::kImagePath, "");
    dialog.AddEntryRow();
    EXPECT_EQ(Titles(), (Strings{""}));
    EXPECT_EQ(window.Text(ids::kEntryCount), "1");
}

TEST_F(EntryEditingTest, MenuItemsWithoutActionKeepTypedText) {
    AddEntry("A");
    window.Type(ids::kTitle, "typed");
    for (int id : {ids::kSaveProject, ids::kMenuOpen, ids::kMenuSaveAs, ids::kMenuEntryAdd,
                   ids::kMenuEntryUpdate, ids::kMenuEntryRemove, ids::kMenuImportDirectory,
                   ids::kMenuMoreInfo, ids::kMenuUninstall}) {
        window.Press(id);
        EXPECT_EQ(window.Text(ids::kTitle), "typed") << id;
    }
    EXPECT_EQ(Titles(), (Strings{"A"}));
}

TEST_F(EntryEditingTest, HelpAboutOpensTheAboutBoxAndQuitEndsWithOk) {
    window.Press(ids::kMenuAbout);
    EXPECT_EQ(system.modalTemplates, (std::vector<int>{ids::kAboutDialog}));
    window.Type(ids::kTitle, "typed");
    window.Press(ids::kMenuQuit);
    EXPECT_TRUE(window.Ended());
    EXPECT_EQ(window.Result(), IDOK);
    EXPECT_EQ(dialog.m_strTitle, "typed");
}

}  // namespace
}  // namespace vistello::testing
