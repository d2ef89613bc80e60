#include "platform/file_copy.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vistello {

namespace fs = std::filesystem;

bool CopyFileOver(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) return false;
    std::error_code error;
    if (!fs::is_regular_file(from, error)) return false;
    if (fs::equivalent(from, to, error) && !error) return false;

    const fs::path target(to);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temp = (folder / ".vistello-XXXXXX").string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    ::close(fd);
    if (!fs::copy_file(from, temp, fs::copy_options::overwrite_existing, error) ||
        ::rename(temp.c_str(), to.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace vistello
