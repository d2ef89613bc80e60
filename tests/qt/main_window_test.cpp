#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QtTest>
#include <filesystem>
#include <fstream>
#include <string>

#include "qt/dialog_units.h"
#include "qt/qt_list_view.h"
#include "qt/qt_window.h"
#include "qt/qt_window_host.h"
#include "qt/qt_window_system.h"
#include "qt_test_support.h"
#include "ui/dialog_templates.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

bool TakesTabStop(ControlKind kind) {
    return kind != ControlKind::Label && kind != ControlKind::GroupBox && kind != ControlKind::Icon;
}

struct ShownBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// The real main window, shown without a modal loop so the test can act as the user.
class QtMainWindowTest : public ::testing::Test {
protected:
    QtMainWindowTest() { window.Show(); }

    QWidget* Control(int id) const { return window.Host().Control(id); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(Control(id)); }
    QPushButton* Button(int id) const { return qobject_cast<QPushButton*>(Control(id)); }
    QtListView* List() const { return qobject_cast<QtListView*>(Control(ids::kEntryList)); }

    void AddEntry(const QString& title, const QString& image) {
        Edit(ids::kTitle)->setText(title);
        Edit(ids::kImagePath)->setText(image);
        Button(ids::kAdd)->click();
    }

    // Presses the button of the next message box that opens, noting what the box showed.
    void AnswerNextBox(QMessageBox::StandardButton answer, ShownBox& shown) {
        OnNextModal(&window.Widget(), [answer, &shown](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            shown = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
            box->button(answer)->click();
        });
    }

    void ClickRowsArea(const QPoint& where) {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, where);
    }

    QPoint RowCentre(int row) const {
        return List()->visualRect(List()->model()->index(row, 0)).center();
    }

    ScratchDirectory scratch;
    QtWindowSystem system;
    CMainDialog dialog;
    QtWindow window{system, dialog, nullptr};
};

TEST_F(QtMainWindowTest, EveryControlStandsWhereTheTemplatePutsItWithItsText) {
    const DialogUnits units(window.Widget().font());
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        if (control.id == IDC_STATIC) continue;
        QWidget* widget = Control(control.id);
        ASSERT_NE(widget, nullptr) << control.id;
        EXPECT_EQ(widget->objectName(), QString::number(control.id));
        EXPECT_EQ(widget->geometry(), units.ToPixels(control.rect)) << control.id;
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text().toStdString(), control.text);
        }
    }
    EXPECT_EQ(window.Widget().windowTitle().toStdString(), "Vistello: vistello.dat");
    EXPECT_FALSE(window.Widget().windowIcon().isNull());
}

TEST_F(QtMainWindowTest, TabVisitsEditsButtonsAndListInTemplateOrder) {
    std::vector<int> expected;
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        if (TakesTabStop(control.kind)) expected.push_back(control.id);
    }
    std::vector<int> visited;
    QWidget* first = Control(expected.front());
    QWidget* widget = first;
    do {
        bool isId = false;
        const int id = widget->objectName().toInt(&isId);
        if (isId && (widget->focusPolicy() & Qt::TabFocus) != 0) visited.push_back(id);
        widget = widget->nextInFocusChain();
    } while (widget != first);
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(window.Widget().focusWidget(), first);
}

TEST_F(QtMainWindowTest, CountFieldShowsZeroAndCannotBeEdited) {
    QLineEdit* count = Edit(ids::kEntryCount);
    EXPECT_EQ(count->text(), "0");
    EXPECT_TRUE(count->isReadOnly());
    EXPECT_TRUE(count->focusPolicy() & Qt::TabFocus);
    QTest::keyClicks(count, "12");
    EXPECT_EQ(count->text(), "0");
}

TEST_F(QtMainWindowTest, ListShowsTheEightColumnHeaders) {
    QStringList headers;
    for (int column = 0; column < List()->model()->columnCount(); ++column) {
        headers << List()->model()->headerData(column, Qt::Horizontal).toString();
    }
    EXPECT_EQ(headers, QStringList({"Title", "Height", "Width", "Border", "ALT", "Keywords",
                                    "Description", "Image"}));
}

TEST_F(QtMainWindowTest, EnterInAFieldPressesTheDefaultQuitButton) {
    EXPECT_TRUE(Button(IDOK)->isDefault());
    QTest::keyClick(Edit(ids::kTitle), Qt::Key_Return);
    EXPECT_TRUE(window.Host().Ended());
    EXPECT_EQ(window.Widget().result(), IDOK);
    EXPECT_FALSE(window.Widget().isVisible());
}

TEST_F(QtMainWindowTest, EscapeAndTheCloseBoxAskTheDialogWhichCancels) {
    QTest::keyClick(Edit(ids::kTitle), Qt::Key_Escape);
    EXPECT_EQ(window.Host().Result(), IDCANCEL);
    window.Widget().show();
    window.Widget().close();
    EXPECT_EQ(window.Host().Result(), IDCANCEL);
}

// Bytes that are not UTF-8 reach the field and come back to the member unchanged.
TEST_F(QtMainWindowTest, FieldsGiveBackTheExactBytesTheyWereGiven) {
    const std::string bytes =
        "a\xff\xfe"
        "b\xc3";
    const std::string longText(40000, 'x');
    dialog.m_strTitle = bytes;
    dialog.m_strDescription = longText;
    dialog.UpdateData(false);
    dialog.m_strTitle.clear();
    dialog.m_strDescription.clear();
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.m_strTitle, bytes);
    EXPECT_EQ(dialog.m_strDescription, longText);
}

TEST_F(QtMainWindowTest, HelpAboutOpensTheAboutBoxOverTheMainWindow) {
    QAction* about = nullptr;
    for (QAction* menu : window.Widget().findChild<QMenuBar*>()->actions()) {
        if (menu->text() != "&Help") continue;
        for (QAction* item : menu->menu()->actions()) {
            if (item->text() == "&About") about = item;
        }
    }
    ASSERT_NE(about, nullptr);
    QString caption;
    QWidget* owner = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
    OnNextModal(&window.Widget(), [&](QWidget* modal) {
        caption = modal->windowTitle();
        owner = modal->parentWidget();
        modality = modal->windowModality();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    about->trigger();
    EXPECT_EQ(caption, "About Vistello");
    EXPECT_EQ(owner, &window.Widget());
    EXPECT_EQ(modality, Qt::WindowModal);
    EXPECT_FALSE(window.Host().Ended());
}

// The window's own box carries no icon and only OK; the application's questions carry its title.
TEST_F(QtMainWindowTest, ErrorsAndQuestionsUseTheirOwnKindOfBox) {
    ShownBox error;
    AnswerNextBox(QMessageBox::Ok, error);
    Button(ids::kAdd)->click();
    EXPECT_EQ(error.caption, "Error");
    EXPECT_EQ(error.text, "Image Location is required.\nNo entry added.");
    EXPECT_EQ(error.icon, QMessageBox::NoIcon);
    EXPECT_EQ(error.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    AddEntry("one", "a.jpg");
    ShownBox question;
    AnswerNextBox(QMessageBox::Yes, question);
    Button(ids::kClearList)->click();
    EXPECT_EQ(question.caption, "vistello");
    EXPECT_EQ(question.icon, QMessageBox::Warning);
    EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(List()->model()->rowCount(), 0);
    EXPECT_EQ(Edit(ids::kEntryCount)->text(), "0");
}

TEST_F(QtMainWindowTest, ClickingARowLoadsItAndEmptySpaceLoadsTheRowLastSelected) {
    AddEntry("first", "1.jpg");
    AddEntry("second", "2.jpg");
    EXPECT_EQ(Edit(ids::kEntryCount)->text(), "2");
    QApplication::processEvents();
    ClickRowsArea(RowCentre(1));
    EXPECT_EQ(Edit(ids::kTitle)->text(), "first");
    Edit(ids::kTitle)->setText("typed");
    ClickRowsArea(QPoint(5, List()->viewport()->height() - 3));
    EXPECT_EQ(Edit(ids::kTitle)->text(), "first");
    EXPECT_EQ(Edit(ids::kImagePath)->text(), "1.jpg");
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(QtMainWindowTest, TwoEntriesTypedIntoTheWindowGenerateTwoLinkedPages) {
    std::filesystem::create_directory("pics");
    std::filesystem::create_directory("web");
    std::ofstream("pics/sea.jpg", std::ios::binary) << "sea bytes";
    std::ofstream("pics/sun.jpg", std::ios::binary) << "sun bytes";
    std::ofstream("page.htm", std::ios::binary) << "<<IMAGETITLE>> <<IMAGEPATH>>\n<<BACK>><<NEXT>>";
    Edit(ids::kTemplate)->setText("page.htm");
    Edit(ids::kOutputFolder)->setText("web");
    AddEntry("Sun Set", "pics/sun.jpg");
    AddEntry("Sea", "pics/sea.jpg");

    ShownBox shown;
    AnswerNextBox(QMessageBox::No, shown);
    Button(ids::kGenerate)->click();

    EXPECT_EQ(shown.text, "Your pages have been generated.\nWould you like to view them?");
    EXPECT_EQ(FileText("web/sea.htm"), "Sea \"sea.jpg\"\r\n<a href=sun_set.htm>Next</a>");
    EXPECT_EQ(FileText("web/sun_set.htm"), "Sun Set \"sun.jpg\"\r\n<a href=sea.htm>Back</a>");
    EXPECT_EQ(FileText("web/sun.jpg"), "sun bytes");
    EXPECT_EQ(Edit(ids::kOutputFolder)->text(), "web/");
    EXPECT_EQ(Edit(ids::kTitle)->text(), "Sun Set");
}

}  // namespace
}  // namespace vistello::testing
