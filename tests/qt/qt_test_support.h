#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>

namespace vistello::testing {

// Qt's warnings fail the test that caused them, except the headless platform's notes that it has
// no window manager to pass size hints or raising on to.
inline void FailOnQtWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
    ADD_FAILURE() << "Qt said: " << message.toStdString();
}

// One application for the whole test program, headless unless told otherwise.
inline QApplication& EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "vistello_qt_tests";
    static char* argv[] = {name, nullptr};
    static QTemporaryDir runtimeDir;
    static QApplication* application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            QFile::setPermissions(runtimeDir.path(), QFileDevice::ReadOwner |
                                                         QFileDevice::WriteOwner |
                                                         QFileDevice::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
        }
        qInstallMessageHandler(FailOnQtWarnings);
        return new QApplication(argc, argv);
    }();
    return *application;
}

// The main window reads and writes its files in the current directory: give it a fresh one.
class ScratchDirectory {
public:
    ScratchDirectory() : m_previous(std::filesystem::current_path()) {
        EnsureQtApplication();
        std::filesystem::current_path(m_dir.path().toStdString());
    }
    ~ScratchDirectory() { std::filesystem::current_path(m_previous); }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

private:
    std::filesystem::path m_previous;
    QTemporaryDir m_dir;
};

// Runs action on the next modal window once it is open, from inside its modal loop. The poll
// belongs to owner, or to the application when there is none.
inline void OnNextModal(QWidget* owner, std::function<void(QWidget*)> action) {
    auto* poll = owner != nullptr ? new QTimer(owner) : new QTimer(&EnsureQtApplication());
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        action(modal);
    });
    poll->start();
}

}  // namespace vistello::testing
