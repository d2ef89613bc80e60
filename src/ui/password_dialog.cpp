#include "ui/password_dialog.h"

#include <utility>

#include "framework/data_exchange.h"
#include "framework/window_host.h"
#include "ui/dialog_templates.h"
#include "ui/resource_ids.h"

namespace vistello {

CPasswordDialog::CPasswordDialog(std::string prompt, bool withAccessKey)
    : CDialog(PasswordDialogTemplate(withAccessKey)),
      m_prompt(std::move(prompt)),
      m_withAccessKey(withAccessKey) {}

bool CPasswordDialog::OnInitDialog() {
    Host().SetText(ids::kPasswordPrompt, m_prompt);
    return CDialog::OnInitDialog();
}

void CPasswordDialog::DoDataExchange(CDataExchange& dx) {
    if (m_withAccessKey) DDX_Text(dx, ids::kPasswordAccessKey, m_accessKey);
    DDX_Text(dx, ids::kPasswordSecret, m_secret);
    DDX_Check(dx, ids::kPasswordRemember, m_remember);
}

}  // namespace vistello
