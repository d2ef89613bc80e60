#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <variant>
#include <vector>

#include "framework/window_system.h"
#include "generator/generate_request.h"
#include "generator/page_set.h"
#include "media/image_maker.h"
#include "text/counts.h"
#include "ui/main_dialog.h"
#include "ui/messages.h"

namespace vistello {

namespace {

constexpr const char* kEmptyListText =
    "Please add some pictures before generating your slide show.\r\n"
    "Simply fill in the page details and press the Add button to add an image.";
constexpr const char* kGeneratedQuestion =
    "Your pages have been generated.\nWould you like to view them?";

// The desktop's program for the page does not share our current directory.
std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

// Enough lines to say what went wrong while the box still fits on the screen.
constexpr size_t kFileLinesShown = 10;

// Each file that failed on its own line, with its reason.
std::string FileLines(const std::vector<std::string>& failures) {
    std::string text;
    for (size_t i = 0; i < failures.size() && i < kFileLinesShown; ++i)
        text += "\r\n" + failures[i];
    if (failures.size() > kFileLinesShown)
        text += "\r\n... and " +
                GroupThousands(static_cast<long long>(failures.size() - kFileLinesShown)) +
                " more.";
    return text;
}

// "1 file ... was", "2 files ... were".
std::string FilesNoLongerNeeded(size_t count) {
    return CountOf(static_cast<long long>(count), "file") + " the show no longer needs" +
           (count == 1 ? " was" : " were");
}

// Images first, then pages, then files the show no longer needs, each on its own line
// when more than one failed; then the files.
std::string FailureText(const PageSetResult& result) {
    std::vector<std::string> counts;
    if (result.imagesFailed > 0) {
        counts.push_back(std::to_string(result.imagesFailed) + " of " +
                         std::to_string(result.images) + " images could not be copied.");
    }
    if (result.pagesFailed > 0) {
        counts.push_back(std::to_string(result.pagesFailed) + " of " +
                         std::to_string(result.pages) + " pages could not be written.");
    }
    if (result.removalsFailed > 0) {
        counts.push_back(CountOf(result.removalsFailed, "file") +
                         " the show no longer needs could not be removed.");
    }
    std::string text;
    for (const std::string& count : counts) text += (text.empty() ? "" : "\r\n") + count;
    return text + FileLines(result.failures);
}

// What Generate did with the files it wrote before that the show no longer needs (slides taken
// out, or sizes no longer made), when there were any.
std::string RemovedText(const PageSetResult& result) {
    std::string text;
    if (!result.removed.empty()) text = FilesNoLongerNeeded(result.removed.size()) + " removed.\n";
    if (!result.kept.empty())
        text += FilesNoLongerNeeded(result.kept.size()) + " kept:" + FileLines(result.kept) + "\n";
    return text;
}

// Said before the closing question, and only when it applies.
std::string ConvertedText(const PageSetResult& result) {
    std::string text;
    if (result.converted > 0) {
        text = CountOf(result.converted, "photo") + (result.converted == 1 ? " was" : " were") +
               " converted to a format every browser shows.\n";
    }
    if (!result.clipsCopied.empty())
        text += "Clips were copied as they are: " + result.clipsCopied + ".\n";
    return text;
}

std::string StoppedText(const PageSetResult& result) {
    std::string text =
        result.failure.empty() ? std::string() : "Generating failed: " + result.failure + "\r\n";
    text += "Generating stopped: " + GroupThousands(result.pagesWritten) + " of " +
            GroupThousands(result.pages) + " pages were written.";
    if (result.pagesFailed > 0 || result.imagesFailed > 0) {
        text += "\r\n" + FailureText(result);
    } else {
        text += FileLines(result.failures);
    }
    return text;
}

}  // namespace

void CMainDialog::OnGenerate() {
    UpdateData(true);
    m_tags.FillEmptyWithDefaults();
    const PreparedGenerate prepared =
        m_nEntryCount < 1
            ? GenerateRefusal::NoEntries
            : PrepareGenerate(Files(), m_listEntries, m_strTemplate, m_strOutputFolder, m_web);
    if (const GenerateRefusal* refusal = std::get_if<GenerateRefusal>(&prepared)) {
        ShowRefusal(*refusal);
        return;
    }
    const GenerateRequest& request = std::get<GenerateRequest>(prepared);
    m_strOutputFolder = request.outputFolder;
    const PageSetResult result = GeneratePages(request);
    if (result.stopped) {
        AfxMessageBox(StoppedText(result), MsgButtons::Ok);
        return;
    }
    if (result.pagesFailed > 0 || result.imagesFailed > 0 || result.removalsFailed > 0) {
        AfxMessageBox(RemovedText(result) + FailureText(result), MsgButtons::Ok);
        return;
    }
    if (AfxMessageBox(ConvertedText(result) + RemovedText(result) + kGeneratedQuestion,
                      MsgButtons::YesNo) == MsgAnswer::Yes) {
        System().OpenDocument(AbsolutePath(m_strOutputFolder + result.firstPage));
    }
}

void CMainDialog::ShowRefusal(GenerateRefusal refusal) {
    switch (refusal) {
        case GenerateRefusal::NoEntries:
            MessageBox(kEmptyListText, "Empty List");
            return;
        case GenerateRefusal::TemplateUnreadable:
            MessageBox("Error loading file", "Error");
            return;
        case GenerateRefusal::NoSuchFolder:
            MessageBox("Output folder not found:\r\n" + m_strOutputFolder, "Error");
            return;
        case GenerateRefusal::OverviewUnreadable:
            MessageBox("Error loading the overview page template:\r\n" + m_web.overviewTemplate,
                       "Error");
            return;
    }
}

// The page fields end on the last entry, as if each entry had been shown in turn; only a page
// that fails is shown while its box is up, so a long list costs no exchange per entry. Images to
// make are counted first, then pages. The progress goes away before the caller's closing box.
PageSetResult CMainDialog::GeneratePages(const GenerateRequest& request) {
    std::unique_ptr<Progress> progress;
    int imagesShown = -1;
    int clipsShown = -1;
    WebShow web{request.web,
                request.overviewText,
                &Images(),
                [this, &progress, &imagesShown](int done, int total) {
                    if (total != imagesShown) {
                        progress.reset();
                        progress = System().StartProgress(total, "Image", &Host());
                        imagesShown = total;
                    }
                    return progress->Step(done);
                },
                0,
                &Photos(),
                m_clips,
                [this, &progress, &clipsShown](int done, int total, int percent) {
                    if (total != clipsShown) {
                        progress.reset();
                        progress = System().StartProgress(total, "Clip", &Host());
                        clipsShown = total;
                    }
                    return progress->StepWithin(done, percent);
                },
                ProjectFileName(),
                request.templateFile,
                nullptr};
    const PageSetResult result = WritePageSet(
        Files(), request.rows, request.templateText, m_tags, request.outputFolder,
        [this, &progress, &request](int row, bool written) {
            if (row == 0) {
                progress.reset();
                progress =
                    System().StartProgress(static_cast<int>(request.rows.size()), "Page", &Host());
            }
            if (!written) ShowUnwrittenPage(row);
            return progress->Step(row + 1);
        },
        &m_generated, &web);
    progress.reset();
    LoadRowIntoFields(m_listEntries.RowCount() - 1);
    UpdateData(false);
    return result;
}

void CMainDialog::ShowUnwrittenPage(int row) {
    LoadRowIntoFields(row);
    UpdateData(false);
    MessageBox("Save to File", "Error Saving File.");
}

}  // namespace vistello
