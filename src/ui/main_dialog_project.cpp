#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "files/current_dir_guard.h"
#include "files/keep_aside.h"
#include "files/text_file.h"
#include "framework/window_host.h"
#include "project/project_file.h"
#include "show/template_file.h"
#include "ui/main_dialog.h"
#include "ui/messages.h"

namespace vistello {

namespace {

FilePickerOptions ProjectPicker() {
    return {"", {{"Vistello DAT Files", {"*.dat"}}, {"All Files", {"*"}}}, "dat", ""};
}

}  // namespace

std::string CMainDialog::ProjectFileName() const { return ProjectFileOrDefault(m_strProjectFile); }

// New Project names the program in full, as that command always has; every other way to a
// project keeps the short name that users and window rules already know.
// Inside an album, the caption shows the way down to it.
void CMainDialog::ShowProjectCaption(bool madeByNewProject) {
    Host().SetCaption((madeByNewProject ? "Framewright Vistello: " : "Vistello: ") +
                      (m_albumTrail.empty() ? ProjectFileName() : AlbumTrailCaption()));
}

// A missing file is created empty, so the first run leaves the project where the next one looks.
// The stamp is taken before the read: a write that slips in between is then seen as a change.
void CMainDialog::ReadProjectFile() {
    UpdateData(true);
    const std::string fileName = ProjectFileName();
    ShowProjectCaption(false);
    std::optional<std::string> text;
    if (CreateFileIfMissing(Files(), fileName)) {
        m_projectStamp = StampOf(Files(), fileName);
        text = ReadLineFile(Files(), fileName);
    }
    ProjectFields fields{m_strTemplate, m_strOutputFolder, m_web, PageFields(), {}};
    std::vector<std::unique_ptr<ImageEntry>> entries = ParseProjectText(text.value_or(""), fields);
    m_strTemplate = std::move(fields.templateFile);
    m_strOutputFolder = std::move(fields.outputFolder);
    m_web = std::move(fields.web);
    m_imported = std::move(fields.imported);
    SetPageFields(fields.page);
    if (!entries.empty()) {
        std::reverse(entries.begin(), entries.end());
        m_listEntries.InsertTop(std::move(entries));
        AutoSizeColumns();
        RefreshEntryCount();
    }
    UpdateData(false);
}

bool CMainDialog::WriteProjectFile() { return WriteProjectTo(ProjectFileName(), true); }

// Typed text that no command has taken in is replaced on screen, not written; afterwards the
// page fields show the top row, as if every row had passed through them on its way out. A
// version that someone else wrote since this window last read or wrote the file is copied aside
// first, so that neither list is lost.
bool CMainDialog::WriteProjectTo(const std::string& fileName, bool keepOtherVersion) {
    m_nEntryCount = m_listEntries.RowCount();
    UpdateData(false);
    const bool changed = keepOtherVersion && ChangedElsewhere(fileName);
    std::optional<std::string> aside;
    if (changed) aside = KeepAside(Files(), fileName, "changed elsewhere");
    const bool written =
        (!changed || aside) && WriteTextFile(Files(), fileName,
                                             FormatProjectText(m_strTemplate, m_strOutputFolder,
                                                               m_web, m_listEntries, m_imported));
    if (written) {
        m_projectStamp = StampOf(Files(), fileName);
        LoadRowIntoFields(0);
    } else {
        MessageBox("Save to File", "Error Writing File");
    }
    UpdateData(false);
    if (written && aside) {
        MessageBox(
            "The project file was changed by another program since Vistello read it.\r\n"
            "That version is kept as " +
                *aside,
            "Project Changed Elsewhere");
    }
    return written;
}

bool CMainDialog::ChangedElsewhere(const std::string& fileName) {
    const std::optional<FileStamp> now = StampOf(Files(), fileName);
    return m_projectStamp && now && *now != *m_projectStamp;
}

// The rows go only once a new file is chosen: a cancelled picker leaves the project whole. The
// picker has asked before an existing file is replaced.
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
            m_imported.clear();
            m_strProjectFile = *chosen;
            m_albumTrail.clear();
            m_projectStamp.reset();
            ShowProjectCaption(true);
            WriteProjectTo(m_strProjectFile, false);
        }
    }
    AutoSizeColumns();
    RefreshEntryCount();
    UpdateData(false);
}

std::optional<std::string> CMainDialog::PickProjectFile(bool forSaving) {
    FilePickerOptions options = ProjectPicker();
    options.folder = ExistingFolderOf(Files(), ProjectFileName());
    CurrentDirGuard keepDirectory;
    return forSaving ? Host().PickSaveFile(options) : Host().PickOpenFile(options);
}

// The project in hand is saved before another one replaces it; if it cannot be saved, it stays.
void CMainDialog::OnFileOpen() {
    UpdateData(true);
    if (const std::optional<std::string> chosen = PickProjectFile(false)) OpenProject(*chosen);
}

bool CMainDialog::OpenProject(const std::string& fileName, std::vector<AlbumStep> trail) {
    if (!WriteProjectFile()) return false;
    m_listEntries.DeleteAll();
    m_strProjectFile = fileName;
    m_albumTrail = std::move(trail);
    m_strTemplate.clear();
    m_strOutputFolder.clear();
    m_web = WebSettings{};
    SetPageFields(ImageEntry{});
    RefreshEntryCount();
    ReadProjectFile();
    // An album that names no template takes the one of the project above it; saving the default
    // in its place would cut it loose.
    if (m_albumTrail.empty()) m_strTemplate = TemplateFileOrDefault(m_strTemplate);
    UpdateData(false);
    return true;
}

// The chosen file becomes the project only once the list is in it: a failed write leaves the
// project, its caption and where later writes go as they were.
void CMainDialog::OnFileSaveAs() {
    UpdateData(true);
    const std::optional<std::string> chosen = PickProjectFile(true);
    if (chosen && WriteProjectTo(*chosen, false)) {
        m_strProjectFile = *chosen;
        m_albumTrail.clear();
        ShowProjectCaption(false);
    }
    UpdateData(false);
}

void CMainDialog::OnFileSave() {
    UpdateData(true);
    WriteProjectFile();
    UpdateData(false);
}

}  // namespace vistello
