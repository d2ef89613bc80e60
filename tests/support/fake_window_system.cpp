#include "support/fake_window_system.h"

#include <filesystem>

namespace vistello::testing {

namespace {

// The next scripted answer, if any is left.
template <typename T>
std::optional<T> Next(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

// Runs every command to its end, unless the user is to cancel.
class FakeProgress : public Progress {
public:
    explicit FakeProgress(bool cancel) : m_cancel(cancel) {}
    bool Step(int) override { return !m_cancel; }

private:
    bool m_cancel;
};

}  // namespace

std::string FakeWindow::GetText(int id) const {
    const auto it = m_texts.find(id);
    return it != m_texts.end() ? it->second : std::string();
}

MsgAnswer FakeWindow::MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon icon) {
    m_system.boxes.push_back({text, caption, buttons, icon});
    return Next(m_system.answers)
        .value_or(buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No);
}

std::optional<std::string> FakeWindow::Pick() {
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    return Next(m_system.pickerAnswers).value_or(std::nullopt);
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
    if (const std::optional<DialogScript> script = Next(dialogScripts)) (*script)(window);
    if (!window.Result()) window.Press(IDCANCEL);
    window.Destroy();
    return window.Result().value_or(IDCANCEL);
}

std::unique_ptr<Progress> FakeWindowSystem::StartProgress(int, const std::string&, WindowHost*) {
    return std::make_unique<FakeProgress>(cancelProgress);
}

}  // namespace vistello::testing
