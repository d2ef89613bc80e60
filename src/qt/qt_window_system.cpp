#include "qt/qt_window_system.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "qt/qstring_bytes.h"
#include "qt/qt_message_box.h"
#include "qt/qt_pictures_window.h"
#include "qt/qt_progress.h"
#include "qt/qt_window.h"
#include "qt/qt_window_host.h"

namespace vistello {

namespace {

// A file name may hold a colon ("a:b.htm"), which reads as a one-letter scheme: only a longer
// scheme makes a URL.
QUrl DocumentUrl(const QString& target) {
    const QUrl url(target);
    if (url.scheme().size() > 1) return url;
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

}  // namespace

int QtWindowSystem::RunModal(CDialog& dialog, WindowHost* owner) {
    QtWindow window(*this, dialog, owner);
    m_open.push_back(&window);
    const int result = window.Exec();
    window.Close();
    m_open.pop_back();
    return result;
}

void QtWindowSystem::OpenDocument(const std::string& target) {
    QDesktopServices::openUrl(DocumentUrl(ToQString(target)));
}

// The executable's name, whatever the process was started as.
std::string QtWindowSystem::AppTitle() const { return "vistello"; }

// Beside the program in the build tree; under share/doc once installed.
std::string QtWindowSystem::ManualPath() const {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString built = programFolder.absoluteFilePath(QStringLiteral("docs/manual.html"));
    const QString installed = QDir::cleanPath(
        programFolder.absoluteFilePath(QStringLiteral("../share/doc/vistello/manual.html")));
    return ToBytes(QFileInfo::exists(built) ? built : installed);
}

MsgAnswer QtWindowSystem::OwnerlessMessageBox(const std::string& text, const std::string& caption,
                                              MsgButtons buttons, MsgIcon icon) {
    return ShowMessageBox(nullptr, text, caption, buttons, icon);
}

std::unique_ptr<PicturesWindow> QtWindowSystem::OpenPicturesWindow(
    CDialog& dialog, WindowHost* owner, const PicturesWindowSetup& setup) {
    auto* host = dynamic_cast<QtWindowHost*>(owner);
    return std::make_unique<QtPicturesWindow>(dialog, host != nullptr ? &host->Widget() : nullptr,
                                              setup);
}

std::unique_ptr<Progress> QtWindowSystem::StartProgress(int total, const std::string& unit,
                                                        WindowHost* owner) {
    auto* host = dynamic_cast<QtWindowHost*>(owner);
    return std::make_unique<QtProgress>(total, unit, host != nullptr ? &host->Widget() : nullptr,
                                        m_progressDelay, ToQString(AppTitle()));
}

}  // namespace vistello
