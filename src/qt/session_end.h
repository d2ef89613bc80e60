#pragma once

#include <QObject>

class QSocketNotifier;

namespace vistello {

class QtWindowSystem;

// While it lives, TERM, HUP and INT (a shutdown, a logout, kill, Ctrl+C) close the windows as the
// user would, innermost first, so that what closing writes is written: a run's progress is
// cancelled, a box is answered as Escape answers it, a dialog closes as its OnEndSession says and
// the main window as Quit. The handler only notes the signal; the windows close from the event
// loop, also from a box's or a run's own.
class SessionEnd final : public QObject {
public:
    explicit SessionEnd(QtWindowSystem& system);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    void Heard();
    void CloseNext();

    QtWindowSystem& m_system;
    QSocketNotifier* m_notifier = nullptr;
    bool m_ending = false;
};

// Once the windows have closed and written what they keep, ends the program as the signal that
// ended the session would have, so that whoever sent it sees it obeyed; returns when none came.
void EndAsSignalled();

}  // namespace vistello
