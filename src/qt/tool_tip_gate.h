#pragma once

#include <QObject>

class QWidget;

namespace vistello {

// Lets the tips of the widgets it guards show only while tool tips are switched on.
class ToolTipGate final : public QObject {
public:
    explicit ToolTipGate(QObject* parent) : QObject(parent) {}

    void Guard(QWidget* widget);
    void SetEnabled(bool on) { m_enabled = on; }
    bool Enabled() const { return m_enabled; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_enabled = true;
};

}  // namespace vistello
