#include "app/generate_command.h"

#include <cerrno>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "app/command_project.h"
#include "app/command_secrets.h"
#include "app/password_file.h"
#include "files/error_text.h"
#include "files/text_file.h"
#include "generator/generate_request.h"
#include "generator/page_set.h"
#include "project/project_file.h"
#include "show/template_file.h"
#include "site/album_tree.h"
#include "site/site_writer.h"
#include "slides/entry_list.h"
#include "text/counts.h"
#include "text/lossless_utf8.h"

namespace vistello {

namespace {

// Each refusal is one line naming what stops the run.
std::string RefusalText(GenerateRefusal refusal, const std::string& fileName,
                        const ProjectFields& fields) {
    switch (refusal) {
        case GenerateRefusal::NoEntries:
            return fileName + " holds no images to generate";
        case GenerateRefusal::TemplateUnreadable:
            return "cannot read the template " + TemplateFileOrDefault(fields.templateFile);
        case GenerateRefusal::NoSuchFolder:
            return "output folder not found: " + fields.outputFolder;
        case GenerateRefusal::OverviewUnreadable:
            return "cannot read the overview page template " + fields.web.overviewTemplate;
    }
    return {};
}

// The password for private albums, when a file gives it; false, after saying why, when the file
// gives none.
bool ReadAlbumPassword(FileOps& ops, const std::string& file, std::optional<std::string>& password,
                       std::ostream& err) {
    if (file.empty()) return true;
    password = ReadPasswordFile(ops, file);
    if (!password) {
        err << "vistello: cannot read the album password file " << file << ": " << ErrorText(errno)
            << "\n";
        return false;
    }
    // A reader types the password into a browser, which sends it as UTF-8.
    if (password->starts_with("\xEF\xBB\xBF")) password->erase(0, 3);
    if (password->empty()) {
        err << "vistello: the album password file " << file << " gives no password: its first "
            << "line is empty\n";
        return false;
    }
    if (IsValidUtf8(*password)) return true;
    err << "vistello: the album password file " << file << " is no UTF-8 text: no browser "
        << "could type its password\n";
    return false;
}

}  // namespace

int RunGenerateCommand(FileOps& ops, ImageMaker& images, PhotoReader& photos, ClipMaker& clips,
                       const std::string& projectFile, std::ostream& out, std::ostream& err,
                       bool showProgress, const GenerateContext& context) {
    std::optional<std::string> albumPassword;
    if (!ReadAlbumPassword(ops, context.albumPasswordFile, albumPassword, err)) return 1;
    const Preferences preferences = ReadCommandPreferences(ops);
    const std::string fileName = CommandProjectFile(projectFile, preferences);
    ProjectFields fields;
    EntryList list;
    if (!ReadCommandProject(ops, fileName, fields, list, err)) return 1;
    const PreparedGenerate prepared =
        PrepareGenerate(ops, list, fields.templateFile, fields.outputFolder, fields.web);
    if (const GenerateRefusal* refusal = std::get_if<GenerateRefusal>(&prepared)) {
        err << "vistello: " << RefusalText(*refusal, fileName, fields) << "\n";
        return 1;
    }
    const GenerateRequest& request = std::get<GenerateRequest>(prepared);
    std::optional<Site> site;
    if (IsMadeAsSite(ops, request, fileName)) {
        std::variant<Site, std::string> loaded = LoadSite(ops, request, fileName);
        if (const std::string* refusal = std::get_if<std::string>(&loaded)) {
            err << "vistello: " << *refusal << "\n";
            return 1;
        }
        site = std::move(std::get<Site>(loaded));
    }
    std::string album;
    std::string total = GroupThousands(static_cast<long long>(request.rows.size()));
    const auto going = [&context] { return !context.stopAsked || !context.stopAsked(); };
    const PageDone progress = [&err, &album, &total, showProgress, going](int row, bool) {
        if (showProgress)
            err << "\r\x1b[K" << album << "Page " << GroupThousands(row + 1) << " of " << total
                << std::flush;
        return going();
    };
    SiteTools tools;
    tools.images = &images;
    tools.photos = &photos;
    tools.clips = &clips;
    tools.placesFile = context.placesFile;
    if (site && HoldsPrivate(*site) && context.cipher)
        tools.cipher = context.cipher(tools.cipherFailure);
    tools.onAlbum = [&album, &total, going](int done, int all, int slides) {
        album = "Album " + GroupThousands(done) + " of " + GroupThousands(all) + " · ";
        total = GroupThousands(slides);
        return going();
    };
    tools.onImage = [&err, &album, showProgress, going](int done, int all) {
        if (showProgress)
            err << "\r\x1b[K" << album << "Image " << GroupThousands(done) << " of "
                << GroupThousands(all) << std::flush;
        return going();
    };
    tools.onClip = [&err, &album, showProgress, going](int done, int all, int percent) {
        if (showProgress && done < all)
            err << "\r\x1b[K" << album << "Clip " << GroupThousands(done + 1) << " of "
                << GroupThousands(all) << " (" << percent << "%)" << std::flush;
        return going();
    };
    tools.secretFor = CommandSecrets(context.keyring, std::move(albumPassword), err);
    if (showProgress || context.stopAsked) tools.onPage = progress;
    SiteResult made;
    if (site) {
        made = WriteSite(ops, *site, preferences.tags, request.outputFolder, tools);
    } else {
        const WebShow web{request.web, request.overviewText,
                          &images,     tools.onImage,
                          0,           &photos,
                          &clips,      tools.onClip,
                          fileName,    request.templateFile,
                          nullptr,     context.placesFile,
                          {}};
        made.pages = WritePageSet(ops, request.rows, request.templateText, preferences.tags,
                                  request.outputFolder, tools.onPage, nullptr, &web);
    }
    const PageSetResult& result = made.pages;
    if (showProgress) err << "\r\x1b[K";
    for (const std::string& failure : result.failures) err << "vistello: " << failure << "\n";
    for (const std::string& kept : result.kept) err << "vistello: " << kept << "\n";
    for (const std::string& passed : result.passed)
        err << "vistello: " << passed << ": left as it is, this show did not write it\n";
    for (const std::string& removed : result.removed) out << "Removed " << removed << "\n";
    for (const std::string& skipped : made.skipped)
        err << "vistello: album left out: " << skipped << "\n";
    if (!result.failure.empty()) {
        err << "vistello: generating failed: " << result.failure << "\n";
        return 1;
    }
    if (result.stopped && !going()) {
        err << "vistello: generating stopped before its end; what it wrote is recorded\n";
        return 1;
    }
    const std::string& folder = request.outputFolder;
    out << "Wrote " << result.pages - result.pagesFailed << " of " << CountOf(result.pages, "page")
        << " and copied " << result.images - result.imagesFailed << " of "
        << (result.clips == 0    ? CountOf(result.images, "image")
            : result.images == 1 ? std::string("1 clip")
                                 : GroupThousands(result.images) + " pictures and clips")
        << " into " << (folder.empty() ? "./" : folder);
    if (site) out << " in " << CountOf(made.albums - 1, "album");
    if (result.converted > 0)
        out << ", " << GroupThousands(result.converted) << " converted for browsers";
    if (!result.clipsCopied.empty())
        out << ", clips copied as they are (" << result.clipsCopied << ")";
    if (!result.removed.empty()) {
        out << ", removed " << CountOf(static_cast<long long>(result.removed.size()), "file")
            << " the show no longer needs";
    }
    out << "\n";
    return result.pagesFailed > 0 || result.imagesFailed > 0 || result.removalsFailed > 0 ||
                   !made.skipped.empty()
               ? 1
               : 0;
}

}  // namespace vistello
