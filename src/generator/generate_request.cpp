#include "generator/generate_request.h"

#include <optional>
#include <utility>

#include "files/path_rules.h"
#include "files/text_file.h"
#include "show/template_file.h"

namespace vistello {

PreparedGenerate PrepareGenerate(FileOps& ops, const EntryList& list,
                                 const std::string& templateSetting,
                                 const std::string& outputFolder, const WebSettings& web) {
    if (list.RowCount() < 1) return GenerateRefusal::NoEntries;
    GenerateRequest request;
    request.templateFile = TemplateFileOrDefault(templateSetting);
    std::optional<std::string> text = ReadTextFile(ops, request.templateFile);
    if (!text) return GenerateRefusal::TemplateUnreadable;
    request.templateText = std::move(*text);
    if (!outputFolder.empty() && !IsFolder(ops, outputFolder)) return GenerateRefusal::NoSuchFolder;
    if (!web.overviewTemplate.empty()) {
        text = ReadTextFile(ops, web.overviewTemplate);
        if (!text) return GenerateRefusal::OverviewUnreadable;
        request.overviewText = std::move(*text);
    }
    request.web = web;
    request.outputFolder = outputFolder;
    AppendSeparator(request.outputFolder);
    request.rows.reserve(static_cast<size_t>(list.RowCount()));
    for (int row = 0; row < list.RowCount(); ++row) request.rows.push_back(&list.Row(row));
    return request;
}

}  // namespace vistello
