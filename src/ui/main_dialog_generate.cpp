#include <algorithm>
#include <cctype>
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
#include "site/album_tree.h"
#include "site/site_writer.h"
#include "text/counts.h"
#include "ui/album_secrets.h"
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
// out, or sizes no longer made), and with files in its way it did not write, when there were any.
std::string RemovedText(const PageSetResult& result) {
    std::string text;
    if (!result.removed.empty()) text = FilesNoLongerNeeded(result.removed.size()) + " removed.\n";
    if (!result.kept.empty())
        text += FilesNoLongerNeeded(result.kept.size()) + " kept:" + FileLines(result.kept) + "\n";
    if (!result.passed.empty()) {
        const bool one = result.passed.size() == 1;
        text += CountOf(static_cast<long long>(result.passed.size()), "file") +
                " this show did not write " +
                (one ? "was left as it is" : "were left as they are") +
                ", the show's own named otherwise:" + FileLines(result.passed) + "\n";
    }
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

// The albums a site was made without, each with why.
std::string SkippedText(const std::vector<std::string>& skipped) {
    if (skipped.empty()) return {};
    return CountOf(static_cast<long long>(skipped.size()), "album") +
           (skipped.size() == 1 ? " was" : " were") + " left out:" + FileLines(skipped);
}

// A line after the text before it, when both say something.
std::string Joined(const std::string& first, const std::string& second) {
    return first.empty() || second.empty() ? first + second : first + "\r\n" + second;
}

// The site's refusal is worded as a line; the box shows it as a sentence.
std::string Sentence(std::string text) {
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
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

// The list's row of the top show's slide: the top's slides are its rows but its albums.
int ListRowOf(const GenerateRequest& request, const Site& site, int slide) {
    const std::vector<const ImageEntry*>& slides = site.albums.front().slides;
    if (slide < 0 || static_cast<size_t>(slide) >= slides.size()) return -1;
    const auto row = std::find(request.rows.begin(), request.rows.end(), slides[slide]);
    return row == request.rows.end() ? -1 : static_cast<int>(row - request.rows.begin());
}

}  // namespace

void CMainDialog::OnGenerate() {
    // An album is part of the site its top project makes: Generate goes back up and makes that.
    if (!CloseAlbumsToTop()) return;
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
    std::optional<Site> site;
    if (IsMadeAsSite(Files(), request, ProjectFileName())) {
        std::variant<Site, std::string> loaded = LoadSite(Files(), request, ProjectFileName());
        if (const std::string* refusal = std::get_if<std::string>(&loaded)) {
            MessageBox(Sentence(*refusal), "Error");
            return;
        }
        site = std::move(std::get<Site>(loaded));
    }
    m_strOutputFolder = request.outputFolder;
    const SiteResult made = GeneratePages(request, site ? &*site : nullptr);
    const PageSetResult& result = made.pages;
    if (result.stopped) {
        AfxMessageBox(Joined(StoppedText(result), SkippedText(made.skipped)), MsgButtons::Ok);
        return;
    }
    if (result.pagesFailed > 0 || result.imagesFailed > 0 || result.removalsFailed > 0 ||
        !made.skipped.empty()) {
        AfxMessageBox(RemovedText(result) + Joined(FailureText(result), SkippedText(made.skipped)),
                      MsgButtons::Ok);
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
// make are counted first, then pages; in a site, each album's own, named by its place ("Album 3
// of 41 · Image 12 of 80"). The progress goes away before the caller's closing box, and while a
// private album's password is asked.
SiteResult CMainDialog::GeneratePages(const GenerateRequest& request, const Site* site) {
    std::unique_ptr<Progress> progress;
    int imagesShown = -1;
    int clipsShown = -1;
    std::string album;
    bool top = true;
    int pages = static_cast<int>(request.rows.size());
    SiteTools tools;
    tools.images = &Images();
    tools.photos = &Photos();
    tools.clips = m_clips;
    tools.memory = &m_generated;
    tools.placesFile = m_placesFile;
    if (site && HoldsPrivate(*site) && m_loadCipher)
        tools.cipher = m_loadCipher(tools.cipherFailure);
    tools.onAlbum = [&](int done, int albums, int slides) {
        album = "Album " + GroupThousands(done) + " of " + GroupThousands(albums) + " · ";
        top = done == albums;
        pages = slides;
        imagesShown = -1;
        clipsShown = -1;
        return true;
    };
    tools.onImage = [&](int done, int total) {
        if (total != imagesShown || !progress) {
            progress.reset();
            progress = System().StartProgress(total, album + "Image", &Host());
            imagesShown = total;
        }
        return progress->Step(done);
    };
    tools.onClip = [&](int done, int total, int percent) {
        if (total != clipsShown || !progress) {
            progress.reset();
            progress = System().StartProgress(total, album + "Clip", &Host());
            clipsShown = total;
        }
        return progress->StepWithin(done, percent);
    };
    // An album's rows are not in the list, so its page that fails leaves the fields alone.
    tools.onPage = [&](int row, bool written) {
        if (row == 0 || !progress) {
            progress.reset();
            progress = System().StartProgress(pages, album + "Page", &Host());
        }
        if (!written) ShowUnwrittenPage(!top ? -1 : site ? ListRowOf(request, *site, row) : row);
        return progress->Step(row + 1);
    };
    WindowAlbumSecrets secrets(System(), Host(), AlbumKeyring(), m_keyringFailureTold);
    tools.secretFor = [&](const std::string& project, const std::string& title) {
        progress.reset();
        return secrets.For(project, title);
    };
    tools.onSecret = [&secrets](const std::string& project, const AlbumSecret& secret) {
        secrets.Kept(project, secret);
    };
    SiteResult made;
    if (site) {
        made = WriteSite(Files(), *site, m_tags, request.outputFolder, tools);
    } else {
        const WebShow web{request.web,
                          request.overviewText,
                          tools.images,
                          tools.onImage,
                          0,
                          tools.photos,
                          tools.clips,
                          tools.onClip,
                          ProjectFileName(),
                          request.templateFile,
                          nullptr,
                          m_placesFile,
                          {}};
        made.pages = WritePageSet(Files(), request.rows, request.templateText, m_tags,
                                  request.outputFolder, tools.onPage, &m_generated, &web);
    }
    progress.reset();
    LoadRowIntoFields(m_listEntries.RowCount() - 1);
    UpdateData(false);
    return made;
}

void CMainDialog::ShowUnwrittenPage(int row) {
    LoadRowIntoFields(row);
    UpdateData(false);
    MessageBox("Save to File", "Error Saving File.");
}

}  // namespace vistello
