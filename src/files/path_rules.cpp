#include "files/path_rules.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vistello {

bool IsPlainAbsolutePath(std::string_view path) {
    if (!path.starts_with(kPathSeparator)) return false;
    if (path.size() == 1) return true;
    if (path.ends_with(kPathSeparator)) return false;
    for (size_t start = 1; start <= path.size();) {
        const size_t end = std::min(path.find(kPathSeparator, start), path.size());
        const std::string_view step = path.substr(start, end - start);
        if (step.empty() || step == "." || step == "..") return false;
        start = end + 1;
    }
    return true;
}

std::string FileNameOf(std::string_view path) {
    const size_t last = path.rfind(kPathSeparator);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string AbsolutePath(std::string_view path) {
    if (IsPlainAbsolutePath(path)) return std::string(path);
    std::error_code error;
    std::string absolute = std::filesystem::absolute(path, error).lexically_normal().string();
    if (error) return std::string(path);
    if (absolute.size() > 1 && absolute.ends_with(kPathSeparator)) absolute.pop_back();
    return absolute;
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
