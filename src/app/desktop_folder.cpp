#include "app/desktop_folder.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <string_view>
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

// The copy of the demo beside the folder is named after it, this mark and the run's process.
constexpr std::string_view kCopyMark = ".new-";

// A first start ended during its copy leaves the copy behind, and the folder still to be made:
// the next first start clears what runs no longer running left.
void ClearDeadCopies(const fs::path& folder) {
    const std::string prefix = folder.filename().string().append(kCopyMark);
    std::error_code error;
    for (fs::directory_iterator it(folder.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        pid_t run = 0;
        const char* digits = name.data() + prefix.size();
        const char* last = name.data() + name.size();
        if (!name.starts_with(prefix) || std::from_chars(digits, last, run).ptr != last) continue;
        if (run > 0 && ::kill(run, 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove_all(it->path(), ignored);
        }
    }
}

// Copied beside the folder and renamed into place, so that a start ended halfway, or two starts
// at once, never leave a workspace with half a demo in it. A demo that cannot be copied leaves
// the folder to be made empty: it must not keep the program from starting.
void CopyDemo(const fs::path& demo, const fs::path& folder) {
    ClearDeadCopies(folder);
    const fs::path copy = folder.string().append(kCopyMark).append(std::to_string(::getpid()));
    std::error_code error;
    fs::remove_all(copy, error);
    if (::mkdir(copy.c_str(), 0700) != 0) return;
    fs::copy(demo, copy, fs::copy_options::recursive, error);
    // When another start made the folder first, the rename fails, and theirs is as good as ours.
    if (!error) ::rename(copy.c_str(), folder.c_str());
    fs::remove_all(copy, error);
}

}  // namespace

std::optional<std::string> DesktopFolder(const char* xdgDataHome, const char* home) {
    if (IsAbsolute(xdgDataHome)) return std::string(xdgDataHome) + "/vistello";
    if (IsAbsolute(home)) return std::string(home) + "/.local/share/vistello";
    return std::nullopt;
}

std::string PlacesFile(const char* xdgStateHome, const char* home) {
    if (IsAbsolute(xdgStateHome)) return std::string(xdgStateHome) + "/vistello/projects";
    if (IsAbsolute(home)) return std::string(home) + "/.local/state/vistello/projects";
    return {};
}

std::optional<std::string> CacheHome(const char* xdgCacheHome, const char* home) {
    if (IsAbsolute(xdgCacheHome)) return std::string(xdgCacheHome);
    if (IsAbsolute(home)) return std::string(home) + "/.cache";
    return std::nullopt;
}

std::optional<std::string> EnterFolder(const std::string& folder, const std::string& demo) {
    std::error_code error;
    const fs::path path = fs::path(folder).lexically_normal();
    const bool firstStart = !demo.empty() && fs::is_directory(demo, error) && IsMissing(path);
    if (firstStart) {
        if (auto reason = MakeFolders(path.parent_path())) return reason;
        CopyDemo(demo, path);
    }
    if (auto reason = MakeFolders(path)) return reason;
    if (::chdir(path.c_str()) != 0) return Reason(errno);
    return std::nullopt;
}

}  // namespace vistello
