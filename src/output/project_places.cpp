#include "files/file_ops.h"
#include "output/project_places.h"

#include <sys/stat.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "files/atomic_file.h"
#include "files/text_file.h"
#include "output/owned_files.h"
#include "output/record_fields.h"
#include "text/digest.h"
#include "text/percent_encoding.h"

namespace vistello {

ProjectPlaces::ProjectPlaces(FileOps& ops, std::string file) : m_ops(ops), m_file(std::move(file)) {
    if (m_file.empty()) return;
    const std::optional<std::string> text = ReadLineFile(ops, m_file);
    if (!text) return;
    ForEachRecordLine(*text, [this](const std::vector<std::string_view>& fields) {
        if (fields.size() == 2 && IsDigest(fields[0]))
            m_places[std::string(fields[0])] = PercentDecode(fields[1]);
    });
}

bool ProjectPlaces::Note(const std::string& projectFile) {
    if (m_file.empty()) return true;
    const std::string path = ProjectKey(projectFile);
    const auto [place, added] = m_places.try_emplace(Digest(path), path);
    if (!added) return true;
    std::string text;
    for (const auto& [key, file] : m_places) {
        text += key;
        AppendRecordField(text, file);
        text += '\n';
    }
    MakeFoldersFor(m_ops, m_file);
    return WriteFileAtomically(m_ops, m_file, text, Flush::ToSystem);
}

const std::string* ProjectPlaces::PathOf(const std::string& key) const {
    const auto place = m_places.find(key);
    return place == m_places.end() ? nullptr : &place->second;
}

bool ProjectPlaces::Gone(const std::string& key) {
    if (const auto known = m_gone.find(key); known != m_gone.end()) return known->second;
    const auto place = m_places.find(key);
    struct stat info {};
    const bool gone =
        place != m_places.end() && m_ops.Stat(place->second, info) != 0 && errno == ENOENT;
    return m_gone.emplace(key, gone).first->second;
}

}  // namespace vistello
