#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QDir>
#include <QLineEdit>
#include <QtTest/QtTest>

#include "platform/data_exchange.h"
#include "platform/dialog.h"
#include "qt/qt_window.h"
#include "qt/qt_window_host.h"
#include "qt/qt_window_system.h"
#include "qt_test_support.h"
#include "ui/dialog_templates.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

// Takes the title field in when the window goes, as a dialog that saves on exit does.
class TitleDialog : public CDialog {
public:
    TitleDialog() : CDialog(MainDialogTemplate()) {}
    void OnDestroy() override { UpdateData(true); }
    std::string title;

protected:
    void DoDataExchange(CDataExchange& dx) override { DDX_Text(dx, ids::kTitle, title); }
};

class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened << url; }
};

TEST(QtWindowSystemTest, RunModalEndsWithTheResultAndOnDestroySeesTheTypedText) {
    ScratchDirectory scratch;
    QtWindowSystem system;
    TitleDialog dialog;
    OnNextModal(nullptr, [](QWidget* modal) {
        auto* title = modal->findChild<QLineEdit*>(QString::number(ids::kTitle));
        QTest::keyClicks(title, "typed");
        QTest::keyClick(title, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(system), IDOK);
    EXPECT_EQ(dialog.title, "typed");
    EXPECT_EQ(system.AppTitle(), "vistello");
}

TEST(QtWindowSystemTest, DocumentsOpenAsAbsoluteFileUrlsAndUrlsAsGiven) {
    ScratchDirectory scratch;
    QtWindowSystem system;
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "Open");
    QDesktopServices::setUrlHandler("https", &recorder, "Open");
    system.OpenDocument("pages/first page.htm");
    system.OpenDocument("https://example.org/manual.htm");
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(recorder.opened.size(), 2);
    EXPECT_EQ(recorder.opened[0],
              QUrl::fromLocalFile(QDir::current().absoluteFilePath("pages/first page.htm")));
    EXPECT_EQ(recorder.opened[1], QUrl("https://example.org/manual.htm"));
}

// F1 works from anywhere in the main window, as Help > Manual does.
TEST(QtWindowSystemTest, F1OpensTheManualThatShipsWithTheProgram) {
    ScratchDirectory scratch;
    QtWindowSystem system;
    CMainDialog dialog;
    QtWindow window(system, dialog, nullptr);
    window.Show();
    QApplication::setActiveWindow(&window.Widget());
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "Open");
    QTest::keyClick(window.Host().Control(ids::kTitle), Qt::Key_F1);
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened[0].toLocalFile().toStdString(), system.ManualPath());
    EXPECT_TRUE(system.ManualPath().ends_with("/manual.html"));
}

}  // namespace
}  // namespace vistello::testing

#include "window_system_test.moc"
