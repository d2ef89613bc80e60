#include "framework/window_system.h"
#include "text/file_url.h"
#include "ui/main_dialog.h"

namespace vistello {

namespace {

constexpr const char* kUninstallText =
    "To remove Vistello, run \"make uninstall\" in the folder it was built in, or delete the "
    "installed program.\r\n"
    "Your own files stay where they are: projects, vistello.ini and the pages you generated.";

}  // namespace

void CMainDialog::OpenManual(const std::string& section) {
    UpdateData(true);
    System().OpenDocument(FileUrl(System().ManualPath(), section));
    UpdateData(false);
}

void CMainDialog::OnHelpManual() { OpenManual(""); }

void CMainDialog::OnHelpMoreInfo() { OpenManual("about"); }

// Removing the program is the package's or the build's business; the box only explains.
void CMainDialog::OnHelpUninstall() {
    UpdateData(true);
    MessageBox(kUninstallText, "Uninstall Vistello");
    UpdateData(false);
}

}  // namespace vistello
