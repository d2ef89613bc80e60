#include <optional>

#include "files/text_file.h"
#include "framework/window_system.h"
#include "prefs/preferences_file.h"
#include "ui/main_dialog.h"
#include "ui/preferences_dialog.h"
#include "ui/web_images_dialog.h"

namespace vistello {

// A file that is missing or cannot be read changes nothing.
void CMainDialog::LoadPreferences() {
    UpdateData(true);
    std::optional<std::string> text;
    if (CreateFileIfMissing(Files(), kPreferencesFile))
        text = ReadLineFile(Files(), kPreferencesFile);
    if (text) {
        Preferences preferences{m_strToolTips, m_tags, m_strProjectFile};
        ParsePreferencesText(*text, preferences);
        m_strToolTips = std::move(preferences.toolTips);
        m_tags = std::move(preferences.tags);
        m_strProjectFile = std::move(preferences.projectFile);
        m_pictures.UseSettings(ReadPicturesSettings(preferences));
    }
    UpdateData(false);
}

// The project named is the one the user opened, not an album of it, so that the next start
// opens the whole. On failure the window keeps the text typed into it; on success it shows the
// members again.
void CMainDialog::SavePreferences() {
    Preferences preferences{m_strToolTips, m_tags, TopProjectFile()};
    KeepPicturesSettings(m_pictures.Settings(), preferences);
    if (!WriteTextFile(Files(), kPreferencesFile, FormatPreferencesText(preferences))) {
        MessageBox("Save to File", "Error Writing File");
        return;
    }
    UpdateData(false);
}

// However the dialog closes, its copy comes back and the file is written: Escape keeps the values
// it opened with, which are the tags with their defaults filled in, and the tips as they were.
void CMainDialog::OnPreferences() {
    CPreferencesDialog preferences;
    preferences.m_bToolTips = ToolTipsOn(m_strToolTips);
    preferences.m_tags = m_tags;
    preferences.m_tags.FillEmptyWithDefaults();
    preferences.DoModal(System(), &Host());
    m_tags = preferences.m_tags;
    m_strToolTips = preferences.m_bToolTips ? "yes" : "no";
    System().EnableToolTips(preferences.m_bToolTips);
    SavePreferences();
}

// The settings are the project's: they are written with it, not with the preferences.
void CMainDialog::OnWebImages() {
    UpdateData(true);
    CWebImagesDialog dialog(m_web);
    if (dialog.DoModal(System(), &Host()) == IDOK) m_web = dialog.Settings();
    UpdateData(false);
}

void CMainDialog::OnMenuPreferences() {
    UpdateData(true);
    OnPreferences();
    UpdateData(false);
}

}  // namespace vistello
