#pragma once

#include <algorithm>
#include <string>

#include "files/file_ops.h"

namespace vistello::testing {

// Real file access to an output folder that, like a memory card's, takes names that differ only
// in case for one name: every path under `folder` reaches the file named in lower case.
class FoldingFileOps : public RealFileOps {
public:
    explicit FoldingFileOps(std::string folder) : m_folder(std::move(folder)) {}

    int OpenExclusive(const std::string& path) override {
        return RealFileOps::OpenExclusive(Fold(path));
    }
    int OpenForReading(const std::string& path) override {
        return RealFileOps::OpenForReading(Fold(path));
    }
    int Rename(const std::string& from, const std::string& to) override {
        return RealFileOps::Rename(Fold(from), Fold(to));
    }
    int Unlink(const std::string& path) override { return RealFileOps::Unlink(Fold(path)); }
    int Lstat(const std::string& path, struct stat& info) override {
        return RealFileOps::Lstat(Fold(path), info);
    }
    int Stat(const std::string& path, struct stat& info) override {
        return RealFileOps::Stat(Fold(path), info);
    }
    std::optional<std::string> ReadLink(const std::string& path) override {
        return RealFileOps::ReadLink(Fold(path));
    }
    int AccessWrite(const std::string& path) override {
        return RealFileOps::AccessWrite(Fold(path));
    }
    int MakeFolder(const std::string& path) override { return RealFileOps::MakeFolder(Fold(path)); }

private:
    std::string Fold(std::string path) const {
        if (path.starts_with(m_folder)) {
            std::transform(path.begin() + static_cast<long>(m_folder.size()), path.end(),
                           path.begin() + static_cast<long>(m_folder.size()),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        }
        return path;
    }

    std::string m_folder;
};

}  // namespace vistello::testing
