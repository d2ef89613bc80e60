#include "files/file_copy.h"

#include <optional>

#include "files/atomic_file.h"
#include "files/block_reader.h"
#include "files/link_chain.h"

namespace vistello {

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Set last, once nothing more is written to the temporary, so the time stays through the rename.
bool KeepModificationTime(FileOps& ops, int fd, const struct stat& source) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, source.st_mtim};
    return ops.Futimens(fd, times) == 0;
}

// A file copied onto itself, by any of its names, is refused rather than rewritten with its own
// bytes: replacing a second name would split it from the first.
bool CopyOver(FileOps& ops, BlockReader& source, const LinkEnd& target) {
    if (target.existing && SameFile(*target.existing, source.Info())) return false;
    return ReplaceMadeFile(ops, target.path, [&ops, &source](int fd, const BlockWriter& write) {
        return source.CopyAllTo(fd, write) && KeepModificationTime(ops, fd, source.Info());
    });
}

}  // namespace

bool CopyFileOver(FileOps& ops, const std::string& from, const std::string& to) {
    BlockReader source(ops, from);
    if (!source.IsOpen()) return false;
    const std::optional<LinkEnd> target = NameItself(ops, to);
    return target && CopyOver(ops, source, *target);
}

// Decided on the details alone, so that a folder of copies made before costs no file opened.
bool IsCopyOf(FileOps& ops, const struct stat& source, const std::string& to) {
    const std::optional<LinkEnd> copy = FollowLinks(ops, to);
    return copy && IsCopyOf(source, *copy);
}

bool IsCopyOf(const struct stat& source, const LinkEnd& copy) {
    if (!copy.existing || !S_ISREG(copy.existing->st_mode)) return false;
    return copy.existing->st_size == source.st_size &&
           copy.existing->st_mtim.tv_sec == source.st_mtim.tv_sec &&
           copy.existing->st_mtim.tv_nsec == source.st_mtim.tv_nsec;
}

}  // namespace vistello
