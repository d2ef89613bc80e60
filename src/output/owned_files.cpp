#include "output/owned_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "output/record_fields.h"
#include "text/digest.h"
#include "text/percent_encoding.h"

namespace vistello {

WrittenMark WrittenMark::Of(const struct stat& info) {
    return {info.st_size, info.st_mtim, info.st_ino};
}

bool WrittenMark::Matches(const struct stat& info) const {
    return size == info.st_size && SameTime(mtime, info.st_mtim) && inode == info.st_ino;
}

bool WrittenMark::operator==(const WrittenMark& other) const {
    return size == other.size && SameTime(mtime, other.mtime) && inode == other.inode;
}

// A line that is not whole is left out, and so is what it said.
bool OwnedFiles::ReadLine(const std::vector<std::string_view>& f) {
    if (f.size() == 2 && f[0] == "P") {
        m_reading = KeyFromRecord(PercentDecode(f[1]));
    } else if (f.size() == 4 && f[0] == "N") {
        if (m_reading) m_pending[*m_reading][PercentDecode(f[1])] = RecordTime(f[2], f[3]);
    } else if (f.size() == 2 && f[0] == "U") {
        if (m_reading) m_uses[*m_reading].insert(PercentDecode(f[1]));
    } else if (f.size() == 6 && f[0] == "O") {
        if (m_reading) {
            m_projects[*m_reading][PercentDecode(f[1])] = {static_cast<off_t>(RecordNumber(f[2])),
                                                           RecordTime(f[3], f[4]),
                                                           static_cast<ino_t>(RecordNumber(f[5]))};
        }
    } else {
        return false;
    }
    return true;
}

void OwnedFiles::AppendTo(std::string& text) const {
    std::set<std::string> projects;
    for (const auto& entry : m_projects) projects.insert(entry.first);
    for (const auto& entry : m_uses) projects.insert(entry.first);
    for (const auto& entry : m_pending) projects.insert(entry.first);
    static const WrittenFiles kNone;
    for (const std::string& project : projects) {
        text += "P";
        AppendRecordField(text, project);
        text += '\n';
        const WrittenFiles* files = Of(project);
        for (const auto& [file, mark] : files ? *files : kNone) {
            text += "O";
            AppendRecordField(text, file);
            AppendRecordNumber(text, mark.size);
            AppendRecordTime(text, mark.mtime);
            AppendRecordNumber(text, static_cast<long long>(mark.inode));
            text += '\n';
        }
        if (const auto pending = m_pending.find(project); pending != m_pending.end()) {
            for (const auto& [file, start] : pending->second) {
                text += "N";
                AppendRecordField(text, file);
                AppendRecordTime(text, start);
                text += '\n';
            }
        }
        if (const auto uses = m_uses.find(project); uses != m_uses.end()) {
            for (const std::string& file : uses->second) {
                text += "U";
                AppendRecordField(text, file);
                text += '\n';
            }
        }
    }
}

const WrittenFiles* OwnedFiles::Of(const std::string& project) const {
    const auto found = m_projects.find(project);
    return found == m_projects.end() ? nullptr : &found->second;
}

bool OwnedFiles::AddPending(const std::string& project, const std::vector<std::string>& files,
                            const struct timespec& start) {
    const WrittenFiles* written = Of(project);
    bool added = false;
    for (const std::string& file : files) {
        if (written && written->contains(file)) continue;
        added = m_pending[project].try_emplace(file, start).second || added;
    }
    return added;
}

std::map<std::string, struct timespec> OwnedFiles::TakePending(const std::string& project) {
    auto found = m_pending.find(project);
    if (found == m_pending.end()) return {};
    std::map<std::string, struct timespec> pending = std::move(found->second);
    m_pending.erase(found);
    return pending;
}

void OwnedFiles::SetPending(const std::string& project,
                            std::map<std::string, struct timespec> pending) {
    if (pending.empty()) {
        m_pending.erase(project);
    } else {
        m_pending.insert_or_assign(project, std::move(pending));
    }
}

bool OwnedFiles::Pending(const std::string& project, const std::string& file) const {
    const auto found = m_pending.find(project);
    return found != m_pending.end() && found->second.contains(file);
}

bool OwnedFiles::AnyOwns(const std::string& file) const {
    return std::any_of(m_projects.begin(), m_projects.end(),
                       [&file](const auto& project) { return project.second.contains(file); });
}

WrittenFiles OwnedFiles::Take(const std::string& project) {
    auto found = m_projects.find(project);
    if (found == m_projects.end()) return {};
    WrittenFiles files = std::move(found->second);
    m_projects.erase(found);
    return files;
}

void OwnedFiles::Set(const std::string& project, WrittenFiles files) {
    if (files.empty()) {
        m_projects.erase(project);
    } else {
        m_projects.insert_or_assign(project, std::move(files));
    }
}

bool OwnedFiles::SetUses(const std::string& project, std::set<std::string> files) {
    const auto found = m_uses.find(project);
    const bool same = found == m_uses.end() ? files.empty() : found->second == files;
    if (files.empty()) {
        m_uses.erase(project);
    } else {
        m_uses.insert_or_assign(project, std::move(files));
    }
    return !same;
}

const std::string* OwnedFiles::AnotherOwner(
    const std::string& project, const std::string& file,
    const std::function<bool(const std::string&)>& present) const {
    for (const auto& [user, files] : m_uses) {
        if (user != project && files.contains(file)) return &user;
    }
    for (const auto& [owner, files] : m_projects) {
        if (owner != project && files.contains(file) && present(owner)) return &owner;
    }
    return nullptr;
}

std::vector<std::string> OwnedFiles::FilesOfOthers(const std::string& project) const {
    std::vector<std::string> names;
    for (const auto& [owner, files] : m_projects) {
        if (owner == project) continue;
        for (const auto& entry : files) names.push_back(entry.first);
    }
    return names;
}

namespace {

template <typename Parts>
void TakeOthers(Parts& parts, const Parts& fresh, const std::string& project) {
    std::erase_if(parts, [&project](const auto& part) { return part.first != project; });
    for (const auto& part : fresh) {
        if (part.first != project) parts.insert(part);
    }
}

}  // namespace

void OwnedFiles::TakeOthersFrom(const OwnedFiles& fresh, const std::string& project) {
    TakeOthers(m_projects, fresh.m_projects, project);
    TakeOthers(m_uses, fresh.m_uses, project);
    TakeOthers(m_pending, fresh.m_pending, project);
    for (const std::string& adopted : m_adopted) {
        m_projects.erase(adopted);
        m_uses.erase(adopted);
        m_pending.erase(adopted);
    }
}

void OwnedFiles::AdoptGone(const std::string& project,
                           const std::function<bool(const std::string&)>& gone,
                           const std::function<bool(const WrittenFiles&)>& same) {
    if (m_projects.contains(project) || m_uses.contains(project)) return;
    std::set<std::string> keys;
    for (const auto& entry : m_projects) keys.insert(entry.first);
    for (const std::string& key : keys) {
        if (!gone(key) || !same(m_projects[key])) continue;
        WrittenFiles files = Take(key);
        m_projects[project].merge(files);
        m_pending[project].merge(m_pending[key]);
        m_pending.erase(key);
        if (m_pending[project].empty()) m_pending.erase(project);
        m_uses.erase(key);
        m_adopted.insert(key);
    }
}

// Made absolute and tidied by its text alone: the project file may not exist yet.
std::string ProjectKey(const std::string& projectFile) {
    // Links followed, so that one file named two ways is one project, or one photo.
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(projectFile, error);
    if (!error) return resolved.string();
    const std::filesystem::path absolute = std::filesystem::absolute(projectFile, error);
    return error ? projectFile : absolute.lexically_normal().string();
}

std::string RecordKey(const std::string& projectFile) { return Digest(ProjectKey(projectFile)); }

std::string KeyFromRecord(std::string_view field) {
    return IsDigest(field) ? std::string(field) : Digest(field);
}

}  // namespace vistello
