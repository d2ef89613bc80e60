#include "app/generate_command.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "generator/page_set.h"
#include "platform/digit_groups.h"
#include "platform/path_rules.h"
#include "platform/text_file.h"
#include "prefs/preferences_file.h"
#include "project/project_file.h"

namespace vistello {

namespace {

// The preferences as the window would start with them; a missing file is no error, and nothing
// is created.
Preferences ReadPreferences(FileOps& ops) {
    Preferences preferences;
    if (const std::optional<std::string> text = ReadTextFile(ops, kPreferencesFile)) {
        ParsePreferencesText(*text, preferences);
    }
    preferences.tags.FillEmptyWithDefaults();
    return preferences;
}

}  // namespace

int RunGenerateCommand(FileOps& ops, const std::string& projectFile, std::ostream& out,
                       std::ostream& err, bool showProgress) {
    const Preferences preferences = ReadPreferences(ops);
    std::string fileName = projectFile.empty() ? preferences.projectFile : projectFile;
    if (fileName.empty()) fileName = kDefaultProjectFile;
    const std::optional<std::string> projectText = ReadTextFile(ops, fileName);
    if (!projectText) {
        err << "vistello: cannot read the project file " << fileName << "\n";
        return 1;
    }
    ProjectFields fields;
    std::vector<std::unique_ptr<ImageEntry>> entries = ParseProjectText(*projectText, fields);
    if (entries.empty()) {
        err << "vistello: " << fileName << " holds no images to generate\n";
        return 1;
    }
    // The last entry read stands at the top of the list, as in the window.
    std::vector<const ImageEntry*> rows;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) rows.push_back(it->get());

    const std::string templateFile =
        fields.templateFile.empty() ? kDefaultTemplate : fields.templateFile;
    const std::optional<std::string> templateText = ReadTextFile(ops, templateFile);
    if (!templateText) {
        err << "vistello: cannot read the template " << templateFile << "\n";
        return 1;
    }
    std::string folder = fields.outputFolder;
    if (!folder.empty() && !IsFolder(folder)) {
        err << "vistello: output folder not found: " << folder << "\n";
        return 1;
    }
    AppendSeparator(folder);

    const std::string total = GroupThousands(static_cast<long long>(rows.size()));
    const PageDone progress = [&err, &total](int row, bool) {
        err << "\rPage " << GroupThousands(row + 1) << " of " << total << std::flush;
        return true;
    };
    const PageSetResult result = WritePageSet(ops, rows, *templateText, preferences.tags, folder,
                                              showProgress ? progress : PageDone());
    if (showProgress) err << "\r\x1b[K";
    for (const std::string& failure : result.failures) err << "vistello: " << failure << "\n";
    out << "Wrote " << result.pages - result.pagesFailed << " of " << CountOf(result.pages, "page")
        << " and copied " << result.images - result.imagesFailed << " of "
        << CountOf(result.images, "image") << " into " << (folder.empty() ? "./" : folder) << "\n";
    return result.pagesFailed > 0 || result.imagesFailed > 0 ? 1 : 0;
}

}  // namespace vistello
