#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "generator/page_names.h"
#include "generator/page_text.h"
#include "platform/file_copy.h"
#include "platform/path_rules.h"
#include "platform/text_file.h"
#include "platform/window_system.h"
#include "ui/main_dialog.h"
#include "ui/messages.h"

namespace vistello {

namespace {

constexpr const char* kEmptyListText =
    "Please add some pictures before generating your slide show.\r\n"
    "Simply fill in the page details and press the Add button to add an image.";
constexpr const char* kGeneratedQuestion =
    "Your pages have been generated.\nWould you like to view them?";

bool IsFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// The desktop's program for the page does not share our current directory.
std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

std::string UnwrittenPagesText(int failed, int pages) {
    return std::to_string(failed) + " of " + std::to_string(pages) + " pages could not be written.";
}

}  // namespace

// Nothing is copied or written unless the template was read and the output folder exists, so a
// slip in either setting cannot leave a half-made set of empty pages behind.
void CMainDialog::OnGenerate() {
    UpdateData(true);
    m_tags.FillEmptyWithDefaults();
    if (m_nEntryCount < 1 || m_listEntries.RowCount() < 1) {
        MessageBox(kEmptyListText, "Empty List");
        return;
    }
    std::string templateText;
    if (!LoadTemplateFile(m_strTemplate.empty() ? kDefaultTemplate : m_strTemplate, templateText)) {
        return;
    }
    if (!m_strOutputFolder.empty() && !IsFolder(m_strOutputFolder)) {
        MessageBox("Output folder not found:\r\n" + m_strOutputFolder, "Error");
        return;
    }
    AppendSeparator(m_strOutputFolder);
    const int pages = m_listEntries.RowCount();
    const int failed = WritePageSet(templateText);
    UpdateData(false);
    if (failed > 0) {
        AfxMessageBox(UnwrittenPagesText(failed, pages), MsgButtons::Ok);
        return;
    }
    if (AfxMessageBox(kGeneratedQuestion, MsgButtons::YesNo) == MsgAnswer::Yes) {
        System().OpenDocument(
            AbsolutePath(m_strOutputFolder + PageFileName(m_listEntries.Row(0).title)));
    }
}

// The page fields end on the last entry, as if each entry had been shown in turn; only a page
// that fails is shown while its box is up, so a long list costs no exchange per entry.
int CMainDialog::WritePageSet(const std::string& templateText) {
    const int rows = m_listEntries.RowCount();
    int failed = 0;
    std::string backTarget;
    std::string pageName = PageFileName(m_listEntries.Row(0).title);
    for (int row = 0; row < rows; ++row) {
        LoadRowIntoFields(row);
        const ImageEntry& entry = m_listEntries.Row(row);
        std::string nextName = row + 1 < rows ? GetNextPageFileName(row) : std::string();
        static_cast<void>(
            CopyFileOver(entry.imagePath, m_strOutputFolder + FileNameOf(entry.imagePath)));
        const std::string text =
            BuildPageText(templateText, m_tags, entry, backTarget, EncodeLinkTarget(nextName));
        if (!SaveToFile(m_strOutputFolder + pageName, text)) ++failed;
        backTarget = EncodeLinkTarget(pageName);
        pageName = std::move(nextName);
    }
    return failed;
}

std::string CMainDialog::GetNextPageFileName(int row) const {
    return m_listEntries.HasRow(row + 1) ? PageFileName(m_listEntries.Row(row + 1).title)
                                         : std::string();
}

bool CMainDialog::LoadTemplateFile(const std::string& fileName, std::string& text) {
    UpdateData(true);
    std::optional<std::string> content = ReadTextFile(fileName);
    if (!content) {
        MessageBox("Error loading file", "Error");
        return false;
    }
    text = std::move(*content);
    return true;
}

bool CMainDialog::SaveToFile(const std::string& fileName, const std::string& text) {
    if (WriteTextFile(fileName, text, Flush::ToSystem)) return true;
    UpdateData(false);
    MessageBox("Save to File", "Error Saving File.");
    return false;
}

}  // namespace vistello
