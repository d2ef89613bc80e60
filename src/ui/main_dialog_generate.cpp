#include "ui/main_dialog.h"

namespace vistello {

void CMainDialog::OnGenerate() {}

}  // namespace vistello
