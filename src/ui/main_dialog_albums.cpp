#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/current_dir_guard.h"
#include "files/path_rules.h"
#include "files/text_file.h"
#include "framework/progress.h"
#include "framework/window_host.h"
#include "framework/window_system.h"
#include "output/owned_files.h"
#include "project/project_file.h"
#include "site/tree_import.h"
#include "slides/slide_kind.h"
#include "text/counts.h"
#include "text/visible_controls.h"
#include "ui/main_dialog.h"
#include "ui/messages.h"

namespace vistello {

namespace {

constexpr const char* kImportTreeCaption = "Import Folder Tree as Albums";

// Each line made safe to show, below its heading.
std::string Lines(const std::string& heading, const std::vector<std::string>& lines) {
    std::string text = "\r\n" + heading;
    for (const std::string& line : lines) text += "\r\n" + WithVisibleControls(line);
    return text;
}

std::string TreeImportReport(const TreeImport& tree) {
    std::string text = CountOf(tree.albumsMade, "album") + " made, " +
                       CountOf(tree.photosAdded, "image") + " added.";
    if (tree.skipped > 0) {
        text += "\r\n" + CountOf(static_cast<long long>(tree.skipped), "image") +
                " already in the albums skipped.";
    }
    if (!tree.leftOut.empty()) text += Lines("Left out:", tree.leftOut);
    if (!tree.takenOut.empty()) text += Lines("Taken out:", tree.takenOut);
    if (!tree.unfit.empty()) {
        text += Lines(
            CountOf(static_cast<long long>(tree.unfit.size()), "image") + " " + kUnfitNameReason,
            tree.unfit);
    }
    return text;
}

// The name an album goes by in the caption: its project's, without the extension.
std::string AlbumName(const std::string& projectFile) {
    return std::string(StemOf(FileNameOf(projectFile)));
}

}  // namespace

bool CMainDialog::IsProjectAt(const std::string& path) {
    if (!IsRegularFile(Files(), path)) return false;
    const std::optional<std::string> text = ReadLineFile(Files(), path);
    return text && HoldsProject(*text);
}

std::string CMainDialog::TopProjectFile() const {
    return m_albumTrail.empty() ? m_strProjectFile : m_albumTrail.front().from;
}

// "Vistello: site.dat › 2024 › Italy": the project the user opened, then the albums gone into.
std::string CMainDialog::AlbumTrailCaption() const {
    std::string caption = ProjectFileOrDefault(TopProjectFile());
    for (const AlbumStep& step : m_albumTrail) caption += " › " + AlbumName(step.album);
    return caption;
}

// Every sub-folder of the chosen folder becomes an album, written beside the project; the
// folder's own photos and its albums join the list at the top, as Import Directory adds them, and
// its rows whose files left the tree go. Cancel while the photos are read writes and adds nothing.
void CMainDialog::OnImportFolderTree() {
    UpdateData(true);
    std::optional<std::string> folder;
    {
        CurrentDirGuard keepDirectory;
        folder = Host().PickFolder(kImportTreeCaption, "");
    }
    if (!folder || folder->empty()) return;
    TopProject top;
    for (int row = 0; row < m_listEntries.RowCount(); ++row)
        top.rows.push_back(m_listEntries.Row(row).imagePath);
    top.imported = m_imported;
    TreeImport tree;
    {
        std::unique_ptr<Progress> progress;
        tree = ImportTree(Files(), Photos(), *folder, ProjectFileName(), top, false,
                          [this, &progress](int done, int total) {
                              if (!progress)
                                  progress = System().StartProgress(total, "Photo", &Host());
                              return progress->Step(done);
                          });
    }
    if (tree.stopped) return;
    TakeOutRows(m_listEntries, tree.gone);
    m_listEntries.InsertTop(std::move(tree.rows));
    m_imported = std::move(tree.imported);
    AutoSizeColumns();
    RefreshEntryCount();
    MessageBox(TreeImportReport(tree), kImportTreeCaption);
}

void CMainDialog::OnOpenAlbum() {
    UpdateData(true);
    const int row = m_listView.SelectionMark();
    if (!m_listEntries.HasRow(row) ||
        SlideKindOf(m_listEntries.Row(row).imagePath) != SlideKind::Album) {
        MessageBox("Select an album in the list first: a row whose image is a project (.dat).",
                   "Open Album");
        return;
    }
    OpenAlbum(m_listEntries.Row(row).imagePath);
}

// A double click on a photo has done its work with its first click.
int CMainDialog::OnDoubleClickList(const Notification& notification) {
    if (m_listEntries.HasRow(notification.item) &&
        SlideKindOf(m_listEntries.Row(notification.item).imagePath) == SlideKind::Album) {
        UpdateData(true);
        OpenAlbum(m_listEntries.Row(notification.item).imagePath);
    }
    return 0;
}

// The project in hand is saved and replaced by the album's, as Open replaces it; the way back is
// kept. A missing file is not made up as an empty album, and an album already open further up
// is not gone into again.
void CMainDialog::OpenAlbum(std::string album) {
    if (!IsProjectAt(album)) {
        MessageBox("This album's project cannot be read as a project:\r\n" + album, "Open Album");
        return;
    }
    const std::string key = ProjectKey(album);
    bool open = ProjectKey(ProjectFileName()) == key;
    for (const AlbumStep& step : m_albumTrail) open = open || ProjectKey(step.from) == key;
    if (open) {
        MessageBox("This album is open already, further up:\r\n" + album, "Open Album");
        return;
    }
    std::vector<AlbumStep> trail = m_albumTrail;
    trail.push_back({m_strProjectFile, album});
    OpenProject(album, std::move(trail));
}

// Back one level: the album is saved as Open saves a project, the project it was opened from is
// read again, and the album's row is selected.
void CMainDialog::OnCloseAlbum() {
    UpdateData(true);
    if (m_albumTrail.empty()) {
        MessageBox("No album is open: this is the project itself.", "Close Album");
        return;
    }
    std::vector<AlbumStep> trail = m_albumTrail;
    const AlbumStep back = std::move(trail.back());
    trail.pop_back();
    if (!OpenProject(back.from, std::move(trail))) return;
    for (int row = 0; row < m_listEntries.RowCount(); ++row) {
        if (m_listEntries.Row(row).imagePath != back.album) continue;
        m_listView.SetSelectionMark(row);
        LoadRowIntoFields(row);
        break;
    }
    UpdateData(false);
}

bool CMainDialog::CloseAlbumsToTop() {
    while (!m_albumTrail.empty()) {
        const size_t depth = m_albumTrail.size();
        OnCloseAlbum();
        if (m_albumTrail.size() == depth) return false;
    }
    return true;
}

// The show's cover where the show is an album: a photo or clip of its own, never another album.
void CMainDialog::OnUseAsCover() {
    UpdateData(true);
    const int row = m_listView.SelectionMark();
    if (!m_listEntries.HasRow(row)) return;
    const std::string& path = m_listEntries.Row(row).imagePath;
    if (SlideKindOf(path) == SlideKind::Album) {
        MessageBox("An album's cover is one of its own photos: select a photo.",
                   "Use as Album Cover");
        return;
    }
    m_web.cover = path;
    UpdateData(false);
}

}  // namespace vistello
