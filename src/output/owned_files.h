#pragma once

#include <sys/stat.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vistello {

// How a file stood when Generate last wrote it or found it as it would write it: any write since
// gives it a new modification time, and a file put in its place is another inode.
struct WrittenMark {
    off_t size = 0;
    struct timespec mtime {};
    ino_t inode = 0;

    static WrittenMark Of(const struct stat& info);
    bool Matches(const struct stat& info) const;
    bool operator==(const WrittenMark& other) const;
};

// Files by their path from the output folder.
using WrittenFiles = std::map<std::string, WrittenMark>;

// Which files of an output folder each project's Generate wrote, each project known by its
// RecordKey. Kept in the folder's record of made images as a "P" line naming the project, then
// one "O" line per file and one "U" line per file its slides use; a record without them (as older
// versions wrote it) names no file as any project's, and older versions pass the lines over.
class OwnedFiles {
public:
    // Takes in a line of its own kind, given by its fields; false for a line of another kind.
    bool ReadLine(const std::vector<std::string_view>& fields);
    void AppendTo(std::string& text) const;

    // Whether any project's files are known here.
    bool AnyProject() const { return !m_projects.empty() || !m_uses.empty() || !m_pending.empty(); }

    // Files a run of the project is about to write, noted before it writes them with the time it
    // started ("N" lines), so that what it wrote stays its own should its record never be written
    // (a full disk, a power cut). True when any name was new.
    bool AddPending(const std::string& project, const std::vector<std::string>& files,
                    const struct timespec& start);
    // The project's pending files, which it has no more.
    std::map<std::string, struct timespec> TakePending(const std::string& project);
    void SetPending(const std::string& project, std::map<std::string, struct timespec> pending);
    // Whether the file is the project's by a pending note.
    bool Pending(const std::string& project, const std::string& file) const;
    // Whether any project wrote the file.
    bool AnyOwns(const std::string& file) const;
    // Nothing when the project wrote no file here.
    const WrittenFiles* Of(const std::string& project) const;
    // The project's files, which it has no more until they are Set again.
    WrittenFiles Take(const std::string& project);
    void Set(const std::string& project, WrittenFiles files);
    // The files in the folder that the project's slides show as their own photos or clips; what
    // another project wrote, it never removes while one of them uses it. True when they changed.
    bool SetUses(const std::string& project, std::set<std::string> files);
    // A project other than `project` that uses the file, or owns it and is `present`, if there is
    // one: a project whose file is gone can still make again what it wrote, not what it shows.
    const std::string* AnotherOwner(const std::string& project, const std::string& file,
                                    const std::function<bool(const std::string&)>& present) const;
    // Every file of the projects other than `project`.
    std::vector<std::string> FilesOfOthers(const std::string& project) const;
    // The parts of the projects other than `project` as `fresh` has them, but for those adopted.
    void TakeOthersFrom(const OwnedFiles& fresh, const std::string& project);
    // Makes `project`, when it has nothing here yet, the owner of what each project `gone` says is
    // gone had and `same` takes for this show's: a project renamed or moved keeps what it wrote,
    // while one that only went missing is not taken for another. Those adopted are forgotten.
    void AdoptGone(const std::string& project, const std::function<bool(const std::string&)>& gone,
                   const std::function<bool(const WrittenFiles&)>& same);

private:
    std::map<std::string, WrittenFiles> m_projects;
    std::map<std::string, std::set<std::string>> m_uses;
    std::map<std::string, std::map<std::string, struct timespec>> m_pending;
    std::set<std::string> m_adopted;
    // The project of the "O" lines being read, if a "P" line came before them.
    std::optional<std::string> m_reading;
};

// The project file's path as every run names it, from any current folder and through any link.
std::string ProjectKey(const std::string& projectFile);

// How an output folder's records know a project: a digest of its ProjectKey, so that the folder,
// which is published, never names a path outside it or the user's name.
std::string RecordKey(const std::string& projectFile);

// A project or source as a record line names it: older records named the path itself, which is
// taken as its digest.
std::string KeyFromRecord(std::string_view field);

}  // namespace vistello
