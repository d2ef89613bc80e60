#pragma once

#include <cctype>
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

// Stand-in bytes of a photo or clip, which the program takes for what the name says: a JPEG's
// first bytes, or an MP4's for a clip's name, then the text that tells one from another. A GIF's
// own bytes stay as they are.
inline std::string MediaBytes(const std::string& name, const std::string& text) {
    if (text.starts_with("GIF8")) return text;
    static const std::set<std::string> kClips = {".mp4",  ".m4v", ".mov", ".3gp",
                                                 ".webm", ".mkv", ".avi"};
    std::string extension = std::filesystem::path(name).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return (kClips.contains(extension) ? std::string("\0\0\0\x0C"
                                                     "ftypisom",
                                                     12)
                                       : std::string("\xFF\xD8\xFF")) +
           text;
}

// The text of stand-in bytes, without the first bytes MediaBytes gave them.
inline std::string MediaText(const std::string& bytes) {
    for (const std::string& head : {std::string("\0\0\0\x0C"
                                               "ftypisom",
                                               12),
                                   std::string("\xFF\xD8\xFF")}) {
        if (bytes.starts_with(head)) return bytes.substr(head.size());
    }
    return bytes;
}

inline void WriteMedia(const std::string& path, const std::string& text) {
    WriteBytes(path, MediaBytes(path, text));
}

}  // namespace vistello::testing
