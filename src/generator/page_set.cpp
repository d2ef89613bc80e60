#include "generator/page_set.h"

#include <sys/stat.h>

#include <optional>
#include <unordered_map>
#include <utility>

#include "generator/page_names.h"
#include "generator/page_text.h"
#include "platform/file_copy.h"
#include "platform/link_chain.h"
#include "platform/path_rules.h"
#include "platform/text_file.h"

namespace vistello {

namespace {

using FileId = std::pair<dev_t, ino_t>;

// Nothing unless a regular file is there: only such a file is an image that can be copied.
std::optional<FileId> IdentityOf(FileOps& ops, const std::string& path) {
    const std::optional<LinkEnd> end = FollowLinks(ops, path);
    if (!end || !end->existing || !S_ISREG(end->existing->st_mode)) return std::nullopt;
    return FileId{end->existing->st_dev, end->existing->st_ino};
}

// True when there was no failure; otherwise counts it and keeps its line.
bool Tally(std::optional<std::string> failure, int& failed, std::vector<std::string>& failures) {
    if (!failure) return true;
    ++failed;
    failures.push_back(std::move(*failure));
    return false;
}

// One run over the rows. Files are told apart by device and inode, so that an image reached by
// two paths is one image.
class PageSetWriter {
public:
    PageSetWriter(FileOps& ops, std::string_view templateText, const TagSet& tags,
                  const std::string& outputFolder)
        : m_ops(ops), m_template(templateText), m_tags(tags), m_folder(outputFolder) {}

    // What went wrong, or nothing when the image is in the output folder now.
    std::optional<std::string> CopyImage(const std::string& source, const std::string& name);
    std::optional<std::string> WritePage(const std::string& name, const ImageEntry& entry,
                                         std::string_view backTarget, std::string_view nextTarget);

private:
    FileOps& m_ops;
    std::string_view m_template;
    const TagSet& m_tags;
    const std::string& m_folder;
    std::unordered_map<std::string, FileId> m_copied;
};

std::optional<std::string> PageSetWriter::CopyImage(const std::string& source,
                                                    const std::string& name) {
    const std::string target = m_folder + name;
    const std::optional<FileId> id = IdentityOf(m_ops, source);
    if (!id) return source + ": could not be copied to " + target;
    if (const auto copied = m_copied.find(name); copied != m_copied.end()) {
        if (copied->second == *id) return std::nullopt;
        return source + ": not copied, another image named " + name + " is already in the set";
    }
    if (!CopyFileOver(m_ops, source, target) && IdentityOf(m_ops, target) != id)
        return source + ": could not be copied to " + target;
    m_copied.emplace(name, *id);
    return std::nullopt;
}

std::optional<std::string> PageSetWriter::WritePage(const std::string& name,
                                                    const ImageEntry& entry,
                                                    std::string_view backTarget,
                                                    std::string_view nextTarget) {
    const std::string path = m_folder + name;
    const std::optional<std::string> text =
        BuildPageText(m_template, m_tags, entry, backTarget, nextTarget);
    if (!text) {
        return path + ": not written, the page would be larger than " +
               std::to_string(kMaxPageBytes >> 20) + " MiB";
    }
    if (!WriteTextFile(m_ops, path, *text, Flush::ToSystem)) return path + ": could not be written";
    return std::nullopt;
}

}  // namespace

PageSetResult WritePageSet(FileOps& ops, std::span<const ImageEntry* const> rows,
                           std::string_view templateText, const TagSet& tags,
                           const std::string& outputFolder, const PageDone& onPage) {
    std::vector<std::string_view> titles;
    std::vector<std::string> imageNames;
    for (const ImageEntry* entry : rows) {
        titles.push_back(entry->title);
        imageNames.push_back(FileNameOf(entry->imagePath));
    }
    const std::vector<std::string> pageNames = PageFileNames(titles, imageNames);

    PageSetResult result;
    result.pages = result.images = static_cast<int>(rows.size());
    PageSetWriter writer(ops, templateText, tags, outputFolder);
    for (size_t row = 0; row < rows.size(); ++row) {
        Tally(writer.CopyImage(rows[row]->imagePath, imageNames[row]), result.imagesFailed,
              result.failures);
        const std::string back = row > 0 ? EncodeLinkTarget(pageNames[row - 1]) : std::string();
        const std::string next =
            row + 1 < rows.size() ? EncodeLinkTarget(pageNames[row + 1]) : std::string();
        const bool written = Tally(writer.WritePage(pageNames[row], *rows[row], back, next),
                                   result.pagesFailed, result.failures);
        if (onPage) onPage(static_cast<int>(row), written);
    }
    if (!pageNames.empty()) result.firstPage = pageNames.front();
    return result;
}

}  // namespace vistello
