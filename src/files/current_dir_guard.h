#pragma once

#include <filesystem>

namespace vistello {

// Keeps the current directory across a call that may change it, such as a desktop file picker.
class CurrentDirGuard {
public:
    CurrentDirGuard();
    ~CurrentDirGuard();
    CurrentDirGuard(const CurrentDirGuard&) = delete;
    CurrentDirGuard& operator=(const CurrentDirGuard&) = delete;

private:
    std::filesystem::path m_saved;
};

}  // namespace vistello
