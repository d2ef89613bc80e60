#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QtTest/QtTest>
#include <memory>
#include <string>
#include <vector>

#include "qt/qt_list_view.h"
#include "qt_test_support.h"
#include "slides/entry_list.h"

namespace vistello::testing {
namespace {

ImageEntry Entry(const std::string& title) { return {title, "", "", "", "", "", "", "x.jpg"}; }

class QtListViewTest : public ::testing::Test {
protected:
    QtListViewTest() {
        view->resize(700, 200);
        view->show();
        entries.Attach(view.get());
        entries.SetupColumns();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    void AddTitles(std::initializer_list<const char*> titles) {
        for (const char* title : titles) entries.InsertTop(Entry(title));
    }

    QString Title(int row) const { return view->model()->index(row, 0).data().toString(); }

    std::string Shown() const {
        QStringList titles;
        for (int row = 0; row < view->model()->rowCount(); ++row) titles << Title(row);
        return titles.join(' ').toStdString();
    }

    QApplication& application = EnsureQtApplication();
    EntryList entries;
    std::unique_ptr<QtListView> view = std::make_unique<QtListView>(nullptr);
};

// The mark is the row the user chose: it follows that row, goes with it, and the cursor the view
// places on a row when focus arrives is no choice.
TEST_F(QtListViewTest, MarkFollowsTheChosenRowAndIsGoneWithIt) {
    AddTitles({"a", "b", "c"});
    view->selectionModel()->setCurrentIndex(view->model()->index(1, 0),
                                            QItemSelectionModel::NoUpdate);
    EXPECT_EQ(entries.SelectionMark(), -1);
    view->selectRow(1);
    entries.InsertTop(Entry("d"));
    EXPECT_EQ(entries.SelectionMark(), 2);
    EXPECT_EQ(Title(2), "b");
    entries.DeleteRow(2);
    EXPECT_EQ(entries.SelectionMark(), -1);
    view->selectRow(0);
    entries.ClearSelectionMark();
    EXPECT_EQ(entries.SelectionMark(), -1);
    EXPECT_FALSE(view->selectionModel()->hasSelection());
}

TEST_F(QtListViewTest, ReversingKeepsTheSelectionOnItsPosition) {
    AddTitles({"a", "b", "c", "d"});
    view->selectRow(1);
    entries.Reverse();
    EXPECT_EQ(Title(1), "b");
    EXPECT_EQ(entries.SelectionMark(), 1);
    EXPECT_TRUE(view->selectionModel()->isRowSelected(1, {}));
}

// Qt's own checker watches every notification the table sends and aborts on a broken promise.
TEST_F(QtListViewTest, EveryChangeKeepsQtsModelContract) {
    QAbstractItemModelTester tester(view->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    AddTitles({"c", "a"});
    entries.InsertTop(std::vector<ImageEntry>{Entry("d"), Entry("b")});
    EXPECT_EQ(Shown(), "d b a c");
    entries.SortByColumn(0);
    EXPECT_EQ(Shown(), "a b c d");
    entries.Reverse();
    entries.SetRow(2, Entry("e"));
    EXPECT_EQ(Shown(), "d c e a");
    view->selectRow(0);
    entries.DeleteRow(0);
    EXPECT_EQ(Shown(), "c e a");
    EXPECT_EQ(entries.SelectionMark(), -1);
    entries.DeleteAll();
    EXPECT_EQ(view->model()->rowCount(), 0);
}

TEST_F(QtListViewTest, ADoubleClickCountsAsOneClick) {
    AddTitles({"a"});
    QSignalSpy rowClicks(view.get(), &QtListView::rowsAreaClicked);
    const QPoint row = view->visualRect(view->model()->index(0, 0)).center();
    // A double click arrives as press, release, press, double click, release.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(rowClicks.count(), 1);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(rowClicks.count(), 2);
}

TEST_F(QtListViewTest, HeaderClickNamesItsColumnAndDoesNotSortByItself) {
    AddTitles({"b", "a"});
    QSignalSpy rowClicks(view.get(), &QtListView::rowsAreaClicked);
    QSignalSpy headerClicks(view.get(), &QtListView::headerClicked);
    QHeaderView* header = view->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + header->sectionSize(2) / 2,
                             header->height() / 2));
    ASSERT_EQ(headerClicks.count(), 1);
    EXPECT_EQ(headerClicks.front().front().toInt(), 2);
    EXPECT_EQ(rowClicks.count(), 0);
    EXPECT_EQ(Title(0), "a");
}

// Fitting measures only a few cells; the widest text must still be among them, wherever it is.
TEST_F(QtListViewTest, ContentFitFindsTheWidestTextAmongManyRows) {
    const std::string wide(120, 'W');
    for (int i = 0; i < 100000; ++i) entries.InsertTop(Entry(i == 50000 ? wide : "short"));
    const int width = view->FitColumn(0, FitMode::Content);
    EXPECT_GE(width, view->fontMetrics().horizontalAdvance(QString::fromStdString(wide)));
}

TEST_F(QtListViewTest, LastColumnFillsTheRestOfTheList) {
    AddTitles({"a"});
    entries.AutoSizeColumns();
    int total = 0;
    for (int column = 0; column < view->ColumnCount(); ++column) {
        total += view->ColumnWidth(column);
        EXPECT_GE(view->ColumnWidth(column), view->horizontalHeader()->sectionSizeHint(column));
    }
    EXPECT_EQ(total, view->viewport()->width());
}

TEST_F(QtListViewTest, TableForgetsAViewThatIsDestroyed) {
    AddTitles({"a"});
    view.reset();
    EXPECT_EQ(entries.View(), nullptr);
    entries.InsertTop(Entry("b"));
    EXPECT_EQ(entries.RowCount(), 2);
}

}  // namespace
}  // namespace vistello::testing
