#include <gtest/gtest.h>

#include <QtTest/QtTest>
#include <QtWidgets/QtWidgets>

#include "qt/qt_list_view.h"
#include "qt/qt_message_box.h"
#include "qt/qt_progress.h"
#include "qt/qt_window.h"
#include "qt/qt_window_host.h"
#include "qt/qt_window_system.h"
#include "qt_application.h"
#include "support/fake_publish_link.h"
#include "support/temp_dir.h"
#include "ui/dialog_templates.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace vistello::testing {
namespace {

using namespace ids;
using Box = std::tuple<QString, QString, QMessageBox::Icon, QMessageBox::StandardButtons>;

// Records the files the desktop is asked to open, for as long as it lives.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder() { QDesktopServices::setUrlHandler("file", this, "Open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler("file"); }
    Q_INVOKABLE void Open(const QUrl& url) { opened << url.toLocalFile(); }
    QStringList opened;
};

ImageEntry Entry(const std::string& title) { return {title, "", "", "", "", "", "", "a.jpg"}; }

// The real main window, shown without a modal loop so the test can act as the user. Progress
// shows at once, so a long run needs no waiting.
class QtMainWindowTest : public ::testing::Test {
protected:
    QtMainWindowTest() { window.Show(); }

    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(host.Control(id)); }
    void Press(int id) const { qobject_cast<QPushButton*>(host.Control(id))->click(); }

    void AddEntry(const QString& title) {
        Edit(kTitle)->setText(title);
        Edit(kImagePath)->setText("a.jpg");
        Press(kAdd);
    }

    // Runs action on the next modal window of kind W once it is open, from inside its modal loop;
    // with `over`, on the next one opened over that window.
    template <typename W = QWidget>
    void OnNextModal(std::type_identity_t<std::function<void(W*)>> action,
                     QWidget* over = nullptr) {
        QTimer::singleShot(5, &window.Widget(), [this, action, over] {
            auto* modal = qobject_cast<W*>(QApplication::activeModalWidget());
            if (modal == nullptr || modal == over || !modal->isVisible())
                return OnNextModal<W>(action, over);
            action(modal);
        });
    }

    // Answers the next message box with key, noting what the box showed.
    void AnswerNextBox(Qt::Key key) {
        OnNextModal<QMessageBox>([this, key](QMessageBox* box) {
            shown = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
            QTest::keyClick(box, key);
        });
    }

    // Drags data onto target and drops it at position, as the desktop delivers a drag; returns
    // what the drop told the drag it did.
    static Qt::DropAction DropOn(QWidget* target, QPoint position, const QMimeData& data) {
        QDragEnterEvent enter(position, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(position, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }

    // True when resting the mouse on widget shows a tip.
    static bool ShowsTip(QWidget* widget) {
        QToolTip::hideText();
        QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(widget, &event);
        return QToolTip::isVisible();
    }

    QApplication& application = Application();
    ScratchDir scratch;
    QtWindowSystem system{std::chrono::milliseconds(0)};
    CMainDialog dialog;
    QtWindow window{system, dialog, nullptr};
    QtWindowHost& host = window.Host();
    QtListView* list = qobject_cast<QtListView*>(host.Control(kEntryList));
    Box shown;
};

// Measured once in the test font. Each edge rounds on its own, so equal heights may differ. Tab
// visits the fields and buttons in the order the template lists them, from the first.
TEST_F(QtMainWindowTest, ControlsStandAtTheirPixelsAndTabInTemplateOrder) {
    EXPECT_EQ(host.Control(kGenerate)->geometry(), QRect(404, 11, 88, 23));
    EXPECT_EQ(list->geometry(), QRect(12, 247, 384, 98));
    EXPECT_EQ(Edit(kTitle)->geometry(), QRect(105, 124, 285, 22));
    std::vector<int> stops, visited;
    for (const ControlTemplate& control : MainDialogTemplate().controls)
        if (control.id > 0 && control.kind != ControlKind::Label) stops.push_back(control.id);
    QWidget* widget = window.Widget().focusWidget();
    do {
        const int id = widget->objectName().toInt();
        if (id != 0 && (widget->focusPolicy() & Qt::TabFocus) != 0) visited.push_back(id);
    } while ((widget = widget->nextInFocusChain()) != window.Widget().focusWidget());
    EXPECT_EQ(visited, stops);
    EXPECT_EQ(window.Widget().windowTitle(), "Vistello: vistello.dat");
}

// Escape and the close box cancel; Enter in a field presses the default button, Quit, which
// takes the typed text in, and the project is written as the window goes.
TEST_F(QtMainWindowTest, EnterQuitsWithTheTypedTextAndEscapeOrTheCloseBoxCancel) {
    QTest::keyClick(Edit(kTitle), Qt::Key_Escape);
    EXPECT_EQ(host.Result(), IDCANCEL);
    window.Widget().show();
    window.Widget().close();
    EXPECT_EQ(host.Result(), IDCANCEL);
    window.Widget().show();
    Edit(kOutputFolder)->setText("typed");
    QTest::keyClick(Edit(kTitle), Qt::Key_Return);
    EXPECT_EQ(host.Result(), IDOK);
    window.Close();
    EXPECT_EQ(ReadBytes("vistello.dat"),
              "CREATOR=Vistello 1.0\r\nTEMPLATE=template.htm\r\nOUTPUT=typed\r\n");
}

// A screen reader names every control by what it is for, where its text alone does not say.
TEST_F(QtMainWindowTest, ScreenReadersHearWhatEachControlIsFor) {
    EXPECT_EQ(Edit(kTitle)->accessibleName(), "Image Title");
    EXPECT_EQ(Edit(kEntryCount)->accessibleName(), "Number of slides");
    EXPECT_EQ(host.Control(kBrowseTemplate)->accessibleName(), "Browse for the template");
    EXPECT_EQ(host.Control(kBrowseOutputFolder)->accessibleName(), "Browse for the output folder");
    EXPECT_EQ(host.Control(kBrowseImage)->accessibleName(), "Browse for the image");
}

// Errors come in a plain box. Generate writes the typed entries as linked pages.
TEST_F(QtMainWindowTest, TypedEntriesGenerateLinkedPages) {
    WriteBytes("template.htm", "<<IMAGETITLE>>\n<<BACK>><<NEXT>>");
    WriteMedia("a.jpg", "a");
    AnswerNextBox(Qt::Key_Return);
    Press(kAdd);
    EXPECT_EQ(shown, (Box{"Error", "Image Location is required.\nNo entry added.",
                          QMessageBox::NoIcon, QMessageBox::Ok}));
    AddEntry("Sun Set");
    AddEntry("Sea");
    AnswerNextBox(Qt::Key_Escape);
    Press(kGenerate);
    EXPECT_EQ(ReadBytes("sea.htm"), "Sea\r\n<a href=sun_set.htm>Next</a>");
    EXPECT_EQ(ReadBytes("sun_set.htm"), "Sun Set\r\n<a href=sea.htm>Back</a>");
}

// A click on a row loads it, one on empty space the row last selected; the second click of a
// double click is none of its own, but tells which row was double-clicked. A header click names
// its column for the table to sort by.
TEST_F(QtMainWindowTest, ClicksLoadRowsAndHeadersSort) {
    AddEntry("Sun Set");
    AddEntry("Sea");
    QSignalSpy clicks(list, &QtListView::rowsAreaClicked);
    QSignalSpy doubleClicks(list, &QtListView::rowDoubleClicked);
    const QPoint row = list->visualRect(list->model()->index(1, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, row);
    Edit(kTitle)->setText("typed");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, {5, list->viewport()->height() - 3});
    EXPECT_EQ(Edit(kTitle)->text(), "Sun Set");
    EXPECT_EQ(clicks.count(), 2);
    ASSERT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(doubleClicks.front().front().toInt(), 1);
    QTest::mouseClick(list->horizontalHeader()->viewport(), Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), "Sun Set");
}

// A field shows UTF-8 as the letters it spells, to the last one, and gives back long text that
// is not UTF-8 as it was given.
TEST_F(QtMainWindowTest, FieldsShowLettersAndKeepEveryByte) {
    host.SetText(kTitle, "Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8c\x85");
    EXPECT_EQ(Edit(kTitle)->text(), QString::fromUtf8("Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8c\x85"));
    const std::string bytes = "a\x80\xff\xfeZ\xc3" + std::string(40000, 'x');
    host.SetText(kDescription, bytes);
    EXPECT_EQ(host.GetText(kDescription), bytes);
}

// Questions carry the application's title, and Escape answers No.
TEST_F(QtMainWindowTest, ClearListAsksAndClearsOnlyOnYes) {
    AddEntry("Sea");
    AnswerNextBox(Qt::Key_Escape);
    Press(kClearList);
    EXPECT_EQ(shown, (Box{"vistello", "Are you sure that you want to clear list?",
                          QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No}));
    EXPECT_EQ(Edit(kEntryCount)->text(), "1");
    AnswerNextBox(Qt::Key_Return);
    Press(kClearList);
    EXPECT_EQ(Edit(kEntryCount)->text(), "0");
    // The keyboard is the window's again, with or without a window manager to hand it back.
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &window.Widget());
}

// Qt's checker aborts on any notification that breaks its model contract. The user's mark
// follows its row as rows arrive above it, keeps its place when rows are reordered and goes with
// its row. Fitting measures a few cells, the widest text among them wherever it is.
TEST_F(QtMainWindowTest, ListKeepsQtsModelContractTheMarkOnItsRowAndFitsTheWidestText) {
    EntryList& entries = dialog.Inside().slides;
    QAbstractItemModelTester tester(list->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    entries.InsertTop(std::vector<ImageEntry>{Entry("b"), Entry("a")});
    list->selectRow(1);
    entries.InsertTop(Entry("c"));
    entries.SortByColumn(0);
    entries.Reverse();
    entries.SetRow(1, Entry("d"));
    EXPECT_EQ(list->model()->index(1, 0).data().toString(), "d");
    EXPECT_EQ(dialog.Inside().shown.SelectionMark(), 2);
    entries.MoveRow(2, 0);
    entries.MoveRow(0, 1);
    EXPECT_EQ(dialog.Inside().shown.SelectionMark(), 1);
    entries.MoveRow(1, 2);
    entries.DeleteRow(2);
    EXPECT_EQ(dialog.Inside().shown.SelectionMark(), -1);
    entries.DeleteAll();

    list->resize(3000, 200);
    std::vector<ImageEntry> rows(100000, Entry("short"));
    rows[50000].title = std::string(120, 'W');
    entries.InsertTop(std::move(rows));
    dialog.Inside().shown.AutoSizeColumns();
    EXPECT_GE(list->ColumnWidth(0), list->fontMetrics().horizontalAdvance(QString(120, 'W')));
    int total = 0;
    for (int column = 0; column < list->ColumnCount(); ++column) total += list->ColumnWidth(column);
    EXPECT_EQ(total, list->viewport()->width());
}

// Tips show only while on, in the Preferences dialog too, where the box switches them at once
// and Enter keeps the choice.
TEST_F(QtMainWindowTest, ToolTipsSwitchedOffShowInNoWindow) {
    EXPECT_TRUE(ShowsTip(list));
    std::vector<bool> tips;
    OnNextModal([&](QWidget* modal) {
        auto* check = modal->findChild<QCheckBox*>(QString::number(kPrefToolTips));
        tips.push_back(ShowsTip(check));
        QTest::mouseClick(check, Qt::LeftButton);
        tips.push_back(ShowsTip(check));
        QTest::keyClick(modal, Qt::Key_Return);
    });
    Press(kPreferences);
    EXPECT_FALSE(ShowsTip(list));
    OnNextModal([&](QWidget* modal) {
        tips.push_back(ShowsTip(modal->findChild<QLineEdit*>(QString::number(kTitle))));
        QTest::keyClick(modal, Qt::Key_Return);
    });
    Press(kPreferences);
    EXPECT_EQ(tips, (std::vector<bool>{true, false, false}));
}

// Options > Web Images opens with the first field focused, named without its access-key marker,
// and tabs top to bottom, the check box and Browse included; Escape keeps the settings and Enter
// takes the typed ones.
TEST_F(QtMainWindowTest, WebImagesTabsTopToBottomAndEnterKeepsWhatWasTyped) {
    QAction* menuItem = nullptr;
    for (QAction* action : window.Widget().findChildren<QAction*>())
        if (action->text() == "&Web Images...") menuItem = action;
    ASSERT_NE(menuItem, nullptr);
    std::vector<int> visited;
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        OnNextModal([&](QWidget* web) {
            QWidget* widget = web->focusWidget();
            visited.clear();
            do {
                if ((widget->focusPolicy() & Qt::TabFocus) != 0)
                    visited.push_back(widget->objectName().toInt());
            } while ((widget = widget->nextInFocusChain()) != web->focusWidget());
            EXPECT_EQ(web->focusWidget()->accessibleName(), "Largest side (pixels)");
            QTest::keyClicks(web->focusWidget(), "1600");
            QTest::keyClick(web->focusWidget(), key);
        });
        menuItem->trigger();
        EXPECT_EQ(dialog.Inside().web.largestSide, key == Qt::Key_Escape ? 0 : 1600);
    }
    EXPECT_EQ(visited, (std::vector<int>{kWebLargestSide, kWebQuality, kWebThumbnailSide,
                                         kWebKeepDetails, kWebAvif, kWebOverview,
                                         kWebBrowseOverview, kWebSiteTitle, IDOK, IDCANCEL}));
}

// The ids of the controls Tab visits in the window, from the one with the focus.
std::vector<int> TabStops(QWidget* window) {
    std::vector<int> visited;
    QWidget* widget = window->focusWidget();
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0)
            visited.push_back(widget->objectName().toInt());
    } while ((widget = widget->nextInFocusChain()) != window->focusWidget());
    return visited;
}

// Alt+F, P opens File > Publish with the project's address in the focused field; Enter asks an
// FTP server's password for the site in the output folder in a masked field, Escape closes that
// and then the Publish window, and the project keeps the address Publish was pressed with.
TEST_F(QtMainWindowTest, PublishOpensFromTheFileMenuByKeysAndEscapeClosesIt) {
    FakePublishLink link;
    dialog.UsePublishLink(link, {}, QDir::current().filePath("published").toStdString());
    WriteBytes(".vistello-images", "");
    dialog.Inside().web.publish = "sftp://me@example.org/www";
    std::vector<int> publishStops, passwordStops;
    QString shownAddress;
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    OnNextModal([&](QWidget* publish) {
        publishStops = TabStops(publish);
        if (auto* field = qobject_cast<QLineEdit*>(publish->focusWidget()))
            shownAddress = field->text();
        OnNextModal(
            [&](QWidget* password) {
                passwordStops = TabStops(password);
                if (auto* field = qobject_cast<QLineEdit*>(password->focusWidget()))
                    echo = field->echoMode();
                QTest::keyClick(password->focusWidget(), Qt::Key_Escape);
                QTimer::singleShot(0, publish,
                                   [publish] { QTest::keyClick(publish, Qt::Key_Escape); });
            },
            publish);
        publish->findChild<QLineEdit*>(QString::number(kPublishAddress))
            ->setText("ftp://me@example.org/www");
        QTest::keyClick(publish->focusWidget(), Qt::Key_Return);
    });
    QApplication::setActiveWindow(&window.Widget());
    QTest::keyClick(&window.Widget(), Qt::Key_F, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_P);
    EXPECT_EQ(shownAddress, "sftp://me@example.org/www");
    EXPECT_EQ(publishStops, (std::vector<int>{kPublishAddress, kPublishTest, IDOK, IDCANCEL}));
    EXPECT_EQ(passwordStops,
              (std::vector<int>{kPasswordSecret, kPasswordRemember, IDOK, IDCANCEL}));
    EXPECT_EQ(echo, QLineEdit::Password);
    EXPECT_EQ(dialog.Inside().web.publish, "ftp://me@example.org/www");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Alt+E, M opens Make Album Private over the open project: the password fields mask what is
// typed and come first in the tab order; Enter after both presses OK and the keyring keeps it.
TEST_F(QtMainWindowTest, MakeAlbumPrivateOpensByKeysAndEnterKeepsThePassword) {
    FakePublishLink link;
    dialog.UsePublishLink(link, {}, QDir::current().filePath("published").toStdString());
    std::vector<int> stops;
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    OnNextModal([&](QWidget* password) {
        stops = TabStops(password);
        auto* field = qobject_cast<QLineEdit*>(password->focusWidget());
        ASSERT_NE(field, nullptr);
        echo = field->echoMode();
        QTest::keyClicks(field, "s3cret");
        QTest::keyClick(field, Qt::Key_Tab);
        QTest::keyClicks(password->focusWidget(), "s3cret");
        QTest::keyClick(password->focusWidget(), Qt::Key_Return);
    });
    QApplication::setActiveWindow(&window.Widget());
    QTest::keyClick(&window.Widget(), Qt::Key_E, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_M);
    EXPECT_EQ(stops, (std::vector<int>{kPrivatePassword, kPrivateAgain, kPrivateShowTitle, IDOK,
                                       IDCANCEL}));
    EXPECT_EQ(echo, QLineEdit::Password);
    ASSERT_EQ(link.keyring.secrets.size(), 1u);
    EXPECT_EQ(link.keyring.secrets.begin()->second, "\ns3cret");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Enter answers Yes to a question, but No to one whose Yes may do harm.
TEST_F(QtMainWindowTest, EnterAnswersNoWhereYesMayDoHarm) {
    std::vector<MsgAnswer> answers;
    for (const MsgButtons buttons : {MsgButtons::YesNo, MsgButtons::YesNoSafe}) {
        AnswerNextBox(Qt::Key_Return);
        answers.push_back(
            ShowMessageBox(&window.Widget(), "Trust?", "vistello", buttons, MsgIcon::Exclamation));
    }
    EXPECT_EQ(answers, (std::vector<MsgAnswer>{MsgAnswer::Yes, MsgAnswer::No}));
}

// The image picker lists a camera's capital-letter names, and Escape picks nothing; the project
// picker completes a typed name and replaces the file of that name only after a question.
TEST_F(QtMainWindowTest, PickersTakeATypedPath) {
    WriteBytes("IMG_0001.JPG", "x");
    WriteBytes("named.dat", "old");
    const QString image = QDir::current().absoluteFilePath("IMG_0001.JPG");
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        OnNextModal([&](QWidget* picker) {
            auto* files = picker->findChild<QAbstractItemView*>("listView");
            const auto first = [&] {
                return files->model()->index(0, 0, files->rootIndex()).data();
            };
            EXPECT_TRUE(QTest::qWaitFor([&] { return first() == "IMG_0001.JPG"; }));
            picker->findChild<QLineEdit*>("fileNameEdit")->setText(image);
            QTest::keyClick(picker, key);
        });
        Press(kBrowseImage);
        EXPECT_EQ(Edit(kImagePath)->text(), key == Qt::Key_Escape ? "" : image);
    }

    OnNextModal([&](QWidget* question) {
        OnNextModal([&](QWidget* picker) {
            AnswerNextBox(Qt::Key_Y);
            picker->findChild<QLineEdit*>("fileNameEdit")
                ->setText(QDir::current().absoluteFilePath("named"));
            QTest::keyClick(picker, Qt::Key_Return);
        });
        QTest::keyClick(question, Qt::Key_Return);
    });
    Press(kNewProject);
    EXPECT_EQ(std::get<1>(shown), "named.dat already exists.\nDo you want to replace it?");
    EXPECT_NE(ReadBytes("named.dat"), "old");
}

// Many tiny pages make a run long enough to show the progress. Any other window is closed, so a
// run that ends too soon fails rather than hangs.
TEST_F(QtMainWindowTest, ALongGenerateShowsThePageCountOverTheWindowAndCancelStopsIt) {
    WriteBytes("template.htm", "<<IMAGETITLE>>");
    WriteMedia("a.jpg", "a");
    std::vector<ImageEntry> rows;
    for (int i = 0; i < 3000; ++i) rows.push_back(Entry(std::to_string(i)));
    dialog.Inside().slides.InsertTop(std::move(rows));
    dialog.RefreshEntryCount();
    OnNextModal([&](QWidget* modal) {
        auto* progress = qobject_cast<QProgressDialog*>(modal);
        if (progress == nullptr) return (void)modal->close();
        EXPECT_EQ(progress->parentWidget(), &window.Widget());
        EXPECT_EQ(progress->windowModality(), Qt::WindowModal);
        EXPECT_EQ(progress->labelText().section(" of ", 1), "3,000");
        AnswerNextBox(Qt::Key_Return);
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    });
    Press(kGenerate);
    const QRegularExpression stopped(
        "^Generating stopped: [1-9][0-9,]* of 3,000 pages were written\\.$");
    EXPECT_TRUE(stopped.match(std::get<1>(shown)).hasMatch()) << std::get<1>(shown).toStdString();
}

// A clip under way shows which it is and how far it has come, and moves the bar while it runs; a
// run that counts otherwise shows its own line.
TEST_F(QtMainWindowTest, AClipUnderWayShowsHowFarItHasCome) {
    QtProgress progress(3, "Clip", &window.Widget(), std::chrono::milliseconds(0),
                        QStringLiteral("vistello"));
    QTest::qWait(30);
    EXPECT_TRUE(progress.StepWithin(1, 45));
    auto* bar = window.Widget().findChild<QProgressDialog*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->labelText(), QStringLiteral("Clip 2 of 3 (45%)"));
    EXPECT_GT(bar->value(), 100);
    QTest::qWait(30);
    EXPECT_TRUE(progress.StepWithText(2, "2 of 3 files, 1.0 of 1.5 MB"));
    EXPECT_EQ(bar->labelText(), QStringLiteral("2 of 3 files, 1.0 of 1.5 MB"));
}

// F1 works from any field, as Help > Manual does; documents open by their absolute path.
TEST_F(QtMainWindowTest, F1OpensTheManualAndDocumentsOpenByTheirAbsolutePath) {
    UrlRecorder recorder;
    QApplication::setActiveWindow(&window.Widget());
    QTest::keyClick(Edit(kTitle), Qt::Key_F1);
    system.OpenDocument("pages/first page.htm");
    EXPECT_EQ(recorder.opened, (QStringList{QString::fromStdString(system.ManualPath()),
                                            QDir::current().filePath("pages/first page.htm")}));
}

// Alt+Down moves the selected row and the selection with it; a row dragged onto the lower half
// of another lands after it, onto the upper half before it, and below the rows at the end; files
// dropped on the rows or anywhere on the window become slides.
TEST_F(QtMainWindowTest, RowsMoveByKeysAndDragAndFilesDropFromTheDesktop) {
    for (const char* title : {"c", "b", "a"}) AddEntry(title);
    const auto titles = [this] {
        QString all;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            all += list->model()->index(row, 0).data().toString();
        return all;
    };
    QApplication::setActiveWindow(&window.Widget());
    list->selectRow(0);
    QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(titles(), "bca");
    EXPECT_EQ(list->SelectionMark(), 2);

    std::unique_ptr<QMimeData> row(list->model()->mimeData({list->model()->index(2, 0)}));
    const QRect first = list->visualRect(list->model()->index(0, 0));
    EXPECT_EQ(DropOn(list->viewport(), {first.center().x(), first.bottom() - 1}, *row),
              Qt::CopyAction);
    EXPECT_EQ(titles(), "bac");
    const QRect last = list->visualRect(list->model()->index(2, 0));
    for (const int y : {last.top() + 1, list->viewport()->height() - 2}) {
        row.reset(list->model()->mimeData({list->model()->index(0, 0)}));
        DropOn(list->viewport(), {last.center().x(), y}, *row);
    }
    EXPECT_EQ(titles(), "bca");

    WriteMedia("x.jpg", "");
    WriteMedia("y.png", "");
    for (QWidget* target : {list->viewport(), static_cast<QWidget*>(&window.Widget())}) {
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(
            QDir::current().filePath(target == list->viewport() ? "x.jpg" : "y.png"))});
        AnswerNextBox(Qt::Key_Return);
        DropOn(target, {5, 5}, files);
        QTest::qWait(50);
    }
    EXPECT_EQ(titles(), "yxbca");
    EXPECT_EQ(std::get<0>(shown), "Dropped Images");
}

}  // namespace
}  // namespace vistello::testing

#include "main_window_test.moc"
