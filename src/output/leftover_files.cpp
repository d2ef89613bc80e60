#include "output/leftover_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <map>
#include <string_view>

#include "files/error_text.h"
#include "output/made_files.h"

namespace vistello {

namespace {

// A path the record gives that stays inside the folder: every part a plain name.
bool InsideFolder(std::string_view name) {
    // A NUL would end the name the system sees before the name checked here ends.
    if (name.empty() || name == MadeFiles::kFileName || name.find('\0') != std::string_view::npos)
        return false;
    for (size_t start = 0;;) {
        const size_t slash = name.find('/', start);
        const std::string_view part = name.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (slash == std::string_view::npos) return true;
        start = slash + 1;
    }
}

// Whether every folder on the way to the file is a folder itself, not a link that may lead out.
class FolderCheck {
public:
    FolderCheck(FileOps& ops, const std::string& folder) : m_ops(ops), m_folder(folder) {}

    bool PlainFoldersTo(std::string_view name) {
        for (size_t slash = name.find('/'); slash != std::string_view::npos;
             slash = name.find('/', slash + 1)) {
            if (!PlainFolder(std::string(name.substr(0, slash)))) return false;
        }
        return true;
    }

private:
    bool PlainFolder(const std::string& path) {
        const auto known = m_known.find(path);
        if (known != m_known.end()) return known->second;
        // A folder that is gone takes its files with it, which the file's own look then finds.
        struct stat info {};
        const bool plain =
            m_ops.Lstat(m_folder + path, info) == 0 ? S_ISDIR(info.st_mode) : errno == ENOENT;
        return m_known.emplace(path, plain).first->second;
    }

    FileOps& m_ops;
    const std::string& m_folder;
    std::map<std::string, bool> m_known;
};

// Why the file must stay, or nothing when it may go.
const char* WhyKept(const struct stat& info, const WrittenMark& mark, const FileIds& keep) {
    if (!S_ISREG(info.st_mode)) return "kept, it is no longer a plain file";
    if (keep.contains({info.st_dev, info.st_ino})) return "kept, the show itself uses it";
    if (!mark.Matches(info)) return "kept, it changed since it was written";
    return nullptr;
}

// A file that cannot be looked at or removed stays the project's, to try again next time; one
// that is gone already needs nothing.
void Remove(FileOps& ops, const std::string& path, const std::string& name, const WrittenMark& mark,
            const FileIds& keep, LeftoverOutcome& outcome) {
    struct stat info {};
    if (ops.Lstat(path, info) == 0) {
        if (const char* why = WhyKept(info, mark, keep)) {
            outcome.kept.push_back(path + ": " + why);
            return;
        }
        if (ops.Unlink(path) == 0) {
            outcome.removed.push_back(path);
            return;
        }
    }
    if (errno == ENOENT) return;
    outcome.failed.push_back(path + ": could not be removed: " + ErrorText(errno));
    outcome.stillOwned.emplace(name, mark);
}

}  // namespace

LeftoverOutcome RemoveLeftovers(FileOps& ops, const std::string& folder,
                                const WrittenFiles& leftovers, const FileIds& keep,
                                LeftoverOutcome outcome) {
    FolderCheck folders(ops, folder);
    for (const auto& [name, mark] : leftovers) {
        const std::string path = folder + name;
        if (!InsideFolder(name) || !folders.PlainFoldersTo(name)) {
            outcome.kept.push_back(path + ": kept, it is not a file inside the output folder");
            continue;
        }
        Remove(ops, path, name, mark, keep, outcome);
    }
    return outcome;
}

}  // namespace vistello
