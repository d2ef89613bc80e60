#pragma once

#include <sys/stat.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "files/file_ops.h"
#include "generator/page_text.h"
#include "output/made_files.h"
#include "prefs/tag_set.h"
#include "slides/image_entry.h"

namespace vistello {

// The pages one run of WritePageSet left in place, for the next run over the same folder: each
// with what it was made from and its file's details just after. A page made from the same entry,
// links, template and tags, whose file nobody has touched since, holds the text the run would
// make, so it need not be built and read again. A file changed in any way shows in its details:
// its inode, its size, and its modification and change times, the last of which no one can set.
class PageSetMemory {
public:
    // A run into another folder, or with another template or other tags, can trust no page of
    // the last one.
    void StartRun(std::string_view folder, std::string_view templateText, const TagSet& tags);

    // What a page is made from, besides the run's template and tags: the entry, its links and
    // what its photo says.
    static std::string Inputs(const ImageEntry& entry, const PageLinks& links,
                              std::span<const std::string_view> photoValues);

    [[nodiscard]] bool Holds(FileOps& ops, const std::string& path,
                             const std::string& inputs) const;
    // Notes the page as its file stands now.
    void Remember(FileOps& ops, const std::string& path, std::string inputs);
    void Forget(const std::string& path) { m_pages.erase(path); }
    // The details of the page's file as last found or written; nothing when not remembered.
    const struct stat* Info(const std::string& path) const;

    // The output folder's record as the last run wrote it to `path`, for the next run to take
    // instead of reading it again while the file is untouched.
    void KeepRecord(FileOps& ops, const std::string& path, MadeFiles record);
    std::optional<MadeFiles> TakeRecord(FileOps& ops, const std::string& path);

private:
    struct Page {
        std::string inputs;
        struct stat info;
    };

    std::string m_folder;
    std::string m_template;
    TagSet m_tags;
    std::unordered_map<std::string, Page> m_pages;
    std::optional<MadeFiles> m_record;
    std::string m_recordPath;
    struct stat m_recordInfo {};
};

}  // namespace vistello
