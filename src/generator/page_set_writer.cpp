#include "generator/page_set_writer.h"

#include <cerrno>

#include "files/atomic_file.h"
#include "files/error_text.h"
#include "files/file_copy.h"
#include "files/link_chain.h"
#include "files/text_file.h"
#include "slides/media_signature.h"

namespace vistello {

namespace {

// Nothing unless a regular file is there: only such a file is an image that can be copied.
// errno then says why.
std::optional<struct stat> RegularFileAt(FileOps& ops, const std::string& path) {
    const std::optional<LinkEnd> end = FollowLinks(ops, path);
    if (!end) return std::nullopt;
    if (!end->existing) {
        errno = ENOENT;
    } else if (!S_ISREG(end->existing->st_mode)) {
        errno = S_ISDIR(end->existing->st_mode) ? EISDIR : kNotRegularFile;
    } else {
        return end->existing;
    }
    return std::nullopt;
}

}  // namespace

bool Tally(std::optional<std::string> failure, int& failed, std::vector<std::string>& failures) {
    if (!failure) return true;
    ++failed;
    failures.push_back(std::move(*failure));
    return false;
}

std::array<const std::string*, 3> ShowFilePaths(const WebShow& web) {
    return {&web.projectFile, &web.templateFile, &web.settings.overviewTemplate};
}

FileIds ShowFileIds(FileOps& ops, const WebShow* web) {
    FileIds ids;
    if (!web) return ids;
    for (const std::string* file : ShowFilePaths(*web)) {
        struct stat info {};
        if (!file->empty() && ops.Stat(*file, info) == 0) ids.emplace(info.st_dev, info.st_ino);
    }
    return ids;
}

std::optional<std::string> OwnFileAt(FileOps& ops, const std::string& path, const FileIds& own) {
    struct stat info {};
    if (own.empty() || ops.Stat(path, info) != 0 || !own.contains({info.st_dev, info.st_ino}))
        return std::nullopt;
    return path + ": not written, it is the project's own file";
}

// A page the memory holds was looked at already.
void PageSetWriter::Note(const std::string& name, bool written) {
    if (!m_run) return;
    const struct stat* known = written && m_memory ? m_memory->Info(m_folder + name) : nullptr;
    if (known) {
        m_run->Found(name, *known);
    } else if (written) {
        m_run->Written(m_ops, m_folder, name);
    } else {
        m_run->Meant(name);
    }
}

// The image itself, when it lies in the output folder under its own name, is not the show's to
// remove. A copy found in place was looked at already.
void PageSetWriter::NoteCopy(const std::string& name, const FileId& source,
                             const struct stat* known) {
    if (!m_run) return;
    struct stat info {};
    if (known) {
        info = *known;
    } else if (m_ops.Lstat(m_folder + name, info) != 0) {
        m_run->Meant(name);
        return;
    }
    if (FileId{info.st_dev, info.st_ino} == source) {
        m_run->notOurs.insert(name);
    } else {
        m_run->Found(name, info);
    }
}

std::optional<std::string> PageSetWriter::CopyImage(const std::string& source,
                                                    const std::string& name) {
    // Bytes that are no picture are never published as one, nor kept where an earlier run put them.
    if (const std::optional<std::string> why = ReadMediaMismatch(m_ops, source))
        return source + ": not copied, " + *why;
    std::optional<std::string> failure = Copy(source, name);
    if (failure) Note(name, false);
    return failure;
}

std::optional<std::string> PageSetWriter::Copy(const std::string& source, const std::string& name) {
    const std::string target = m_folder + name;
    const std::optional<struct stat> info = RegularFileAt(m_ops, source);
    if (!info) return source + ": could not be copied to " + target + ": " + ErrorText(errno);
    const FileId id{info->st_dev, info->st_ino};
    if (m_run) m_run->sources.insert(id);
    if (const auto copied = m_copied.find(name); copied != m_copied.end()) {
        if (copied->second == id) return std::nullopt;
        return source + ": not copied, another image named " + name + " is already in the set";
    }
    const std::optional<LinkEnd> end = FollowLinks(m_ops, target);
    const bool inPlace = end && IsCopyOf(*info, *end);
    if (!inPlace && !CopyFileOver(m_ops, source, target))
        return source + ": could not be copied to " + target + ": " + ErrorText(errno);
    m_copied.emplace(name, id);
    NoteCopy(name, id, inPlace && end->path == target ? &*end->existing : nullptr);
    return std::nullopt;
}

std::optional<std::string> PageSetWriter::WritePage(const SlideTemplate& page,
                                                    const std::string& name,
                                                    const ImageEntry& entry, const PageLinks& links,
                                                    std::span<const std::string_view> rowValues) {
    const std::string path = m_folder + name;
    if (!m_memory) return BuildAndWrite(page, path, entry, links, rowValues);
    std::string inputs = PageSetMemory::Inputs(entry, links, rowValues);
    if (m_memory->Holds(m_ops, path, inputs)) return std::nullopt;
    std::optional<std::string> failure = BuildAndWrite(page, path, entry, links, rowValues);
    if (failure) {
        m_memory->Forget(path);
    } else {
        m_memory->Remember(m_ops, path, std::move(inputs));
    }
    return failure;
}

std::optional<std::string> PageSetWriter::BuildAndWrite(
    const SlideTemplate& page, const std::string& path, const ImageEntry& entry,
    const PageLinks& links, std::span<const std::string_view> rowValues) {
    const std::optional<std::string> text = BuildPageText(page.Page(), entry, links, rowValues);
    if (std::optional<std::string> own = OwnFileAt(m_ops, path, m_own)) return own;
    if (!text) {
        return path + ": not written, the page would be larger than " +
               std::to_string(kMaxPageBytes >> 20) + " MiB";
    }
    if (!WriteMadeFile(m_ops, path, EncodeTextMode(*text)))
        return path + ": could not be written: " + ErrorText(errno);
    return std::nullopt;
}

}  // namespace vistello
