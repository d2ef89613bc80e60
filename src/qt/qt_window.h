#pragma once

#include <memory>

#include "framework/dialog.h"

class QDialog;
class QWidget;

namespace vistello {

class QtWindowHost;
class WindowSystem;

// A dialog's open window: built and initialised on construction, torn down on Close() with the
// dialog's OnDestroy running while the controls still hold their values. Show() opens it without
// a modal loop, which lets tests drive the real window.
class QtWindow {
public:
    QtWindow(WindowSystem& system, CDialog& dialog, WindowHost* owner);
    ~QtWindow();
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

    void Show();
    // Runs the modal loop until the dialog ends; returns its result.
    int Exec();
    void Close();
    // Asks the dialog to close as the session ends, unless its window has ended already.
    void EndSession();

    QtWindowHost& Host() const { return *m_host; }
    QDialog& Widget() const;

private:
    CDialog& m_dialog;
    std::unique_ptr<QtWindowHost> m_host;
    bool m_closed = false;
};

}  // namespace vistello
