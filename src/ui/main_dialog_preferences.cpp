#include <optional>

#include "platform/text_file.h"
#include "prefs/preferences_file.h"
#include "ui/main_dialog.h"

namespace vistello {

// A file that is missing or cannot be read changes nothing.
void CMainDialog::LoadPreferences() {
    UpdateData(true);
    std::optional<std::string> text;
    if (CreateFileIfMissing(kPreferencesFile)) text = ReadTextFile(kPreferencesFile);
    if (text) {
        Preferences preferences{m_strToolTips, m_tags, m_strProjectFile};
        ParsePreferencesText(*text, preferences);
        m_strToolTips = std::move(preferences.toolTips);
        m_tags = std::move(preferences.tags);
        m_strProjectFile = std::move(preferences.projectFile);
    }
    UpdateData(false);
}

// On failure the window keeps the text typed into it; on success it shows the members again.
void CMainDialog::SavePreferences() {
    if (!WriteTextFile(kPreferencesFile,
                       FormatPreferencesText({m_strToolTips, m_tags, m_strProjectFile}))) {
        MessageBox("Save to File", "Error Writing File");
        return;
    }
    UpdateData(false);
}

}  // namespace vistello
