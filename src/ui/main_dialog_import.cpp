#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "files/current_dir_guard.h"
#include "files/path_rules.h"
#include "framework/window_host.h"
#include "slides/folder_import.h"
#include "text/counts.h"
#include "ui/main_dialog.h"

namespace vistello {

namespace {

std::string ImportReport(size_t added, size_t skipped) {
    std::string text = CountOf(added, "image") + " added.";
    if (skipped > 0) text += "\r\n" + CountOf(skipped, "image") + " already in the list skipped.";
    return text;
}

}  // namespace

// Every image straight in the chosen folder becomes a slide, unless the list already shows it;
// the first file by name ends at the top.
void CMainDialog::OnImportDirectory() {
    UpdateData(true);
    std::optional<std::string> folder;
    {
        CurrentDirGuard keepDirectory;
        folder = Host().PickFolder("Import Directory", "");
    }
    if (!folder || folder->empty()) return;
    std::unordered_set<std::string_view> known;
    for (int row = 0; row < m_listEntries.RowCount(); ++row) {
        known.insert(m_listEntries.Row(row).imagePath);
    }
    const std::vector<std::string> files = ImageFilesIn(Files(), *folder);
    std::vector<ImageEntry> entries;
    for (const std::string& path : files) {
        if (known.count(path) != 0) continue;
        ImageEntry entry;
        entry.title = TitleFromFileName(FileNameOf(path));
        entry.imagePath = path;
        entries.push_back(std::move(entry));
    }
    const size_t added = entries.size();
    m_listEntries.InsertTop(std::move(entries));
    AutoSizeColumns();
    RefreshEntryCount();
    MessageBox(ImportReport(added, files.size() - added), "Import Directory");
}

}  // namespace vistello
