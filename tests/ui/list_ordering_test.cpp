#include <gtest/gtest.h>

#include "support/main_window_fixture.h"

namespace vistello::testing {
namespace {

using Strings = std::vector<std::string>;

class ListOrderingTest : public MainWindowTest {
protected:
    // Adds rows so that they stand top to bottom as given.
    void Rows(const std::vector<std::pair<std::string, std::string>>& titleAndHeight) {
        for (auto it = titleAndHeight.rbegin(); it != titleAndHeight.rend(); ++it) {
            system.answers.push_back(MsgAnswer::Yes);
            AddEntry(it->first, "img/" + it->first, it->second);
        }
        system.answers.clear();
    }
};

TEST_F(ListOrderingTest, HeaderClicksAlternateAscendingAndReverse) {
    Rows({{"b", ""}, {"a", ""}, {"c", ""}});
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Titles(), (Strings{"a", "b", "c"}));
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Titles(), (Strings{"c", "b", "a"}));
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Titles(), (Strings{"a", "b", "c"}));
}

TEST_F(ListOrderingTest, SortIsStableAndReversalFlipsEqualRows) {
    Rows({{"a", "1"}, {"a2", "3"}, {"a", "2"}});
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Titles(), (Strings{"a", "a", "a2"}));
    EXPECT_EQ(Column(1), (Strings{"1", "2", "3"}));
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Column(1), (Strings{"3", "2", "1"}));
}

TEST_F(ListOrderingTest, ComparesBytesWithoutCaseOrNumbers) {
    Rows({{"apple", "9"}, {"Zebra", "10"}, {"\xc3\xa9t\xc3\xa9", "100"}, {"b", "9"}});
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(Titles(), (Strings{"Zebra", "apple", "b", "\xc3\xa9t\xc3\xa9"}));
    window.ClickHeader(ids::kEntryList, 1);
    EXPECT_EQ(Column(1), (Strings{"10", "100", "9", "9"}));
    EXPECT_EQ(Titles(), (Strings{"Zebra", "\xc3\xa9t\xc3\xa9", "apple", "b"}));
}

TEST_F(ListOrderingTest, AllEmptyColumnAndShortListsReverse) {
    Rows({{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}, {"e", ""}});
    window.ClickHeader(ids::kEntryList, 3);
    EXPECT_EQ(Titles(), (Strings{"e", "d", "c", "b", "a"}));

    CMainDialog empty;
    FakeWindow emptyWindow(system, empty);
    emptyWindow.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(emptyWindow.Text(ids::kEntryCount), "0");
}

TEST_F(ListOrderingTest, SelectedPositionStaysAndTypedTextIsReplaced) {
    Rows({{"c", ""}, {"b", ""}, {"a", ""}});
    window.ClickRow(ids::kEntryList, 2);
    window.Type(ids::kTitle, "typed");
    window.ClickHeader(ids::kEntryList, 0);
    EXPECT_EQ(List().SelectionMark(), 2);
    EXPECT_EQ(Titles()[2], "c");
    EXPECT_EQ(window.Text(ids::kTitle), "a");
}

TEST_F(ListOrderingTest, ReverseRowsTwiceRestoresTheOrder) {
    Rows({{"b", ""}, {"a", ""}, {"c", ""}, {"a", "x"}});
    const Strings before = Titles();
    dialog.ReverseRows();
    EXPECT_EQ(Titles(), (Strings{"a", "c", "a", "b"}));
    dialog.ReverseRows();
    EXPECT_EQ(Titles(), before);
    EXPECT_EQ(Column(1), (Strings{"", "", "", "x"}));
}

}  // namespace
}  // namespace vistello::testing
