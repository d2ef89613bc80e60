#pragma once

#include "platform/dialog_template.h"

namespace vistello {

const DialogTemplate& MainDialogTemplate();
const DialogTemplate& AboutDialogTemplate();
const DialogTemplate& PreferencesDialogTemplate();

}  // namespace vistello
