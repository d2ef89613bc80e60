#include "qt/session_end.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QProgressDialog>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>

#include "files/leftovers.h"
#include "qt/qt_window.h"
#include "qt/qt_window_system.h"

namespace vistello {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
// Often enough that a logout does not wait on it, seldom enough that a run that is stopping
// spends nothing on it.
constexpr int kTickMs = 10;

int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_heard = 0;

// A second signal changes nothing: at a logout the session's manager sends HUP right after TERM,
// and only its later KILL may cut the closing short.
void NoteSignal(int signal) {
    const int error = errno;
    if (g_heard == 0) g_heard = signal;
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = error;
}

void CatchSignals() {
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

// A run's progress stops at its next step, shown or not yet.
void CancelRuns() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* progress = qobject_cast<QProgressDialog*>(window);
        if (progress != nullptr && !progress->wasCanceled()) progress->cancel();
    }
}

}  // namespace

SessionEnd::SessionEnd(QtWindowSystem& system) : m_system(system) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SessionEnd::Heard);
    CatchSignals();
}

// From here on a signal ends the program at once, as before the window opened.
SessionEnd::~SessionEnd() {
    if (m_notifier == nullptr) return;
    EndLeftoversOnSignals();
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void SessionEnd::Heard() {
    char bytes[64];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    if (m_ending) return;
    m_ending = true;
    CloseNext();
}

// One step a tick, each from a timer of its own, since a timer does not fire again inside the
// box or run its own step opened. It ticks until the program ends: a box may come before the
// main window runs, or after it has closed, while it writes what it keeps.
void SessionEnd::CloseNext() {
    QTimer::singleShot(kTickMs, this, &SessionEnd::CloseNext);
    CancelRuns();
    QtWindow* innermost = m_system.Innermost();
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && (innermost == nullptr || modal != &innermost->Widget())) {
        auto* box = qobject_cast<QDialog*>(modal);
        if (box != nullptr && qobject_cast<QProgressDialog*>(modal) == nullptr) box->reject();
        return;
    }
    if (innermost != nullptr) innermost->EndSession();
}

void EndAsSignalled() {
    const int signal = g_heard;
    if (signal == 0) return;
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace vistello
