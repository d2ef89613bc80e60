#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "platform/current_dir_guard.h"
#include "platform/text_file.h"
#include "platform/window_host.h"
#include "project/project_file.h"
#include "ui/main_dialog.h"
#include "ui/messages.h"

namespace vistello {

namespace {

FilePickerOptions ProjectPicker() {
    return {"", {{"Vistello DAT Files", {"*.dat"}}, {"All Files", {"*"}}}, "dat", ""};
}

}  // namespace

std::string CMainDialog::ProjectFileName() const {
    return m_strProjectFile.empty() ? kDefaultProjectFile : m_strProjectFile;
}

// A missing file is created empty, so the first run leaves the project where the next one looks.
void CMainDialog::ReadProjectFile() {
    UpdateData(true);
    const std::string fileName = ProjectFileName();
    Host().SetCaption("Vistello: " + fileName);
    std::optional<std::string> text;
    if (CreateFileIfMissing(Files(), fileName)) text = ReadTextFile(Files(), fileName);
    ProjectFields fields{m_strTemplate, m_strOutputFolder, PageFields()};
    std::vector<std::unique_ptr<ImageEntry>> entries = ParseProjectText(text.value_or(""), fields);
    m_strTemplate = std::move(fields.templateFile);
    m_strOutputFolder = std::move(fields.outputFolder);
    SetPageFields(fields.page);
    if (!entries.empty()) {
        std::reverse(entries.begin(), entries.end());
        m_listEntries.InsertTop(std::move(entries));
        AutoSizeColumns();
        RefreshEntryCount();
    }
    UpdateData(false);
}

// Typed text that no command has taken in is replaced on screen, not written; afterwards the
// page fields show the top row, as if every row had passed through them on its way out.
bool CMainDialog::WriteProjectFile() {
    m_nEntryCount = m_listEntries.RowCount();
    UpdateData(false);
    const bool written =
        WriteTextFile(Files(), ProjectFileName(),
                      FormatProjectText(m_strTemplate, m_strOutputFolder, m_listEntries));
    if (written) {
        LoadRowIntoFields(0);
    } else {
        MessageBox("Save to File", "Error Writing File");
    }
    UpdateData(false);
    return written;
}

// The rows go only once a new file is chosen: a cancelled picker leaves the project whole.
void CMainDialog::OnNewProject() {
    UpdateData(true);
    if (AfxMessageBox(kClearListQuestion, MsgButtons::YesNo) == MsgAnswer::Yes) {
        std::optional<std::string> chosen;
        {
            CurrentDirGuard keepDirectory;
            chosen = Host().PickSaveFile(ProjectPicker());
        }
        if (chosen) {
            m_listEntries.DeleteAll();
            m_strProjectFile = *chosen;
            Host().SetCaption("Framewright Vistello: " + m_strProjectFile);
            WriteProjectFile();
        }
    }
    AutoSizeColumns();
    RefreshEntryCount();
    UpdateData(false);
}

std::optional<std::string> CMainDialog::PickProjectFile(bool forSaving) {
    FilePickerOptions options = ProjectPicker();
    options.folder = ExistingFolderOf(ProjectFileName());
    CurrentDirGuard keepDirectory;
    return forSaving ? Host().PickSaveFile(options) : Host().PickOpenFile(options);
}

// The project in hand is saved before another one replaces it; if it cannot be saved, it stays.
void CMainDialog::OnFileOpen() {
    UpdateData(true);
    const std::optional<std::string> chosen = PickProjectFile(false);
    if (!chosen || !WriteProjectFile()) return;
    m_listEntries.DeleteAll();
    m_strProjectFile = *chosen;
    m_strTemplate.clear();
    m_strOutputFolder.clear();
    SetPageFields(ImageEntry{});
    RefreshEntryCount();
    ReadProjectFile();
    if (m_strTemplate.empty()) m_strTemplate = kDefaultTemplate;
    UpdateData(false);
}

void CMainDialog::OnFileSaveAs() {
    UpdateData(true);
    const std::optional<std::string> chosen = PickProjectFile(true);
    if (chosen) {
        m_strProjectFile = *chosen;
        Host().SetCaption("Vistello: " + m_strProjectFile);
        WriteProjectFile();
    }
    UpdateData(false);
}

void CMainDialog::OnFileSave() {
    UpdateData(true);
    WriteProjectFile();
    UpdateData(false);
}

}  // namespace vistello
