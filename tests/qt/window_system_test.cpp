#include <QtTest/QtTest>
#include <QtWidgets/QtWidgets>

#include "platform/data_exchange.h"
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

// Records what the desktop is asked to open, for as long as it lives.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    UrlRecorder() {
        for (const char* scheme : {"file", "https"})
            QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
    ~UrlRecorder() override {
        for (const char* scheme : {"file", "https"}) QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened << url; }
};

class QtWindowSystemTest : public ::testing::Test {
protected:
    ScratchDirectory scratch;
    QtWindowSystem system;
};

TEST_F(QtWindowSystemTest, RunModalEndsWithTheResultAndOnDestroySeesTheTypedText) {
    TitleDialog dialog;
    OnNextModal(nullptr, [](QWidget* modal) {
        auto* title = modal->findChild<QLineEdit*>(QString::number(ids::kTitle));
        QTest::keyClicks(title, "typed");
        QTest::keyClick(title, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(system), IDOK);
    EXPECT_EQ(dialog.title, "typed");
}

TEST_F(QtWindowSystemTest, DocumentsOpenAsAbsoluteFileUrlsAndUrlsAsGiven) {
    UrlRecorder recorder;
    system.OpenDocument("pages/first page.htm");
    system.OpenDocument("https://example.org/manual.htm");
    EXPECT_EQ(
        recorder.opened,
        (QList<QUrl>{QUrl::fromLocalFile(QDir::current().absoluteFilePath("pages/first page.htm")),
                     QUrl("https://example.org/manual.htm")}));
}

// F1 works from anywhere in the main window, as Help > Manual does.
TEST_F(QtWindowSystemTest, F1OpensTheManualThatShipsWithTheProgram) {
    CMainDialog dialog;
    QtWindow window(system, dialog, nullptr);
    window.Show();
    QApplication::setActiveWindow(&window.Widget());
    UrlRecorder recorder;
    QTest::keyClick(window.Host().Control(ids::kTitle), Qt::Key_F1);
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened[0].toLocalFile().toStdString(), system.ManualPath());
    EXPECT_TRUE(system.ManualPath().ends_with("/manual.html"));
}

}  // namespace
}  // namespace vistello::testing

#include "window_system_test.moc"
