#include "app/generate_command.h"

#include <optional>
#include <variant>
#include <vector>

#include "app/command_project.h"
#include "files/text_file.h"
#include "generator/generate_request.h"
#include "generator/page_set.h"
#include "project/project_file.h"
#include "show/template_file.h"
#include "slides/entry_list.h"
#include "text/counts.h"

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

}  // namespace

int RunGenerateCommand(FileOps& ops, ImageMaker& images, PhotoReader& photos, ClipMaker& clips,
                       const std::string& projectFile, std::ostream& out, std::ostream& err,
                       bool showProgress) {
    const Preferences preferences = ReadCommandPreferences(ops);
    const std::string fileName = CommandProjectFile(projectFile, preferences);
    const std::optional<std::string> projectText = ReadLineFile(ops, fileName);
    if (!projectText) {
        err << "vistello: cannot read the project file " << fileName << "\n";
        return 1;
    }
    ProjectFields fields;
    EntryList list;
    ReadProjectRows(*projectText, fields, list);
    const PreparedGenerate prepared =
        PrepareGenerate(ops, list, fields.templateFile, fields.outputFolder, fields.web);
    if (const GenerateRefusal* refusal = std::get_if<GenerateRefusal>(&prepared)) {
        err << "vistello: " << RefusalText(*refusal, fileName, fields) << "\n";
        return 1;
    }
    const GenerateRequest& request = std::get<GenerateRequest>(prepared);
    const std::string total = GroupThousands(static_cast<long long>(request.rows.size()));
    const PageDone progress = [&err, &total](int row, bool) {
        err << "\r\x1b[KPage " << GroupThousands(row + 1) << " of " << total << std::flush;
        return true;
    };
    const WebShow web{request.web,
                      request.overviewText,
                      &images,
                      [&err, showProgress](int done, int all) {
                          if (showProgress)
                              err << "\r\x1b[KImage " << GroupThousands(done) << " of "
                                  << GroupThousands(all) << std::flush;
                          return true;
                      },
                      0,
                      &photos,
                      &clips,
                      [&err, showProgress](int done, int all, int percent) {
                          if (showProgress && done < all)
                              err << "\r\x1b[KClip " << GroupThousands(done + 1) << " of "
                                  << GroupThousands(all) << " (" << percent << "%)" << std::flush;
                          return true;
                      },
                      fileName,
                      request.templateFile,
                      nullptr};
    const PageSetResult result =
        WritePageSet(ops, request.rows, request.templateText, preferences.tags,
                     request.outputFolder, showProgress ? progress : PageDone(), nullptr, &web);
    if (showProgress) err << "\r\x1b[K";
    for (const std::string& failure : result.failures) err << "vistello: " << failure << "\n";
    for (const std::string& kept : result.kept) err << "vistello: " << kept << "\n";
    for (const std::string& removed : result.removed) out << "Removed " << removed << "\n";
    if (!result.failure.empty()) {
        err << "vistello: generating failed: " << result.failure << "\n";
        return 1;
    }
    const std::string& folder = request.outputFolder;
    out << "Wrote " << result.pages - result.pagesFailed << " of " << CountOf(result.pages, "page")
        << " and copied " << result.images - result.imagesFailed << " of "
        << (result.clips == 0    ? CountOf(result.images, "image")
            : result.images == 1 ? std::string("1 clip")
                                 : GroupThousands(result.images) + " pictures and clips")
        << " into " << (folder.empty() ? "./" : folder);
    if (result.converted > 0)
        out << ", " << GroupThousands(result.converted) << " converted for browsers";
    if (!result.clipsCopied.empty())
        out << ", clips copied as they are (" << result.clipsCopied << ")";
    if (!result.removed.empty()) {
        out << ", removed " << CountOf(static_cast<long long>(result.removed.size()), "file")
            << " the show no longer needs";
    }
    out << "\n";
    return result.pagesFailed > 0 || result.imagesFailed > 0 || result.removalsFailed > 0 ? 1 : 0;
}

}  // namespace vistello
