#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "qt/app_icon.h"
#include "qt/qt_window.h"
#include "qt/qt_window_host.h"
#include "qt/qt_window_system.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace {

// Answers No to the question that ends Generate, so nothing opens a browser.
void DeclineNextQuestion() {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        poll->deleteLater();
        box->button(QMessageBox::No)->click();
    });
    poll->start(5);
}

}  // namespace

// For the screenshots in the README: opens the main window in the current folder, saves its
// picture, then presses Generate so that the show is there to be pictured too.
int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("Usage: vistello_window_shot OUTPUT.png\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setWindowIcon(vistello::AppIcon());
    vistello::QtWindowSystem system;
    vistello::CMainDialog dialog;
    vistello::QtWindow window(system, dialog, nullptr);
    window.Show();
    QApplication::processEvents();
    if (!window.Widget().grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "vistello_window_shot: cannot write %s\n", argv[1]);
        return 1;
    }
    DeclineNextQuestion();
    qobject_cast<QPushButton*>(window.Host().Control(vistello::ids::kGenerate))->click();
    window.Close();
    return 0;
}
