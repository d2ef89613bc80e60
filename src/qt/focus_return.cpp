#include "qt/focus_return.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace vistello {

FocusReturn::FocusReturn() {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
    }
}

bool FocusReturn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Hide || !watched->isWidgetType()) return false;
    const auto* closed = static_cast<QWidget*>(watched);
    // Menus and tips are popups: the window they belong to never lost the keyboard.
    const Qt::WindowType type = closed->windowType();
    if (!closed->isWindow() || (type != Qt::Dialog && type != Qt::Window)) return false;
    QWidget* parent = closed->parentWidget();
    if (parent != nullptr && parent->window()->isVisible()) parent->window()->activateWindow();
    return false;
}

}  // namespace vistello
