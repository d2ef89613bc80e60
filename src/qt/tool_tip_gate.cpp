#include "qt/tool_tip_gate.h"

#include <QEvent>
#include <QWidget>

namespace vistello {

void ToolTipGate::Guard(QWidget* widget) { widget->installEventFilter(this); }

bool ToolTipGate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !m_enabled) return true;
    return QObject::eventFilter(watched, event);
}

}  // namespace vistello
