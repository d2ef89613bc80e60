#include "app/command_project.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "files/text_file.h"
#include "project/project_file.h"

namespace vistello {

Preferences ReadCommandPreferences(FileOps& ops) {
    Preferences preferences;
    if (const std::optional<std::string> text = ReadLineFile(ops, kPreferencesFile)) {
        ParsePreferencesText(*text, preferences);
    }
    return preferences;
}

std::string CommandProjectFile(const std::string& named, const Preferences& preferences) {
    return ProjectFileOrDefault(named.empty() ? preferences.projectFile : named);
}

void ReadProjectRows(std::string_view text, ProjectFields& fields, EntryList& list) {
    std::vector<std::unique_ptr<ImageEntry>> entries = ParseProjectText(text, fields);
    std::reverse(entries.begin(), entries.end());
    list.InsertTop(std::move(entries));
}

bool ReadCommandProject(FileOps& ops, const std::string& fileName, ProjectFields& fields,
                        EntryList& list, std::ostream& err) {
    const std::optional<std::string> text = ReadLineFile(ops, fileName);
    if (!text) {
        err << "vistello: cannot read the project file " << fileName << "\n";
        return false;
    }
    ReadProjectRows(*text, fields, list);
    return true;
}

}  // namespace vistello
