#include "app/command_project.h"

#include <optional>

#include "files/text_file.h"
#include "project/project_file.h"

namespace vistello {

Preferences ReadCommandPreferences(FileOps& ops) {
    Preferences preferences;
    if (const std::optional<std::string> text = ReadLineFile(ops, kPreferencesFile)) {
        ParsePreferencesText(*text, preferences);
    }
    preferences.tags.FillEmptyWithDefaults();
    return preferences;
}

std::string CommandProjectFile(const std::string& named, const Preferences& preferences) {
    return ProjectFileOrDefault(named.empty() ? preferences.projectFile : named);
}

}  // namespace vistello
