#include "platform/file_copy.h"

#include <optional>

#include "platform/atomic_file.h"
#include "platform/block_reader.h"
#include "platform/link_chain.h"

namespace vistello {

bool CopyFileOver(const std::string& from, const std::string& to) {
    RealFileOps ops;
    return CopyFileOver(ops, from, to);
}

// A file copied onto itself, by any of its names, is refused rather than rewritten with its own
// bytes: replacing a second name would split it from the first.
bool CopyFileOver(FileOps& ops, const std::string& from, const std::string& to) {
    BlockReader source(ops, from);
    if (!source.IsOpen()) return false;
    const std::optional<LinkEnd> target = FollowLinks(ops, to);
    if (!target) return false;
    if (target->existing && target->existing->st_dev == source.Info().st_dev &&
        target->existing->st_ino == source.Info().st_ino)
        return false;
    return ReplaceFile(
        ops, target->path, [&source](const BlockWriter& write) { return source.ReadAll(write); },
        Flush::ToSystem);
}

}  // namespace vistello
