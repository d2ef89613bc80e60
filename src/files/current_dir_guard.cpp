#include "files/current_dir_guard.h"

#include <system_error>

namespace vistello {

CurrentDirGuard::CurrentDirGuard() {
    std::error_code error;
    m_saved = std::filesystem::current_path(error);
}

CurrentDirGuard::~CurrentDirGuard() {
    if (m_saved.empty()) return;
    std::error_code error;
    std::filesystem::current_path(m_saved, error);
}

}  // namespace vistello
