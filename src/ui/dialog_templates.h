#pragma once

#include "platform/dialog_template.h"

namespace vistello {

const DialogTemplate& MainDialogTemplate();
const DialogTemplate& AboutDialogTemplate();

}  // namespace vistello
