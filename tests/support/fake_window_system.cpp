#include "support/fake_window_system.h"

#include <filesystem>

namespace vistello::testing {

std::string FakeWindowHost::GetText(int id) const {
    const auto it = m_texts.find(id);
    return it != m_texts.end() ? it->second : std::string();
}

bool FakeWindowHost::GetCheck(int id) const {
    const auto it = m_checks.find(id);
    return it != m_checks.end() && it->second;
}

MsgAnswer FakeWindowHost::MessageBox(const std::string& text, const std::string& caption,
                                     MsgButtons buttons, MsgIcon icon) {
    m_system.boxes.push_back({text, caption, buttons, icon});
    if (!m_system.answers.empty()) {
        const MsgAnswer answer = m_system.answers.front();
        m_system.answers.pop_front();
        return answer;
    }
    return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
}

std::optional<std::string> FakeWindowHost::PickFolder(const std::string& title,
                                                      const std::string& folder) {
    FilePickerOptions options;
    options.title = title;
    options.folder = folder;
    return Pick(PickerKind::Folder, options);
}

std::optional<std::string> FakeWindowHost::Pick(PickerKind kind, const FilePickerOptions& options) {
    m_system.pickers.push_back({kind, options});
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::optional<std::string> answer;
    if (!m_system.pickerAnswers.empty()) {
        answer = m_system.pickerAnswers.front();
        m_system.pickerAnswers.pop_front();
    }
    return answer;
}

void FakeWindowHost::EndDialog(int result) {
    m_ended = true;
    m_result = result;
}

FakeWindow::FakeWindow(FakeWindowSystem& system, CDialog& dialog, WindowHost*)
    : m_system(system), m_dialog(dialog), m_host(system) {
    m_dialog.Attach(&m_host, &m_system);
    m_dialog.OnInitDialog();
}

FakeWindow::~FakeWindow() { Destroy(); }

void FakeWindow::ClickRow(int listId, int row) {
    if (row >= 0) List(listId).SetSelectionMark(row);
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

int FakeWindowSystem::RunModal(CDialog& dialog, WindowHost* owner) {
    modalTemplates.push_back(dialog.Template().id);
    FakeWindow window(*this, dialog, owner);
    if (!dialogScripts.empty()) {
        const DialogScript script = std::move(dialogScripts.front());
        dialogScripts.pop_front();
        script(window);
    }
    if (!window.Ended()) window.Press(IDCANCEL);
    const int result = window.Result();
    window.Destroy();
    return result;
}

// The real dialog stays cancelled once pressed.
bool FakeProgress::Step(int done) {
    m_system.progressSteps.push_back(done);
    if (m_system.cancelAtStep && done >= *m_system.cancelAtStep) m_cancelled = true;
    return !m_cancelled;
}

std::unique_ptr<Progress> FakeWindowSystem::StartProgress(int total, WindowHost*) {
    progressTotals.push_back(total);
    return std::make_unique<FakeProgress>(*this);
}

}  // namespace vistello::testing
