#include "qt/qt_dialog_widget.h"

#include <utility>

namespace vistello {

QtDialogWidget::QtDialogWidget(QWidget* parent, std::function<void()> onCancel)
    : QDialog(parent), m_onCancel(std::move(onCancel)) {}

void QtDialogWidget::reject() { m_onCancel(); }

}  // namespace vistello
