#pragma once

#include <string>
#include <vector>

#include "files/file_ops.h"

namespace vistello {

// One entry of a picker's file-type list: "Vistello DAT Files" showing "*.dat".
struct FileFilter {
    std::string label;
    std::vector<std::string> patterns;

    bool operator==(const FileFilter&) const = default;
};

struct FilePickerOptions {
    // Empty: the picker's own title.
    std::string title;
    // In the order shown; the first is selected.
    std::vector<FileFilter> filters;
    // Given to a typed name that has none, e.g. "dat".
    std::string defaultExtension;
    // Where the picker opens; empty: the current directory.
    std::string folder;
};

// The folder that holds path, when there is one on disk; otherwise empty. A picker opens there, as
// a desktop picker remembers where the user was.
std::string ExistingFolderOf(FileOps& ops, const std::string& path);

}  // namespace vistello
