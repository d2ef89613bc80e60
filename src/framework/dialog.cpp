#include "framework/dialog.h"

#include <exception>
#include <memory>

#include "framework/data_exchange.h"
#include "framework/window_host.h"
#include "framework/window_system.h"

namespace vistello {

namespace {

long long NotifyKey(int id, NotifyCode code) {
    return (static_cast<long long>(id) << 8) | static_cast<long long>(code);
}

}  // namespace

CDialog::CDialog(const DialogTemplate& dialogTemplate) : m_template(dialogTemplate) {}

CDialog::~CDialog() = default;

int CDialog::DoModal(WindowSystem& system, WindowHost* owner) {
    return system.RunModal(*this, owner);
}

void CDialog::Attach(WindowHost* host, WindowSystem* system) {
    m_host = host;
    m_system = system;
}

void CDialog::Detach() { m_host = nullptr; }

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnCommand(int id) {
    Handle([&] {
        if (auto it = m_commands.find(id); it != m_commands.end()) {
            it->second();
        } else if (id == IDOK) {
            OnOK();
        } else if (id == IDCANCEL) {
            OnCancel();
        }
    });
}

int CDialog::OnNotify(int id, const Notification& notification) {
    int result = 0;
    Handle([&] {
        if (auto it = m_notifications.find(NotifyKey(id, notification.code));
            it != m_notifications.end()) {
            result = it->second(notification);
        }
    });
    return result;
}

void CDialog::DropFiles(const std::vector<std::string>& paths, int at) {
    if (m_handling) {
        m_heldDrops.push_back({paths, at});
        return;
    }
    Handle([&] { OnDropFiles(paths, at); });
}

void CDialog::EndSession() {
    Handle([&] { OnEndSession(); });
}

bool CDialog::UpdateData(bool saveAndValidate) {
    if (m_host == nullptr) return false;
    CDataExchange dx(*this, *m_host, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void CDialog::DoDataExchange(CDataExchange&) {}

void CDialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) {
    if (m_host != nullptr) m_host->EndDialog(result);
}

void CDialog::MessageBox(const std::string& text, const std::string& caption) {
    m_host->MessageBox(text, caption, MsgButtons::Ok, MsgIcon::None);
}

MsgAnswer CDialog::AfxMessageBox(const std::string& text, MsgButtons buttons) {
    return m_host->MessageBox(text, m_system->AppTitle(), buttons, MsgIcon::Exclamation);
}

void CDialog::MapCommand(int id, std::function<void()> handler) {
    m_commands[id] = std::move(handler);
}

void CDialog::MapNotify(int id, NotifyCode code, std::function<int(const Notification&)> handler) {
    m_notifications[NotifyKey(id, code)] = std::move(handler);
}

void CDialog::Handle(const std::function<void()>& action) {
    if (m_handling) return;
    m_handling = true;
    const std::unique_ptr<bool, void (*)(bool*)> done(&m_handling,
                                                      [](bool* flag) { *flag = false; });
    Guarded(action);
    while (!m_heldDrops.empty()) {
        const HeldDrop drop = std::move(m_heldDrops.front());
        m_heldDrops.erase(m_heldDrops.begin());
        Guarded([&] { OnDropFiles(drop.paths, drop.at); });
    }
    Guarded([this] { OnHandled(); });
}

// A handler that runs out of memory or meets a library failure must not take the window down;
// the user sees what went wrong and the state stays as the handler left it.
void CDialog::Guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        if (m_host != nullptr) MessageBox(e.what(), "Error");
    }
}

}  // namespace vistello
