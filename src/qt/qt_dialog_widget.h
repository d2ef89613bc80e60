#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

namespace vistello {

// The window of one dialog. Escape and the close box do not close it by themselves: they ask
// the dialog's logic, which ends the window through done() when it agrees.
class QtDialogWidget final : public QDialog {
public:
    QtDialogWidget(QWidget* parent, std::function<void()> onCancel);

    void reject() override;
    // Files dropped on the window are handed to onDrop once the drop is over.
    void AcceptFiles(std::function<void(std::vector<std::string>)> onDrop);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::function<void()> m_onCancel;
    std::function<void(std::vector<std::string>)> m_onDrop;
};

}  // namespace vistello
