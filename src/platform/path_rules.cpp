#include "platform/path_rules.h"

#include <filesystem>
#include <system_error>

namespace vistello {

std::string FileNameOf(std::string_view path) {
    const size_t last = path.rfind(kPathSeparator);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

void AppendSeparator(std::string& folder) {
    if (!folder.empty() && folder.back() != kPathSeparator) folder.push_back(kPathSeparator);
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::string CountOf(long long count, std::string_view noun) {
    std::string text = std::to_string(count);
    text.append(" ").append(noun);
    if (count != 1) text += 's';
    return text;
}

}  // namespace vistello
