#include "ui/album_secrets.h"

#include <utility>

#include "framework/window_host.h"
#include "site/album_keyring.h"
#include "text/visible_controls.h"
#include "ui/password_dialog.h"

namespace vistello {

WindowAlbumSecrets::WindowAlbumSecrets(WindowSystem& system, WindowHost& owner, Keyring* keyring,
                                       bool& keyringFailureTold)
    : m_system(system),
      m_owner(owner),
      m_keyring(keyring),
      m_keyringFailureTold(keyringFailureTold) {}

std::optional<AlbumSecret> WindowAlbumSecrets::For(const std::string& projectFile,
                                                   const std::string& title) {
    const std::string key = AlbumKeyringKey(projectFile);
    const std::string shown = "“" + WithVisibleControls(title) + "”";
    const std::string label = "Vistello: private album " + shown;
    if (m_keyring != nullptr) {
        const std::optional<std::string> held = m_keyring->Find(key);
        if (std::optional<AlbumSecret> secret =
                held ? ParseAlbumKeyringText(*held) : std::nullopt) {
            m_keeping[key] = {label, *held};
            return secret;
        }
    }
    CPasswordDialog dialog("Password for the private album " + shown + ":", false);
    if (dialog.DoModal(m_system, &m_owner) != IDOK || dialog.m_secret.empty()) return std::nullopt;
    if (dialog.m_remember) {
        m_keeping[key] = {label, ""};
    } else if (m_keyring != nullptr) {
        m_keyring->Forget(key);
    }
    return AlbumSecret{"", dialog.m_secret};
}

// A keyring that cannot keep it is named once; the album was made all the same.
void WindowAlbumSecrets::Kept(const std::string& projectFile, const AlbumSecret& secret) {
    const auto keeping = m_keeping.find(AlbumKeyringKey(projectFile));
    const std::string text = AlbumKeyringText(secret);
    if (m_keyring == nullptr || keeping == m_keeping.end() || keeping->second.held == text) return;
    std::string failure;
    if (m_keyring->Keep(keeping->first, keeping->second.label, text, failure)) {
        keeping->second.held = text;
        return;
    }
    if (std::exchange(m_keyringFailureTold, true)) return;
    m_owner.MessageBox("The keyring could not keep the album's password: " + failure +
                           "\r\nGenerate will ask for it again.",
                       "Generate", MsgButtons::Ok, MsgIcon::None);
}

}  // namespace vistello
