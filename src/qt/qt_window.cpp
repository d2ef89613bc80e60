#include "qt/qt_window.h"

#include <QDialog>

#include "qt/qt_window_host.h"

namespace vistello {

namespace {

QWidget* OwnerWidget(WindowHost* owner) {
    auto* host = dynamic_cast<QtWindowHost*>(owner);
    return host != nullptr ? &host->Widget() : nullptr;
}

}  // namespace

QtWindow::QtWindow(WindowSystem& system, CDialog& dialog, WindowHost* owner)
    : m_dialog(dialog), m_host(std::make_unique<QtWindowHost>(dialog, OwnerWidget(owner))) {
    m_dialog.Attach(m_host.get(), &system);
    m_dialog.OnInitDialog();
}

QtWindow::~QtWindow() { Close(); }

void QtWindow::Show() {
    if (!m_host->Ended()) Widget().show();
}

// A dialog that ended while it was being initialised never shows.
int QtWindow::Exec() {
    if (m_host->Ended()) return m_host->Result();
    return Widget().exec();
}

void QtWindow::Close() {
    if (m_closed) return;
    m_closed = true;
    Widget().hide();
    m_dialog.OnDestroy();
    m_dialog.Detach();
    m_host.reset();
}

void QtWindow::EndSession() {
    if (!m_closed && !m_host->Ended()) m_dialog.EndSession();
}

QDialog& QtWindow::Widget() const { return m_host->Widget(); }

}  // namespace vistello
