#include <optional>
#include <string>

#include "files/current_dir_guard.h"
#include "framework/window_host.h"
#include "slides/image_kinds.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"
#include "ui/template_picker.h"

namespace vistello {

namespace {

FilePickerOptions ImagePicker() {
    FilePickerOptions options{"", {}, "jpg", ""};
    for (const ImageKind& kind : ImageKinds()) {
        FileFilter filter{std::string(kind.label), {}};
        for (const std::string_view extension : kind.extensions)
            filter.patterns.push_back("*." + std::string(extension));
        options.filters.push_back(std::move(filter));
    }
    options.filters.push_back({"All Files", {"*"}});
    return options;
}

}  // namespace

// The file pickers take nothing in first: afterwards every field shows its member again. They
// open where the field's text, as shown, points.
void CMainDialog::PickFileInto(FilePickerOptions options, int control, std::string& field) {
    options.folder = ExistingFolderOf(Files(), Host().GetText(control));
    std::optional<std::string> chosen;
    {
        CurrentDirGuard keepDirectory;
        chosen = Host().PickOpenFile(options);
    }
    if (chosen) field = std::move(*chosen);
    UpdateData(false);
}

void CMainDialog::OnBrowseImage() { PickFileInto(ImagePicker(), ids::kImagePath, m_strImagePath); }

void CMainDialog::OnBrowseTemplate() {
    PickFileInto(TemplatePicker(), ids::kTemplate, m_strTemplate);
}

void CMainDialog::OnBrowseOutputFolder() {
    UpdateData(true);
    std::optional<std::string> chosen;
    {
        CurrentDirGuard keepDirectory;
        chosen =
            Host().PickFolder("Browse for Folders", ExistingFolderOf(Files(), m_strOutputFolder));
    }
    if (chosen && !chosen->empty()) m_strOutputFolder = std::move(*chosen);
    UpdateData(false);
}

}  // namespace vistello
