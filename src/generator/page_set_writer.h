#pragma once

#include <sys/stat.h>

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "files/file_ops.h"
#include "generator/kind_blocks.h"
#include "generator/page_set.h"
#include "generator/page_set_memory.h"
#include "generator/page_text.h"
#include "generator/show_files.h"

namespace vistello {

using FileId = std::pair<dev_t, ino_t>;

// True when there was no failure; otherwise counts it and keeps its line.
bool Tally(std::optional<std::string> failure, int& failed, std::vector<std::string>& failures);

// The project file and the templates of a show.
std::array<const std::string*, 3> ShowFilePaths(const WebShow& web);

// The project's own files as they are, whatever names lead to them.
FileIds ShowFileIds(FileOps& ops, const WebShow* web);

// Why a page may not be written at `path`: a link or a name there leads to one of the project's
// own files.
std::optional<std::string> OwnFileAt(FileOps& ops, const std::string& path, const FileIds& own);

// One run over the rows. Files are told apart by device and inode, so that an image reached by
// two paths is one image.
class PageSetWriter {
public:
    PageSetWriter(FileOps& ops, std::string_view templateText, const TagSet& tags,
                  const std::string& outputFolder, PageSetMemory* memory, RunFiles* run)
        : m_ops(ops),
          m_photo(templateText, {.photo = true}, tags),
          m_clip(templateText, {.clip = true}, tags),
          m_folder(outputFolder),
          m_memory(memory),
          m_run(run) {}

    // The template as the page of the slide whose image is published under `name` sees it.
    const SlideTemplate& For(std::string_view name) const {
        return KindOf(name).clip ? m_clip : m_photo;
    }

    // What went wrong, or nothing when the image is in the output folder now.
    std::optional<std::string> CopyImage(const std::string& source, const std::string& name);
    std::optional<std::string> WritePage(const SlideTemplate& page, const std::string& name,
                                         const ImageEntry& entry, const PageLinks& links,
                                         std::span<const std::string_view> rowValues);
    // Notes the file among those the run leaves, as written when it was.
    void Note(const std::string& name, bool written);
    // The project's own files, which no page is written over.
    void Keep(FileIds own) { m_own = std::move(own); }

private:
    std::optional<std::string> Copy(const std::string& source, const std::string& name);
    void NoteCopy(const std::string& name, const FileId& source, const struct stat* known);
    std::optional<std::string> BuildAndWrite(const SlideTemplate& page, const std::string& path,
                                             const ImageEntry& entry, const PageLinks& links,
                                             std::span<const std::string_view> rowValues);

    FileOps& m_ops;
    FileIds m_own;
    const SlideTemplate m_photo;
    const SlideTemplate m_clip;
    const std::string& m_folder;
    PageSetMemory* m_memory;
    RunFiles* m_run;
    std::unordered_map<std::string, FileId> m_copied;
};

}  // namespace vistello
