#include "generator/page_set.h"

#include <sys/stat.h>

#include <optional>
#include <unordered_map>
#include <utility>

#include "files/atomic_file.h"
#include "files/file_copy.h"
#include "files/link_chain.h"
#include "files/path_rules.h"
#include "files/text_file.h"
#include "generator/page_names.h"
#include "generator/page_set_memory.h"
#include "generator/page_text.h"

namespace vistello {

namespace {

using FileId = std::pair<dev_t, ino_t>;

// Nothing unless a regular file is there: only such a file is an image that can be copied.
std::optional<struct stat> RegularFileAt(FileOps& ops, const std::string& path) {
    const std::optional<LinkEnd> end = FollowLinks(ops, path);
    if (!end || !end->existing || !S_ISREG(end->existing->st_mode)) return std::nullopt;
    return end->existing;
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
                  const std::string& outputFolder, PageSetMemory* memory)
        : m_ops(ops), m_template(templateText, tags), m_folder(outputFolder), m_memory(memory) {}

    // What went wrong, or nothing when the image is in the output folder now.
    std::optional<std::string> CopyImage(const std::string& source, const std::string& name);
    std::optional<std::string> WritePage(const std::string& name, const ImageEntry& entry,
                                         std::string_view backTarget, std::string_view nextTarget);

private:
    std::optional<std::string> BuildAndWrite(const std::string& path, const ImageEntry& entry,
                                             std::string_view backTarget,
                                             std::string_view nextTarget);

    FileOps& m_ops;
    const PageTemplate m_template;
    const std::string& m_folder;
    PageSetMemory* m_memory;
    std::unordered_map<std::string, FileId> m_copied;
};

std::optional<std::string> PageSetWriter::CopyImage(const std::string& source,
                                                    const std::string& name) {
    const std::string target = m_folder + name;
    const std::optional<struct stat> info = RegularFileAt(m_ops, source);
    if (!info) return source + ": could not be copied to " + target;
    const FileId id{info->st_dev, info->st_ino};
    if (const auto copied = m_copied.find(name); copied != m_copied.end()) {
        if (copied->second == id) return std::nullopt;
        return source + ": not copied, another image named " + name + " is already in the set";
    }
    if (!IsCopyOf(m_ops, *info, target) && !CopyFileOver(m_ops, source, target))
        return source + ": could not be copied to " + target;
    m_copied.emplace(name, id);
    return std::nullopt;
}

std::optional<std::string> PageSetWriter::WritePage(const std::string& name,
                                                    const ImageEntry& entry,
                                                    std::string_view backTarget,
                                                    std::string_view nextTarget) {
    const std::string path = m_folder + name;
    if (!m_memory) return BuildAndWrite(path, entry, backTarget, nextTarget);
    std::string inputs = PageSetMemory::Inputs(entry, backTarget, nextTarget);
    if (m_memory->Holds(m_ops, path, inputs)) return std::nullopt;
    std::optional<std::string> failure = BuildAndWrite(path, entry, backTarget, nextTarget);
    if (failure) {
        m_memory->Forget(path);
    } else {
        m_memory->Remember(m_ops, path, std::move(inputs));
    }
    return failure;
}

std::optional<std::string> PageSetWriter::BuildAndWrite(const std::string& path,
                                                        const ImageEntry& entry,
                                                        std::string_view backTarget,
                                                        std::string_view nextTarget) {
    const std::optional<std::string> text =
        BuildPageText(m_template, entry, backTarget, nextTarget);
    if (!text) {
        return path + ": not written, the page would be larger than " +
               std::to_string(kMaxPageBytes >> 20) + " MiB";
    }
    if (!WriteFileIfChanged(m_ops, path, EncodeTextMode(*text), Flush::ToSystem))
        return path + ": could not be written";
    return std::nullopt;
}

}  // namespace

PageSetResult WritePageSet(FileOps& ops, std::span<const ImageEntry* const> rows,
                           std::string_view templateText, const TagSet& tags,
                           const std::string& outputFolder, const PageDone& onPage,
                           PageSetMemory* memory) {
    std::vector<std::string_view> titles;
    std::vector<std::string> imageNames;
    for (const ImageEntry* entry : rows) {
        titles.push_back(entry->title);
        imageNames.push_back(FileNameOf(entry->imagePath));
    }
    const std::vector<std::string> pageNames = PageFileNames(titles, imageNames);

    PageSetResult result;
    result.pages = result.images = static_cast<int>(rows.size());
    if (memory) memory->StartRun(outputFolder, templateText, tags);
    PageSetWriter writer(ops, templateText, tags, outputFolder, memory);
    for (size_t row = 0; row < rows.size(); ++row) {
        Tally(writer.CopyImage(rows[row]->imagePath, imageNames[row]), result.imagesFailed,
              result.failures);
        const std::string back = row > 0 ? EncodeLinkTarget(pageNames[row - 1]) : std::string();
        const std::string next =
            row + 1 < rows.size() ? EncodeLinkTarget(pageNames[row + 1]) : std::string();
        const bool written = Tally(writer.WritePage(pageNames[row], *rows[row], back, next),
                                   result.pagesFailed, result.failures);
        result.pagesWritten += written;
        if (onPage && !onPage(static_cast<int>(row), written)) {
            result.stopped = true;
            break;
        }
    }
    if (!pageNames.empty()) result.firstPage = pageNames.front();
    return result;
}

}  // namespace vistello
