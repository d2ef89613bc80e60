#pragma once

#include <QDialog>
#include <memory>
#include <unordered_map>
#include <vector>

#include "framework/dialog.h"
#include "framework/window_host.h"

class QMenuBar;

namespace vistello {

class QtDialogWidget;

// One dialog's real window, built from its template: the controls at their places, the menu
// above them, and every button, menu item and list notification routed to the dialog.
class QtWindowHost final : public WindowHost {
public:
    // With an owner the window is modal over that window only.
    QtWindowHost(CDialog& dialog, QWidget* owner);
    ~QtWindowHost() override;
    QtWindowHost(const QtWindowHost&) = delete;
    QtWindowHost& operator=(const QtWindowHost&) = delete;

    std::string GetText(int id) const override;
    void SetText(int id, const std::string& text) override;
    bool GetCheck(int id) const override;
    void SetCheck(int id, bool checked) override;
    ListView* List(int id) override;

    void SetCaption(const std::string& caption) override;
    MsgAnswer MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon) override;
    void EndDialog(int result) override;
    std::optional<std::string> PickSaveFile(const FilePickerOptions& options) override;
    std::optional<std::string> PickOpenFile(const FilePickerOptions& options) override;
    std::optional<std::string> PickFolder(const std::string& title,
                                          const std::string& folder) override;

    QDialog& Widget() const;
    QWidget* Control(int id) const;
    bool Ended() const { return m_ended; }
    int Result() const { return m_result; }

private:
    QMenuBar* BuildMenu(const DialogTemplate& dialogTemplate);
    QWidget* BuildClientArea(const DialogTemplate& dialogTemplate);
    void Route(int id, QWidget* control);
    static void ChainTabOrder(const std::vector<QWidget*>& controls);
    void NameFields(const std::vector<std::pair<int, QWidget*>>& labels);

    CDialog& m_dialog;
    std::unique_ptr<QtDialogWidget> m_widget;
    std::unordered_map<int, QWidget*> m_controls;
    bool m_ended = false;
    int m_result = 0;
};

}  // namespace vistello
