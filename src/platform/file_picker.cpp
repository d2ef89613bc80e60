#include "platform/file_picker.h"

#include <filesystem>
#include <system_error>

namespace vistello {

std::string ExistingFolderOf(const std::string& path) {
    if (path.empty()) return {};
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path given(path);
    if (fs::is_directory(given, error)) return given.string();
    const fs::path parent = given.parent_path();
    if (!parent.empty() && fs::is_directory(parent, error)) return parent.string();
    return {};
}

}  // namespace vistello
