#pragma once

#include <QObject>

namespace vistello {

// Lets tips show, in every window of the application, only while tool tips are switched on.
class ToolTipGate final : public QObject {
public:
    ToolTipGate();

    // Switching off also hides a tip that is up.
    void SetEnabled(bool on);
    bool Enabled() const { return m_enabled; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_enabled = true;
};

}  // namespace vistello
