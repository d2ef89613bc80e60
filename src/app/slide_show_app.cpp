#include "app/slide_show_app.h"

#include "ui/main_dialog.h"

namespace vistello {

bool CSlideShowApp::InitInstance(WindowSystem& system) {
    CMainDialog dialog;
    dialog.DoModal(system);
    return false;
}

}  // namespace vistello
