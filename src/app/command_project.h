#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "files/file_ops.h"
#include "prefs/preferences_file.h"
#include "project/project_file.h"
#include "slides/entry_list.h"

namespace vistello {

// The preferences as the window would start with them; a missing file is no error, and nothing
// is created.
Preferences ReadCommandPreferences(FileOps& ops);

// The project a command works on: the one named on the line, else the one the preferences name,
// else the default.
std::string CommandProjectFile(const std::string& named, const Preferences& preferences);

// The project a command works on (see CommandProjectFile), read into fields and rows; false,
// with a line on err, when it cannot be read.
bool ReadCommandProject(FileOps& ops, const std::string& fileName, ProjectFields& fields,
                        EntryList& list, std::ostream& err);

// A project's text read into the rows as the window shows them: the last entry read on top.
void ReadProjectRows(std::string_view text, ProjectFields& fields, EntryList& list);

}  // namespace vistello
