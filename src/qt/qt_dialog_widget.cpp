#include "qt/qt_dialog_widget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <utility>

#include "qt/dropped_paths.h"

namespace vistello {

QtDialogWidget::QtDialogWidget(QWidget* parent, std::function<void()> onCancel)
    : QDialog(parent), m_onCancel(std::move(onCancel)) {}

void QtDialogWidget::reject() { m_onCancel(); }

void QtDialogWidget::AcceptFiles(std::function<void(std::vector<std::string>)> onDrop) {
    m_onDrop = std::move(onDrop);
    setAcceptDrops(true);
}

void QtDialogWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (CarriesLocalFiles(*event->mimeData())) event->acceptProposedAction();
}

// The file manager waits until the drop returns, so whatever boxes the drop shows come after.
void QtDialogWidget::dropEvent(QDropEvent* event) {
    if (!CarriesLocalFiles(*event->mimeData())) return;
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        this, [this, paths = LocalPaths(*event->mimeData())] { m_onDrop(paths); },
        Qt::QueuedConnection);
}

}  // namespace vistello
