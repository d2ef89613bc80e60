#pragma once

#include <gtest/gtest.h>

#include <QtWidgets/QtWidgets>

namespace vistello::testing {

// One headless application for the whole program, in a fixed font since layouts are checked in
// pixels. A runtime folder of its own keeps Qt from warning when the session has none. Qt's
// warnings fail the test that caused them, but for the headless platform's notes that it has no
// window manager to pass size hints or raising on to.
inline QApplication& Application() {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("vistello_qt_tests"), nullptr};
    static QTemporaryDir runtime;
    static QApplication* application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg && type != QtInfoMsg && !text.startsWith("This plugin does not"))
                ADD_FAILURE() << "Qt said: " << text.toStdString();
        });
        auto* created = new QApplication(argc, argv);
        QApplication::setFont(QFont("DejaVu Sans"));
        return created;
    }();
    return *application;
}

}  // namespace vistello::testing
