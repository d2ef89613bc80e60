#pragma once

#include <QDialog>
#include <functional>

namespace vistello {

// The window of one dialog. Escape and the close box do not close it by themselves: they ask
// the dialog's logic, which ends the window through done() when it agrees.
class QtDialogWidget final : public QDialog {
public:
    QtDialogWidget(QWidget* parent, std::function<void()> onCancel);

    void reject() override;

private:
    std::function<void()> m_onCancel;
};

}  // namespace vistello
