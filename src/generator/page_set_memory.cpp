#include "generator/page_set_memory.h"

#include <optional>

#include "files/link_chain.h"

namespace vistello {

namespace {

bool SameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool Untouched(const struct stat& now, const struct stat& then) {
    return now.st_dev == then.st_dev && now.st_ino == then.st_ino && now.st_size == then.st_size &&
           SameTime(now.st_mtim, then.st_mtim) && SameTime(now.st_ctim, then.st_ctim);
}

// Each value led by its length, so that no two sets of values give the same text.
void AppendValue(std::string& inputs, std::string_view value) {
    inputs.append(std::to_string(value.size())).append(1, ':').append(value);
}

}  // namespace

void PageSetMemory::StartRun(std::string_view folder, std::string_view templateText,
                             const TagSet& tags) {
    if (folder == m_folder && templateText == m_template && tags == m_tags) return;
    m_pages.clear();
    m_folder = folder;
    m_template = templateText;
    m_tags = tags;
}

std::string PageSetMemory::Inputs(const ImageEntry& entry, const PageLinks& links,
                                  std::span<const std::string_view> photoValues) {
    std::string inputs;
    for (int column = 0; column < ImageEntry::kColumnCount; ++column)
        AppendValue(inputs, entry.Column(column));
    AppendValue(inputs, links.back);
    AppendValue(inputs, links.next);
    AppendValue(inputs, links.index);
    for (const std::string_view value : photoValues) AppendValue(inputs, value);
    return inputs;
}

bool PageSetMemory::Holds(FileOps& ops, const std::string& path, const std::string& inputs) const {
    const auto page = m_pages.find(path);
    if (page == m_pages.end() || page->second.inputs != inputs) return false;
    const std::optional<LinkEnd> end = FollowLinks(ops, path);
    return end && end->existing && Untouched(*end->existing, page->second.info);
}

const struct stat* PageSetMemory::Info(const std::string& path) const {
    const auto page = m_pages.find(path);
    return page == m_pages.end() ? nullptr : &page->second.info;
}

void PageSetMemory::KeepRecord(FileOps& ops, const std::string& path, MadeFiles record) {
    struct stat info {};
    m_record.reset();
    if (ops.Lstat(path, info) != 0 || !S_ISREG(info.st_mode)) return;
    m_record = std::move(record);
    m_recordPath = path;
    m_recordInfo = info;
}

std::optional<MadeFiles> PageSetMemory::TakeRecord(FileOps& ops, const std::string& path) {
    std::optional<MadeFiles> record = std::move(m_record);
    m_record.reset();
    struct stat info {};
    if (!record || path != m_recordPath || ops.Lstat(path, info) != 0 ||
        !Untouched(info, m_recordInfo))
        return std::nullopt;
    record->StartAgain();
    return record;
}

void PageSetMemory::Remember(FileOps& ops, const std::string& path, std::string inputs) {
    const std::optional<LinkEnd> end = FollowLinks(ops, path);
    if (!end || !end->existing) {
        Forget(path);
        return;
    }
    m_pages.insert_or_assign(path, Page{std::move(inputs), *end->existing});
}

}  // namespace vistello
