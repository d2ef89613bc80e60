#include "framework/file_picker.h"

#include "files/path_rules.h"

namespace vistello {

std::string ExistingFolderOf(FileOps& ops, const std::string& path) {
    if (path.empty()) return {};
    if (IsFolder(ops, path)) return path;
    const size_t last = path.rfind(kPathSeparator);
    if (last == std::string::npos) return {};
    const std::string parent = last == 0 ? path.substr(0, 1) : path.substr(0, last);
    return IsFolder(ops, parent) ? parent : std::string();
}

}  // namespace vistello
