#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "platform/file_picker.h"

namespace vistello {

// A save picker over parent, the same on every desktop and usable from the keyboard: a full path
// typed into the name field and Enter confirm it. Replacing a file asks first.
std::optional<std::string> ShowSaveFilePicker(QWidget* parent, const FilePickerOptions& options);

}  // namespace vistello
