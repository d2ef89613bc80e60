#include "project/project_file.h"

#include <array>
#include <utility>

#include "slides/entry_list.h"
#include "text/key_value_lines.h"

namespace vistello {

namespace {

constexpr std::string_view kImportedKey = "IMPORTED";

struct BlockKey {
    std::string_view name;
    std::string ImageEntry::*field;
};

// An entry's lines in the order written; IMAGE opens the block.
constexpr std::array<BlockKey, ImageEntry::kColumnCount> kBlockKeys = {{
    {"IMAGE", &ImageEntry::imagePath},
    {"TITLE", &ImageEntry::title},
    {"HEIGHT", &ImageEntry::height},
    {"WIDTH", &ImageEntry::width},
    {"BORDER", &ImageEntry::border},
    {"ALT", &ImageEntry::alt},
    {"KEYWORDS", &ImageEntry::keywords},
    {"DESCRIPTION", &ImageEntry::description},
}};

void AppendBlock(std::string& text, const ImageEntry& entry) {
    for (const BlockKey& key : kBlockKeys) AppendKeyValueLine(text, key.name, entry.*key.field);
}

size_t BlockSize(const ImageEntry& entry) {
    size_t size = 1;
    for (const BlockKey& key : kBlockKeys) size += key.name.size() + 2 + (entry.*key.field).size();
    return size;
}

class ProjectReader {
public:
    explicit ProjectReader(ProjectFields& fields) : m_fields(fields) {}

    void Line(std::string_view key, std::string_view value) {
        if (key == "TEMPLATE") {
            m_fields.templateFile = value;
        } else if (key == "OUTPUT") {
            m_fields.outputFolder = value;
        } else if (key == kImportedKey) {
            m_fields.imported.emplace_back(value);
        } else if (!ReadWebSetting(key, value, m_fields.web)) {
            for (const BlockKey& block : kBlockKeys) {
                if (key != block.name) continue;
                if (block.field == &ImageEntry::imagePath) EndPendingEntry();
                m_fields.page.*block.field = value;
                return;
            }
        }
    }

    std::vector<std::unique_ptr<ImageEntry>> Finish() {
        EndPendingEntry();
        return std::move(m_entries);
    }

private:
    void EndPendingEntry() {
        if (!m_fields.page.imagePath.empty()) {
            m_entries.push_back(std::make_unique<ImageEntry>(m_fields.page));
        }
    }

    ProjectFields& m_fields;
    std::vector<std::unique_ptr<ImageEntry>> m_entries;
};

}  // namespace

std::string ProjectFileOrDefault(std::string_view setting) {
    return std::string(setting.empty() ? kDefaultProjectFile : setting);
}

std::string FormatProjectText(std::string_view templateFile, std::string_view outputFolder,
                              const WebSettings& web, const EntryList& rows,
                              const std::vector<std::string>& imported) {
    size_t size = 160 + templateFile.size() + outputFolder.size() + web.overviewTemplate.size();
    for (int row = 0; row < rows.RowCount(); ++row) size += BlockSize(rows.Row(row));
    for (const std::string& path : imported) size += kImportedKey.size() + 2 + path.size();
    std::string text;
    text.reserve(size);
    AppendKeyValueLine(text, "CREATOR", "Vistello 1.0");
    AppendKeyValueLine(text, "TEMPLATE", templateFile);
    AppendKeyValueLine(text, "OUTPUT", outputFolder);
    AppendWebSettings(text, web);
    for (const std::string& path : imported) AppendKeyValueLine(text, kImportedKey, path);
    for (int row = rows.RowCount() - 1; row >= 0; --row) {
        AppendBlock(text, rows.Row(row));
        if (row > 0) text += '\n';
    }
    return text;
}

bool HoldsProject(std::string_view text) {
    bool found = text.empty();
    ForEachKeyValue(text, [&found](std::string_view key, std::string_view) {
        found = found || key == "CREATOR" || key == "TEMPLATE" || key == "OUTPUT" ||
                key == kBlockKeys.front().name;
    });
    return found;
}

void ScanProjectPaths(std::string_view text, std::vector<std::string_view>& images,
                      std::vector<std::string_view>& imported) {
    ForEachKeyValue(text, [&](std::string_view key, std::string_view value) {
        if (key == kBlockKeys.front().name && !value.empty()) {
            images.push_back(value);
        } else if (key == kImportedKey) {
            imported.push_back(value);
        }
    });
}

std::vector<std::unique_ptr<ImageEntry>> ParseProjectText(std::string_view text,
                                                          ProjectFields& fields) {
    fields.imported.clear();
    ProjectReader reader(fields);
    ForEachKeyValue(text,
                    [&](std::string_view key, std::string_view value) { reader.Line(key, value); });
    return reader.Finish();
}

}  // namespace vistello
