#include "app/desktop_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace vistello {

namespace {

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

std::string Reason(int error) { return std::generic_category().message(error); }

}  // namespace

std::optional<std::string> DesktopFolder(const char* xdgDataHome, const char* home) {
    if (IsAbsolute(xdgDataHome)) return std::string(xdgDataHome) + "/vistello";
    if (IsAbsolute(home)) return std::string(home) + "/.local/share/vistello";
    return std::nullopt;
}

std::optional<std::string> EnterFolder(const std::string& folder) {
    std::filesystem::path made;
    for (const std::filesystem::path& part : std::filesystem::path(folder)) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) return Reason(errno);
    }
    if (::chdir(folder.c_str()) != 0) return Reason(errno);
    return std::nullopt;
}

}  // namespace vistello
