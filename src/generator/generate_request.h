#pragma once

#include <string>
#include <variant>
#include <vector>

#include "files/file_ops.h"
#include "show/web_settings.h"
#include "slides/entry_list.h"

namespace vistello {

// Why Generate makes nothing at all. Each front end words it in its own way.
enum class GenerateRefusal { NoEntries, TemplateUnreadable, NoSuchFolder, OverviewUnreadable };

// Everything a run of the page set needs, checked and with the defaults in place.
struct GenerateRequest {
    // The template as named, or the default when none is.
    std::string templateFile;
    std::string templateText;
    // Empty (the current folder) or ending with the separator.
    std::string outputFolder;
    // Top row first.
    std::vector<const ImageEntry*> rows;
    WebSettings web;
    // The overview template's text, when the settings name one.
    std::string overviewText;
};

using PreparedGenerate = std::variant<GenerateRequest, GenerateRefusal>;

// Nothing is copied or written unless there are rows, the template was read and the output folder
// exists, so a slip in either setting cannot leave a half-made set of empty pages behind. The
// request points into `list`, which must outlive it unchanged.
PreparedGenerate PrepareGenerate(FileOps& ops, const EntryList& list,
                                 const std::string& templateSetting,
                                 const std::string& outputFolder, const WebSettings& web);

}  // namespace vistello
