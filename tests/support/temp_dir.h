#pragma once

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace vistello::testing {

// A fresh folder under the system's temporary directory, made the current directory for as long
// as it lives and then removed with everything in it.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vistello-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
        std::filesystem::current_path(m_path);
    }
    ~ScratchDir() {
        std::error_code error;
        std::filesystem::current_path(m_previous, error);
        std::filesystem::remove_all(m_path, error);
    }

    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

    // What the folder, or one inside it, holds by name: a leftover temporary shows up here.
    std::set<std::string> Names(const std::string& inside = "") const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path / inside))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path m_previous = std::filesystem::current_path();
    std::filesystem::path m_path;
};

inline std::string ReadBytes(const std::string& path) {
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace vistello::testing
