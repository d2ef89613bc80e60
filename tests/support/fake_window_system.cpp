#include "support/fake_window_system.h"

#include <filesystem>

namespace vistello::testing {

std::string FakeWindow::GetText(int id) const {
    const auto it = m_texts.find(id);
    return it != m_texts.end() ? it->second : std::string();
}

MsgAnswer FakeWindow::MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon icon) {
    m_system.boxes.push_back({text, caption, buttons, icon});
    if (m_system.answers.empty()) return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    const MsgAnswer answer = m_system.answers.front();
    m_system.answers.pop_front();
    return answer;
}

std::optional<std::string> FakeWindow::Pick() {
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    if (m_system.pickerAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = m_system.pickerAnswers.front();
    m_system.pickerAnswers.pop_front();
    return answer;
}

FakeWindow::FakeWindow(FakeWindowSystem& system, CDialog& dialog)
    : m_system(system), m_dialog(dialog) {
    m_dialog.Attach(this, &system);
    m_dialog.OnInitDialog();
}

void FakeWindow::ClickRow(int listId, int row) {
    if (row >= 0) List(listId)->SetSelectionMark(row);
    m_dialog.OnNotify(listId, {NotifyCode::Click, -1});
}

void FakeWindow::ClickHeader(int listId, int column) {
    m_dialog.OnNotify(listId, {NotifyCode::ColumnClick, column});
}

void FakeWindow::Destroy() {
    if (m_destroyed) return;
    m_destroyed = true;
    m_dialog.OnDestroy();
    m_dialog.Detach();
}

MsgAnswer FakeWindowSystem::OwnerlessMessageBox(const std::string& text, const std::string& caption,
                                                MsgButtons buttons, MsgIcon icon) {
    boxes.push_back({text, caption, buttons, icon});
    return MsgAnswer::Ok;
}

int FakeWindowSystem::RunModal(CDialog& dialog, WindowHost*) {
    FakeWindow window(*this, dialog);
    if (!dialogScripts.empty()) {
        const DialogScript script = std::move(dialogScripts.front());
        dialogScripts.pop_front();
        script(window);
    }
    if (!window.Result()) window.Press(IDCANCEL);
    window.Destroy();
    return window.Result().value_or(IDCANCEL);
}

// Runs every command to its end.
class FakeProgress : public Progress {
public:
    bool Step(int) override { return true; }
};

std::unique_ptr<Progress> FakeWindowSystem::StartProgress(int, WindowHost*) {
    return std::make_unique<FakeProgress>();
}

}  // namespace vistello::testing
