#pragma once

#include "framework/dialog.h"

namespace vistello {

// The About box: OK and Escape close it.
class CAboutDialog : public CDialog {
public:
    CAboutDialog();
};

}  // namespace vistello
