#include "framework/window_system.h"
#include "ui/main_dialog.h"
#include "ui/publish_dialog.h"

namespace vistello {

// An album is published with its site, to the top project's address: Publish goes back up, as
// Generate does. The address a publish was started with is the project's from then on, kept as
// any other setting is, with the project.
void CMainDialog::OnPublish() {
    if (!CloseAlbumsToTop()) return;
    UpdateData(true);
    if (m_publishLink == nullptr) {
        MessageBox(
            "This copy of Vistello cannot publish: it was started without its network "
            "module.",
            "Publish");
        return;
    }
    CPublishDialog dialog(m_web.publish, *m_publishLink, Files(),
                          {m_strOutputFolder, m_publishMachine, m_manifestFolder},
                          m_keyringFailureTold);
    dialog.DoModal(System(), &Host());
    if (dialog.PublishedTo()) m_web.publish = *dialog.PublishedTo();
    UpdateData(false);
}

}  // namespace vistello
