#include "app/desktop_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace vistello {

namespace fs = std::filesystem;

namespace {

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

std::string Reason(int error) { return std::generic_category().message(error); }

std::optional<std::string> MakeFolders(const fs::path& folder) {
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) return Reason(errno);
    }
    return std::nullopt;
}

bool IsMissing(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) != 0 && errno == ENOENT;
}

// Copied beside the folder and renamed into place, so that a start ended halfway, or two starts
// at once, never leave a workspace with half a demo in it.
std::optional<std::string> CopyDemo(const fs::path& demo, const fs::path& folder) {
    const fs::path copy = folder.string() + ".new-" + std::to_string(::getpid());
    std::error_code error;
    fs::remove_all(copy, error);
    if (::mkdir(copy.c_str(), 0700) != 0) return Reason(errno);
    fs::copy(demo, copy, fs::copy_options::recursive, error);
    if (!error && ::rename(copy.c_str(), folder.c_str()) != 0) {
        error.assign(errno, std::generic_category());
        // Another start made the folder first; theirs is as good as ours.
        if (error == std::errc::directory_not_empty || error == std::errc::file_exists) error = {};
    }
    std::error_code ignored;
    fs::remove_all(copy, ignored);
    if (error) return error.message();
    return std::nullopt;
}

}  // namespace

std::optional<std::string> DesktopFolder(const char* xdgDataHome, const char* home) {
    if (IsAbsolute(xdgDataHome)) return std::string(xdgDataHome) + "/vistello";
    if (IsAbsolute(home)) return std::string(home) + "/.local/share/vistello";
    return std::nullopt;
}

std::optional<std::string> EnterFolder(const std::string& folder, const std::string& demo) {
    std::error_code error;
    const fs::path path = fs::path(folder).lexically_normal();
    const bool firstStart = !demo.empty() && fs::is_directory(demo, error) && IsMissing(path);
    if (firstStart) {
        if (auto reason = MakeFolders(path.parent_path())) return reason;
        if (auto reason = CopyDemo(demo, path)) return reason;
    }
    if (auto reason = MakeFolders(path)) return reason;
    if (::chdir(path.c_str()) != 0) return Reason(errno);
    return std::nullopt;
}

}  // namespace vistello
