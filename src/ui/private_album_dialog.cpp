#include "ui/private_album_dialog.h"

#include <utility>

#include "framework/data_exchange.h"
#include "framework/window_host.h"
#include "ui/dialog_templates.h"
#include "ui/resource_ids.h"

namespace vistello {

namespace {

constexpr const char* kCaption = "Make Album Private";

}  // namespace

CPrivateAlbumDialog::CPrivateAlbumDialog(std::string prompt)
    : CDialog(PrivateAlbumDialogTemplate()), m_prompt(std::move(prompt)) {}

bool CPrivateAlbumDialog::OnInitDialog() {
    Host().SetText(ids::kPrivatePrompt, m_prompt);
    return CDialog::OnInitDialog();
}

void CPrivateAlbumDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, ids::kPrivatePassword, m_password);
    DDX_Text(dx, ids::kPrivateAgain, m_again);
    DDX_Check(dx, ids::kPrivateShowTitle, m_showTitle);
    if (!dx.Saving() || dx.Failed()) return;
    if (m_password.empty()) {
        dx.Fail();
        dx.Dialog().MessageBox("Type a password: an album cannot be locked without one.", kCaption);
    } else if (m_again != m_password) {
        dx.Fail();
        dx.Dialog().MessageBox(
            "The two passwords differ. Type the same password in Password and in Again.", kCaption);
    }
}

}  // namespace vistello
