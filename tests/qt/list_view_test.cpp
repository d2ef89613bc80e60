#include <QtTest/QtTest>
#include <QtWidgets/QtWidgets>
#include <memory>

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

    std::string Shown() const {
        QStringList titles;
        for (int row = 0; row < view->model()->rowCount(); ++row)
            titles << view->model()->index(row, 0).data().toString();
        return titles.join(' ').toStdString();
    }

    QApplication& application = EnsureQtApplication();
    EntryList entries;
    std::unique_ptr<QtListView> view = std::make_unique<QtListView>(nullptr);
};

// Qt's own checker watches every notification the table sends and aborts on a broken promise.
// The mark is the row the user chose: a cursor the view places by itself is no choice; the mark
// follows its row as rows arrive above it, keeps its position when the rows are reordered, and
// is gone with its row.
TEST_F(QtListViewTest, ChangesKeepQtsModelContractAndTheMarkOnTheChosenRow) {
    QAbstractItemModelTester tester(view->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    AddTitles({"c", "a"});
    view->selectionModel()->setCurrentIndex(view->model()->index(1, 0),
                                            QItemSelectionModel::NoUpdate);
    EXPECT_EQ(entries.SelectionMark(), -1);
    view->selectRow(1);
    entries.InsertTop(std::vector<ImageEntry>{Entry("d"), Entry("b")});
    EXPECT_EQ(Shown(), "d b a c");
    EXPECT_EQ(entries.SelectionMark(), 3);
    entries.SortByColumn(0);
    entries.Reverse();
    entries.SetRow(2, Entry("e"));
    EXPECT_EQ(Shown(), "d c e a");
    EXPECT_EQ(entries.SelectionMark(), 3);
    EXPECT_TRUE(view->selectionModel()->isRowSelected(3, {}));
    entries.DeleteRow(3);
    EXPECT_EQ(Shown(), "d c e");
    EXPECT_EQ(entries.SelectionMark(), -1);
    EXPECT_FALSE(view->selectionModel()->hasSelection());
    view->selectRow(0);
    entries.ClearSelectionMark();
    EXPECT_EQ(entries.SelectionMark(), -1);
    EXPECT_FALSE(view->selectionModel()->hasSelection());
    entries.DeleteAll();
    EXPECT_EQ(view->model()->rowCount(), 0);
}

// The second click of a double click is no click of its own; a header click names its column
// and leaves the order to the table.
TEST_F(QtListViewTest, ClicksReachTheTableOnceAndTheHeaderDoesNotSortByItself) {
    AddTitles({"b", "a"});
    QSignalSpy rowClicks(view.get(), &QtListView::rowsAreaClicked);
    QSignalSpy headerClicks(view.get(), &QtListView::headerClicked);
    const QPoint row = view->visualRect(view->model()->index(0, 0)).center();
    // A double click arrives as press, release, press, double click, release.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, row);
    QHeaderView* header = view->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + header->sectionSize(2) / 2,
                             header->height() / 2));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(rowClicks.count(), 2);
    ASSERT_EQ(headerClicks.count(), 1);
    EXPECT_EQ(headerClicks.front().front().toInt(), 2);
    EXPECT_EQ(Shown(), "a b");
}

// Fitting measures only a few cells; the widest text must still be among them, wherever it is.
// The last column takes whatever room the others leave.
TEST_F(QtListViewTest, ColumnsFitTheWidestTextAndTheLastFillsTheList) {
    view->resize(3000, 200);
    const std::string wide(120, 'W');
    for (int i = 0; i < 100000; ++i) entries.InsertTop(Entry(i == 50000 ? wide : "short"));
    entries.AutoSizeColumns();
    EXPECT_GE(view->ColumnWidth(0),
              view->fontMetrics().horizontalAdvance(QString::fromStdString(wide)));
    int total = 0;
    for (int column = 0; column < view->ColumnCount(); ++column) total += view->ColumnWidth(column);
    EXPECT_EQ(total, view->viewport()->width());
}

TEST_F(QtListViewTest, TableForgetsAViewThatIsDestroyed) {
    view.reset();
    EXPECT_EQ(entries.View(), nullptr);
    entries.InsertTop(Entry("b"));
    EXPECT_EQ(entries.RowCount(), 1);
}

}  // namespace
}  // namespace vistello::testing
