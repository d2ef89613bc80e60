#include "files/path_rules.h"

namespace vistello {

std::string FileNameOf(std::string_view path) {
    const size_t last = path.rfind(kPathSeparator);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

void AppendSeparator(std::string& folder) {
    if (!folder.empty() && folder.back() != kPathSeparator) folder.push_back(kPathSeparator);
}

std::string_view ExtensionOf(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? std::string_view()
                                                     : fileName.substr(dot + 1);
}

std::string_view StemOf(std::string_view fileName) {
    const std::string_view extension = ExtensionOf(fileName);
    return extension.empty() ? fileName
                             : fileName.substr(0, fileName.size() - extension.size() - 1);
}

bool IsRegularFile(FileOps& ops, const std::string& path) {
    struct stat info {};
    return ops.Stat(path, info) == 0 && S_ISREG(info.st_mode);
}

bool IsFolder(FileOps& ops, const std::string& path) {
    struct stat info {};
    return ops.Stat(path, info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace vistello
