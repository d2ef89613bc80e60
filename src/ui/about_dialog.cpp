#include "ui/about_dialog.h"

#include "ui/dialog_templates.h"

namespace vistello {

CAboutDialog::CAboutDialog() : CDialog(AboutDialogTemplate()) {}

}  // namespace vistello
