#pragma once

#include <string>

#include "files/file_ops.h"
#include "prefs/preferences_file.h"

namespace vistello {

// The preferences as the window would start with them, the tags' defaults filled in; a missing
// file is no error, and nothing is created.
Preferences ReadCommandPreferences(FileOps& ops);

// The project a command works on: the one named on the line, else the one the preferences name,
// else the default.
std::string CommandProjectFile(const std::string& named, const Preferences& preferences);

}  // namespace vistello
