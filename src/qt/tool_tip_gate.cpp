#include "qt/tool_tip_gate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QToolTip>

namespace vistello {

ToolTipGate::ToolTipGate() {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
    }
}

void ToolTipGate::SetEnabled(bool on) {
    m_enabled = on;
    if (!on) QToolTip::hideText();
}

bool ToolTipGate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !m_enabled) return true;
    return QObject::eventFilter(watched, event);
}

}  // namespace vistello
