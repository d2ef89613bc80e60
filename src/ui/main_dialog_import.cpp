#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "files/current_dir_guard.h"
#include "files/path_rules.h"
#include "framework/progress.h"
#include "framework/window_host.h"
#include "framework/window_system.h"
#include "slides/folder_import.h"
#include "slides/photo_fields.h"
#include "text/counts.h"
#include "text/visible_controls.h"
#include "ui/main_dialog.h"
#include "ui/messages.h"

namespace vistello {

namespace {

std::string ImportReport(size_t added, const NewImages& images) {
    std::string text = CountOf(added, "image") + " added.";
    if (images.skipped > 0)
        text += "\r\n" + CountOf(images.skipped, "image") + " already in the list skipped.";
    if (!images.unfit.empty())
        text += "\r\n" + CountOf(images.unfit.size(), "image") + " " + kUnfitNameReason;
    for (const std::string& path : images.unfit) text += "\r\n" + WithVisibleControls(path);
    if (!images.refused.empty()) text += "\r\nLeft out:";
    for (const std::string& line : images.refused) text += "\r\n" + WithVisibleControls(line);
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
    AddImages(NewImagesIn(Files(), *folder, ListedImages()), "Import Directory");
}

// A single project file dropped on the window is opened; whatever else is dropped adds the
// images among it, as Import Directory adds a folder's, at the place dropped on where there is one.
void CMainDialog::OnDropFiles(const std::vector<std::string>& paths, int at) {
    UpdateData(true);
    if (paths.size() == 1 && IsProjectFileName(FileNameOf(paths.front())) &&
        IsRegularFile(Files(), paths.front())) {
        if (IsProjectAt(paths.front())) {
            OpenProject(paths.front());
        } else {
            MessageBox("This file is not a project and was not opened:\r\n" + paths.front(),
                       "Open");
        }
        return;
    }
    AddImages(DroppedImages(Files(), paths, ListedImages()), "Dropped Images", at);
}

// Reading each photo's details takes a while for a large folder, so the user sees the count.
void CMainDialog::AddImages(const NewImages& images, const std::string& caption, int at) {
    std::vector<ImageEntry> entries;
    entries.reserve(images.paths.size());
    {
        const std::unique_ptr<Progress> progress =
            System().StartProgress(static_cast<int>(images.paths.size()), "Photo", &Host());
        for (const std::string& path : images.paths) {
            entries.push_back(EntryFromPhoto(Photos(), path));
            if (!progress->Step(static_cast<int>(entries.size()))) return;
        }
    }
    const size_t added = entries.size();
    m_listEntries.InsertAt(std::max(at, 0), std::move(entries));
    AutoSizeColumns();
    RefreshEntryCount();
    MessageBox(ImportReport(added, images), caption);
}

// Only empty fields are filled: what the user typed stays.
void CMainDialog::OnFillFromPhoto() {
    UpdateData(true);
    const std::optional<PhotoDetails> details = Photos().Read(m_strImagePath);
    if (!details) {
        MessageBox("The details of this image could not be read:\r\n" + m_strImagePath,
                   "Fill From Photo");
        return;
    }
    const ImageEntry read = FieldsFromDetails(*details);
    const std::pair<std::string*, const std::string*> fields[] = {
        {&m_strTitle, &read.title},
        {&m_strAlt, &read.alt},
        {&m_strKeywords, &read.keywords},
        {&m_strDescription, &read.description}};
    for (const auto& [field, value] : fields) {
        if (field->empty()) *field = *value;
    }
    UpdateData(false);
}

}  // namespace vistello
