#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>
#include <chrono>
#include <string>

#include "framework/progress.h"

namespace vistello {

// A run's count of pages or photos in a progress dialog with a Cancel button, window-modal over its
// owner and shown once the run has taken `delay`. Events are processed as the run goes, a few dozen
// times a second, so that every window keeps painting; before the dialog shows, the user's input
// waits, so the owner cannot be edited under the run.
class QtProgress final : public Progress {
public:
    QtProgress(int total, const std::string& unit, QWidget* owner, std::chrono::milliseconds delay,
               const QString& title);

    bool Step(int done) override;
    bool StepWithin(int done, int percent) override;
    bool StepWithText(int done, const std::string& line) override;

private:
    bool Show(int done, int percent, const QString& label);

    QProgressDialog m_dialog;
    QElapsedTimer m_sinceRefresh;
    std::string m_unit;
    int m_total;
};

}  // namespace vistello
