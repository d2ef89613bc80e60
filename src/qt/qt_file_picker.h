#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "framework/file_picker.h"

namespace vistello {

// Pickers over parent, the same on every desktop and usable from the keyboard: a full path typed
// into the name field and Enter confirm it, Escape cancels.

// Replacing a file asks first; a typed name without an extension gains the default one.
std::optional<std::string> ShowSaveFilePicker(QWidget* parent, const FilePickerOptions& options);

// An open picker for an existing file. Its filters match names in any letter case.
std::optional<std::string> ShowOpenFilePicker(QWidget* parent, const FilePickerOptions& options);

// A folder picker; folder is where it opens, the current directory when empty.
std::optional<std::string> ShowFolderPicker(QWidget* parent, const std::string& title,
                                            const std::string& folder);

}  // namespace vistello
