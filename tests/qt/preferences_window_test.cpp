#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QtTest/QtTest>
#include <fstream>
#include <string>

#include "qt/qt_window.h"
#include "qt/qt_window_host.h"
#include "qt/qt_window_system.h"
#include "qt_test_support.h"
#include "ui/dialog_templates.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

class QtPreferencesWindowTest : public ::testing::Test {
protected:
    QtPreferencesWindowTest() { window.Show(); }

    QWidget* Control(int id) const { return window.Host().Control(id); }

    // True when resting the mouse on widget shows its tip.
    static bool ShowsTip(QWidget* widget) {
        QToolTip::hideText();
        QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &event);
        return QToolTip::isVisible() && QToolTip::text() == widget->toolTip();
    }

    ScratchDirectory scratch;
    QtWindowSystem system;
    CMainDialog dialog;
    QtWindow window{system, dialog, nullptr};
};

// Focus starts in the first tag; Tab follows the template; Enter is OK, and there is no Cancel.
TEST_F(QtPreferencesWindowTest, PreferencesDialogFollowsItsTemplateAndEnterKeepsTheEdits) {
    std::vector<int> order;
    QString caption;
    bool hasCancel = true;
    OnNextModal(&window.Widget(), [&](QWidget* modal) {
        caption = modal->windowTitle();
        hasCancel = false;
        for (auto* button : modal->findChildren<QPushButton*>()) {
            hasCancel = hasCancel || button->text().contains("Cancel");
        }
        QWidget* first = modal->focusWidget();
        for (QWidget* at = first; order.size() < 12; at = at->nextInFocusChain()) {
            if ((at->focusPolicy() & Qt::TabFocus) != 0 && at->isVisible()) {
                order.push_back(at->objectName().toInt());
            }
            if (at->nextInFocusChain() == first) break;
        }
        auto* title = modal->findChild<QLineEdit*>(QString::number(ids::kTitle));
        title->setText("{title}");
        QTest::keyClick(title, Qt::Key_Return);
    });
    qobject_cast<QPushButton*>(Control(ids::kPreferences))->click();
    EXPECT_EQ(caption.toStdString(), "Preferences");
    EXPECT_FALSE(hasCancel);
    EXPECT_EQ(order, (std::vector<int>{ids::kPrefImagePath, ids::kTitle, ids::kHeight, ids::kWidth,
                                       ids::kBorder, ids::kAlt, ids::kKeywords, ids::kDescription,
                                       ids::kPrefToolTips, IDOK}));
    EXPECT_EQ(dialog.m_tags.imageTitle, "{title}");
}

TEST_F(QtPreferencesWindowTest, ToolTipsShowOnlyWhileSwitchedOn) {
    QWidget* generate = Control(ids::kGenerate);
    ASSERT_FALSE(generate->toolTip().isEmpty());
    EXPECT_TRUE(ShowsTip(generate));
    OnNextModal(&window.Widget(), [](QWidget* modal) {
        auto* box = modal->findChild<QCheckBox*>(QString::number(ids::kPrefToolTips));
        box->setChecked(false);
        QTest::keyClick(box, Qt::Key_Return);
    });
    qobject_cast<QPushButton*>(Control(ids::kPreferences))->click();
    EXPECT_EQ(dialog.m_strToolTips, "no");
    EXPECT_FALSE(ShowsTip(generate));
}

TEST_F(QtPreferencesWindowTest, FieldsAreNamedByTheirLabels) {
    EXPECT_EQ(Control(ids::kOutputFolder)->accessibleName().toStdString(), "Output Folder");
    EXPECT_EQ(Control(ids::kAlt)->accessibleName().toStdString(), "Image ALT");
}

// The picker takes a typed full path and Enter, and lists a camera's capital-letter names.
TEST_F(QtPreferencesWindowTest, ImagePickerTakesATypedPathAndMatchesAnyCase) {
    std::ofstream("IMG_0001.JPG") << "x";
    const QString typed = QDir::current().absoluteFilePath("IMG_0001.JPG");
    bool listed = false;
    OnNextModal(&window.Widget(), [&](QWidget* modal) {
        auto* picker = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(picker, nullptr);
        auto* list = picker->findChild<QAbstractItemView*>("listView");
        ASSERT_NE(list, nullptr);
        for (int wait = 0; wait < 300 && list->model()->rowCount(list->rootIndex()) == 0; ++wait) {
            QTest::qWait(10);
        }
        const QModelIndex first = list->model()->index(0, 0, list->rootIndex());
        listed = first.data().toString() == "IMG_0001.JPG" &&
                 (list->model()->flags(first) & Qt::ItemIsEnabled) != 0;
        auto* name = picker->findChild<QLineEdit*>("fileNameEdit");
        name->setText(typed);
        QTest::keyClick(name, Qt::Key_Return);
    });
    qobject_cast<QPushButton*>(Control(ids::kBrowseImage))->click();
    EXPECT_TRUE(listed);
    EXPECT_EQ(qobject_cast<QLineEdit*>(Control(ids::kImagePath))->text(), typed);
}

}  // namespace
}  // namespace vistello::testing
