#include <QtTest/QtTest>
#include <QtWidgets/QtWidgets>

#include "qt/dialog_units.h"
#include "qt/qt_list_view.h"
#include "qt/qt_window.h"
#include "qt/qt_window_host.h"
#include "qt/qt_window_system.h"
#include "qt_test_support.h"
#include "support/temp_dir.h"
#include "ui/dialog_templates.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

struct QtBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool operator==(const QtBox&) const = default;
};

// The real main window, shown without a modal loop so the test can act as the user.
class QtMainWindowTest : public ::testing::Test {
protected:
    QtMainWindowTest() { window.Show(); }

    QWidget* Control(int id) const { return window.Host().Control(id); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(Control(id)); }
    void Press(int id) const { qobject_cast<QPushButton*>(Control(id))->click(); }
    QtListView* List() const { return qobject_cast<QtListView*>(Control(ids::kEntryList)); }

    void AddEntry(const QString& title, const QString& image) {
        Edit(ids::kTitle)->setText(title);
        Edit(ids::kImagePath)->setText(image);
        Press(ids::kAdd);
    }

    // Runs action on the next modal window that opens over the main window.
    void OnNextDialog(std::function<void(QWidget*)> action) {
        OnNextModal(&window.Widget(), std::move(action));
    }

    // Presses the button of the next message box that opens, noting what the box showed.
    void AnswerNextBox(QMessageBox::StandardButton answer) {
        OnNextDialog([this, answer](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            shown = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
            box->button(answer)->click();
        });
    }

    // Types path into an open file picker and presses Enter. Agrees if the picker asks to replace
    // a file, and says whether it asked.
    static bool TypeIntoPicker(QWidget* picker, const QString& path) {
        auto asked = std::make_shared<bool>(false);
        OnNextModal(picker, [asked](QWidget* box) {
            *asked = true;
            qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
        });
        auto* name = picker->findChild<QLineEdit*>("fileNameEdit");
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
        return *asked;
    }

    // True when resting the mouse on widget shows its tip.
    static bool ShowsTip(QWidget* widget) {
        QToolTip::hideText();
        QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &event);
        return QToolTip::isVisible() && QToolTip::text() == widget->toolTip();
    }

    // The ids of the controls that Tab visits from first, in order.
    static std::vector<int> TabOrder(QWidget* first) {
        std::vector<int> visited;
        QWidget* widget = first;
        do {
            bool isId = false;
            const int id = widget->objectName().toInt(&isId);
            if (isId && (widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isVisible())
                visited.push_back(id);
            widget = widget->nextInFocusChain();
        } while (widget != first);
        return visited;
    }

    ScratchDirectory scratch;
    QtWindowSystem system;
    CMainDialog dialog;
    QtWindow window{system, dialog, nullptr};
    QtBox shown;
};

TEST_F(QtMainWindowTest, ControlsStandWhereTheTemplatePutsThemAndTabFollowsIt) {
    const DialogUnits units(window.Widget().font());
    std::vector<int> tabStops;
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        const ControlKind kind = control.kind;
        if (kind != ControlKind::Label && kind != ControlKind::GroupBox &&
            kind != ControlKind::Icon)
            tabStops.push_back(control.id);
        if (control.id == IDC_STATIC) continue;
        QWidget* widget = Control(control.id);
        ASSERT_NE(widget, nullptr) << control.id;
        EXPECT_EQ(widget->geometry(), units.ToPixels(control.rect)) << control.id;
    }
    EXPECT_EQ(TabOrder(Control(tabStops.front())), tabStops);
    EXPECT_EQ(window.Widget().focusWidget(), Control(tabStops.front()));
    EXPECT_TRUE(Edit(ids::kEntryCount)->isReadOnly());
    EXPECT_EQ(Control(ids::kOutputFolder)->accessibleName().toStdString(), "Output Folder");
    EXPECT_EQ(Control(ids::kAlt)->accessibleName().toStdString(), "Image ALT");
    EXPECT_EQ(window.Widget().windowTitle().toStdString(), "Vistello: vistello.dat");
    EXPECT_FALSE(window.Widget().windowIcon().isNull());
}

// Enter in a field presses the default button, Quit; Escape and the close box ask the dialog,
// which cancels.
TEST_F(QtMainWindowTest, EnterQuitsAndEscapeOrTheCloseBoxCancel) {
    QTest::keyClick(Edit(ids::kTitle), Qt::Key_Escape);
    EXPECT_EQ(window.Host().Result(), IDCANCEL);
    window.Widget().show();
    QTest::keyClick(Edit(ids::kTitle), Qt::Key_Return);
    EXPECT_EQ(window.Widget().result(), IDOK);
    EXPECT_FALSE(window.Widget().isVisible());
    window.Widget().show();
    window.Widget().close();
    EXPECT_EQ(window.Host().Result(), IDCANCEL);
}

// Bytes that are not UTF-8, and more of them than a field holds by default, come back unchanged.
TEST_F(QtMainWindowTest, FieldsGiveBackTheExactBytesTheyWereGiven) {
    const std::string bytes = "a\xff\xfeZ\xc3" + std::string(40000, 'x');
    dialog.m_strDescription = bytes;
    dialog.UpdateData(false);
    dialog.m_strDescription.clear();
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.m_strDescription, bytes);
}

TEST_F(QtMainWindowTest, HelpAboutOpensTheAboutBoxOverTheMainWindow) {
    QWidget* about = nullptr;
    OnNextDialog([&](QWidget* modal) {
        about = modal;
        EXPECT_EQ(modal->windowTitle(), "About Vistello");
        EXPECT_EQ(modal->parentWidget(), &window.Widget());
        EXPECT_EQ(modal->windowModality(), Qt::WindowModal);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    for (QAction* item : window.Widget().findChild<QMenuBar*>()->findChildren<QAction*>()) {
        auto* menu = qobject_cast<QMenu*>(item->parent());
        if (item->text() == "&About" && menu->title() == "&Help") item->trigger();
    }
    EXPECT_NE(about, nullptr);
    EXPECT_FALSE(window.Host().Ended());
}

// The window's own box carries no icon and only OK; the application's questions carry its title.
TEST_F(QtMainWindowTest, ErrorsAndQuestionsUseTheirOwnKindOfBox) {
    AnswerNextBox(QMessageBox::Ok);
    Press(ids::kAdd);
    EXPECT_EQ(shown, (QtBox{"Error", "Image Location is required.\nNo entry added.",
                            QMessageBox::NoIcon, QMessageBox::Ok}));
    AddEntry("one", "a.jpg");
    AnswerNextBox(QMessageBox::Yes);
    Press(ids::kClearList);
    EXPECT_EQ(shown, (QtBox{"vistello", "Are you sure that you want to clear list?",
                            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No}));
    EXPECT_EQ(Edit(ids::kEntryCount)->text(), "0");
}

TEST_F(QtMainWindowTest, ClickingARowLoadsItAndEmptySpaceLoadsTheRowLastSelected) {
    AddEntry("first", "1.jpg");
    AddEntry("second", "2.jpg");
    QApplication::processEvents();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                      List()->visualRect(List()->model()->index(1, 0)).center());
    EXPECT_EQ(Edit(ids::kTitle)->text(), "first");
    Edit(ids::kTitle)->setText("typed");
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                      QPoint(5, List()->viewport()->height() - 3));
    EXPECT_EQ(Edit(ids::kTitle)->text(), "first");
}

TEST_F(QtMainWindowTest, TwoEntriesTypedIntoTheWindowGenerateTwoLinkedPages) {
    std::filesystem::create_directories("pics");
    std::filesystem::create_directories("web");
    WriteBytes("pics/sea.jpg", "sea");
    WriteBytes("pics/sun.jpg", "sun");
    WriteBytes("page.htm", "<<IMAGETITLE>> <<IMAGEPATH>>\n<<BACK>><<NEXT>>");
    Edit(ids::kTemplate)->setText("page.htm");
    Edit(ids::kOutputFolder)->setText("web");
    AddEntry("Sun Set", "pics/sun.jpg");
    AddEntry("Sea", "pics/sea.jpg");
    AnswerNextBox(QMessageBox::No);
    Press(ids::kGenerate);
    EXPECT_EQ(shown.text, "Your pages have been generated.\nWould you like to view them?");
    EXPECT_EQ(ReadBytes("web/sea.htm"), "Sea \"sea.jpg\"\r\n<a href=sun_set.htm>Next</a>");
    EXPECT_EQ(ReadBytes("web/sun_set.htm"), "Sun Set \"sun.jpg\"\r\n<a href=sea.htm>Back</a>");
    EXPECT_EQ(Edit(ids::kOutputFolder)->text(), "web/");
}

// Focus starts in the first tag and Tab follows the template; Enter is OK, and there is no
// Cancel. Tool tips show only while switched on.
TEST_F(QtMainWindowTest, PreferencesDialogFollowsItsTemplateAndSwitchesToolTips) {
    QWidget* generate = Control(ids::kGenerate);
    EXPECT_TRUE(ShowsTip(generate));
    std::vector<int> order;
    OnNextDialog([&](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Preferences");
        for (auto* button : modal->findChildren<QPushButton*>())
            EXPECT_FALSE(button->text().contains("Cancel"));
        order = TabOrder(modal->focusWidget());
        modal->findChild<QCheckBox*>(QString::number(ids::kPrefToolTips))->setChecked(false);
        auto* title = modal->findChild<QLineEdit*>(QString::number(ids::kTitle));
        title->setText("{title}");
        QTest::keyClick(title, Qt::Key_Return);
    });
    Press(ids::kPreferences);
    EXPECT_EQ(order, (std::vector<int>{ids::kPrefImagePath, ids::kTitle, ids::kHeight, ids::kWidth,
                                       ids::kBorder, ids::kAlt, ids::kKeywords, ids::kDescription,
                                       ids::kPrefToolTips, IDOK}));
    EXPECT_EQ(dialog.m_tags.imageTitle, "{title}");
    EXPECT_FALSE(ShowsTip(generate));
}

// The picker lists a camera's capital-letter names among the images and takes a typed path.
TEST_F(QtMainWindowTest, ImagePickerTakesATypedPathAndMatchesAnyCase) {
    WriteBytes("IMG_0001.JPG", "x");
    const QString typed = QDir::current().absoluteFilePath("IMG_0001.JPG");
    bool listed = false;
    OnNextDialog([&](QWidget* modal) {
        auto* list = modal->findChild<QAbstractItemView*>("listView");
        for (int wait = 0; wait < 300 && list->model()->rowCount(list->rootIndex()) == 0; ++wait)
            QTest::qWait(10);
        const QModelIndex first = list->model()->index(0, 0, list->rootIndex());
        listed = first.data().toString() == "IMG_0001.JPG" &&
                 (list->model()->flags(first) & Qt::ItemIsEnabled) != 0;
        TypeIntoPicker(modal, typed);
    });
    Press(ids::kBrowseImage);
    EXPECT_TRUE(listed);
    EXPECT_EQ(Edit(ids::kImagePath)->text(), typed);
}

// A later start reads the files the user left and, untouched, writes the same bytes at Quit.
TEST_F(QtMainWindowTest, StartsWhereTheUserLeftOffAndWritesTheSameFilesAtQuit) {
    window.Close();
    const std::string preferences =
        "CREATOR=Vistello 1.0\r\nIMAGEPATH=[path]\r\nIMAGETITLE=[title]\r\nHEIGHT=\r\nWIDTH=\r\n"
        "BORDER=\r\nALT=\r\nKEYWORDS=\r\nTOOLTIPS=no\r\nDESCRIPTION=\r\nFILE=album.dat\r\n\r\n";
    const std::string album =
        "CREATOR=Vistello 1.0\r\nTEMPLATE=show.htm\r\nOUTPUT=web\r\nIMAGE=m.jpg\r\nTITLE=Mill\r\n"
        "HEIGHT=480\r\nWIDTH=640\r\nBORDER=0\r\nALT=A mill\r\nKEYWORDS=k\r\nDESCRIPTION=d\r\n\r\n"
        "IMAGE=h.jpg\r\nTITLE=Harbour\r\nHEIGHT=\r\nWIDTH=800\r\nBORDER=1\r\nALT=\r\nKEYWORDS=\r\n"
        "DESCRIPTION=Boats at first light.\r\n";
    WriteBytes("vistello.ini", preferences);
    WriteBytes("album.dat", album);
    CMainDialog restarted;
    QtWindow again(system, restarted, nullptr);
    again.Show();
    EXPECT_EQ(again.Widget().windowTitle().toStdString(), "Vistello: album.dat");
    auto* title = qobject_cast<QLineEdit*>(again.Host().Control(ids::kTitle));
    EXPECT_EQ(title->text().toStdString(), "Harbour");
    qobject_cast<QPushButton*>(again.Host().Control(IDOK))->click();
    again.Close();
    EXPECT_EQ(ReadBytes("vistello.ini"), preferences);
    EXPECT_EQ(ReadBytes("album.dat"), album);
}

// A typed name gains the extension; an existing file is replaced only after the question.
TEST_F(QtMainWindowTest, NewProjectPickerCompletesTheNameAndAsksBeforeReplacing) {
    const QString typed = QDir::current().absoluteFilePath("named");
    const std::string chosen = typed.toStdString() + ".dat";
    for (const auto& [path, output] : {std::pair{typed, ""}, std::pair{typed + ".dat", "web"}}) {
        const bool exists = std::filesystem::exists(chosen);
        bool asked = false;
        Edit(ids::kOutputFolder)->setText(output);
        OnNextDialog([&](QWidget* question) {
            OnNextDialog([&](QWidget* picker) { asked = TypeIntoPicker(picker, path); });
            qobject_cast<QMessageBox*>(question)->button(QMessageBox::Yes)->click();
        });
        Press(ids::kNewProject);
        EXPECT_EQ(asked, exists);
        EXPECT_EQ(ReadBytes(chosen), "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=" +
                                         std::string(output) + "\r\n");
    }
    EXPECT_EQ(window.Widget().windowTitle().toStdString(), "Framewright Vistello: " + chosen);
}

}  // namespace
}  // namespace vistello::testing
