#pragma once

#include "framework/dialog_template.h"

namespace vistello {

const DialogTemplate& MainDialogTemplate();
const DialogTemplate& AboutDialogTemplate();
const DialogTemplate& PreferencesDialogTemplate();
const DialogTemplate& WebImagesDialogTemplate();

}  // namespace vistello
