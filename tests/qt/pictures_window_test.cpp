#include <gtest/gtest.h>

#include <QAccessible>
#include <QtTest/QtTest>
#include <QtWidgets/QtWidgets>
#include <memory>

#include "qt/picture_preview.h"
#include "qt/qt_list_view.h"
#include "qt/qt_picture_grid.h"
#include "qt/qt_window.h"
#include "qt/qt_window_host.h"
#include "qt/qt_window_system.h"
#include "qt_application.h"
#include "support/fake_thumbnails.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

using namespace ids;

ImageEntry Entry(const std::string& title, const std::string& image) {
    return {title, "", "", "", "", "", "", image};
}

// The real main window with its Pictures window opened as the user opens it, by its key.
class QtPicturesWindowTest : public ::testing::Test {
protected:
    QtPicturesWindowTest() {
        dialog.UseThumbnails(thumbnails);
        window.Show();
    }

    void Open() {
        QApplication::setActiveWindow(&window.Widget());
        QTest::keyClick(&window.Widget(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        grid = Pictures() != nullptr ? Pictures()->findChild<QtPictureGrid*>() : nullptr;
        ASSERT_NE(grid, nullptr);
        QApplication::setActiveWindow(Pictures());
        grid->setFocus();
    }
    static QWidget* Pictures() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->windowTitle() == "Pictures" && widget->isVisible()) return widget;
        return nullptr;
    }
    QString Titles() const {
        QString titles;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            titles += list->model()->index(row, 0).data().toString();
        return titles;
    }
    QPoint TileCentre(int row) const {
        return grid->visualRect(grid->model()->index(row, 0)).center();
    }
    // Drags data onto the grid and drops it at position, as the desktop delivers a drag; returns
    // what the drop told the drag it did.
    Qt::DropAction DropOnGrid(QPoint position, const QMimeData& data) const {
        QDragEnterEvent enter(position, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(grid->viewport(), &enter);
        QDropEvent drop(position, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(grid->viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }
    static bool WaitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 2000); }

    QApplication& application = Application();
    ScratchDir scratch;
    FakeThumbnails thumbnails;
    QtWindowSystem system{std::chrono::milliseconds(0)};
    CMainDialog dialog;
    QtWindow window{system, dialog, nullptr};
    QtListView* list = qobject_cast<QtListView*>(window.Host().Control(kEntryList));
    QtPictureGrid* grid = nullptr;
};

// Ctrl+Shift+P opens the window beside the main window, on the side with room; Tab goes from the
// grid to the size slider to the preview; a screen reader names the grid, the slider, the preview
// and each tile by its title, in the show's order. Escape closes it, and the same key again too.
TEST_F(QtPicturesWindowTest, OpensBesideTheMainWindowAndServesTheKeyboardAndScreenReaders) {
    dialog.Inside().slides.InsertTop(
        std::vector<ImageEntry>{Entry("Sea", "sea.jpg"), Entry("Sun", "sun.jpg")});
    window.Widget().move(0, 0);
    Open();
    const QRect main = window.Widget().frameGeometry();
    EXPECT_EQ(Pictures()->geometry().top(), main.top());
    EXPECT_GT(Pictures()->geometry().left(), main.left() + main.width() / 2);
    auto* slider = Pictures()->findChild<QSlider*>();
    auto* preview = Pictures()->findChild<PicturePreview*>();
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), slider);
    QTest::keyClick(slider, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), preview);
    EXPECT_EQ(grid->accessibleName(), "Pictures");
    EXPECT_EQ(slider->accessibleName(), "Picture size");
    EXPECT_EQ(preview->accessibleName(), "Preview");
    QAccessibleInterface* tiles = QAccessible::queryAccessibleInterface(grid);
    QStringList names;
    for (int child = 0; child < tiles->childCount(); ++child)
        names << tiles->child(child)->text(QAccessible::Name);
    EXPECT_EQ(names, (QStringList{"Sea", "Sun"}));

    QTest::keyClick(preview, Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([] { return Pictures() == nullptr; }));
    Open();
    QTest::keyClick(grid, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(WaitFor([] { return Pictures() == nullptr; }));
}

// Arrows select in the grid and the list selects with it and fills the fields; Shift extends the
// selection, Ctrl moves the marked slide, Delete removes the selected ones; tiles dragged move
// before the tile they are dropped on, files dropped join at the place dropped on. The model keeps
// Qt's contract throughout.
TEST_F(QtPicturesWindowTest, KeysAndDropsInTheGridAreTheListsCommands) {
    EntryList& slides = dialog.Inside().slides;
    slides.InsertTop(std::vector<ImageEntry>{Entry("a", "a.jpg"), Entry("b", "b.jpg"),
                                             Entry("c", "c.jpg"), Entry("d", "d.jpg")});
    Open();
    QAbstractItemModelTester tester(grid->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(list->SelectionMark(), 1);
    EXPECT_EQ(qobject_cast<QLineEdit*>(window.Host().Control(kTitle))->text(), "b");
    QTest::keyClick(grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(list->SelectedRows(), (std::vector<int>{1, 2}));
    QTest::keyClick(grid, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Titles(), "abdc");

    std::unique_ptr<QMimeData> tiles(grid->model()->mimeData({grid->model()->index(3, 0)}));
    EXPECT_EQ(DropOnGrid(TileCentre(0) - QPoint(5, 0), *tiles), Qt::CopyAction);
    EXPECT_EQ(Titles(), "bcad");

    WriteMedia("x.jpg", "");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QDir::current().filePath("x.jpg"))});
    QTimer::singleShot(50, [] {
        if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
    });
    DropOnGrid(TileCentre(1) + QPoint(5, 0), files);
    EXPECT_TRUE(WaitFor([this] { return Titles() == "bcxad"; })) << Titles().toStdString();

    grid->SetSelection({0, 4}, 4);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(Titles(), "cxa");
    EXPECT_EQ(grid->model()->rowCount(), 3);

    grid->SetSelection({1}, 1);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Titles(), "cax");
    QTest::keyClick(grid, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Titles(), "xca");
}

// Tiles draw the thumbnails the cache gives, at the slider's size, which Ctrl with the wheel
// changes too; a picture that cannot be shown says why on hover, as text.
TEST_F(QtPicturesWindowTest, TilesDrawThumbnailsAtTheSizeTheSliderOrWheelSets) {
    QImage red(256, 192, QImage::Format_RGB32);
    red.fill(Qt::red);
    red.save("red.png");
    thumbnails.cached[scratch / "a.jpg"] = {scratch / "red.png", ""};
    thumbnails.cached[scratch / "b.jpg"] = {"", "<b>Not</b> a picture"};
    dialog.Inside().slides.InsertTop(
        std::vector<ImageEntry>{Entry("a", "a.jpg"), Entry("b", "b.jpg")});
    Open();
    auto* slider = Pictures()->findChild<QSlider*>();
    slider->setValue(64);
    EXPECT_EQ(grid->TileSize(), 64);
    const QPoint picture = TileCentre(0);
    EXPECT_TRUE(WaitFor(
        [&] { return grid->viewport()->grab().toImage().pixelColor(picture) == QColor(Qt::red); }));

    QWheelEvent wheel(TileCentre(1), grid->viewport()->mapToGlobal(TileCentre(1)), {}, {0, 240},
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &wheel);
    EXPECT_EQ(slider->value(), 96);
    EXPECT_EQ(grid->TileSize(), 96);
    EXPECT_EQ(grid->model()->index(1, 0).data(Qt::ToolTipRole).toString(),
              "<p>b<br>&lt;b&gt;Not&lt;/b&gt; a picture</p>");
}

}  // namespace
}  // namespace vistello::testing
