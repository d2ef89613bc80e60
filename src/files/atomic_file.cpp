#include "files/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>

#include "files/error_text.h"
#include "files/leftovers.h"
#include "files/link_chain.h"

namespace vistello {

namespace {

constexpr int kNameAttempts = 100;
// Large enough that a big page takes few reads, small enough never to matter in memory.
constexpr size_t kCompareBlock = 256 * 1024;

// Names nobody can guess, so that no one can plant a file or a link where the temporary goes.
std::string RandomName() {
    static constexpr std::string_view kDigits =
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    thread_local std::random_device entropy;
    uint64_t value = (uint64_t{entropy()} << 32) | entropy();
    std::string random;
    for (int digit = 0; digit < 11; ++digit, value /= kDigits.size())
        random += kDigits[value % kDigits.size()];
    return TemporaryName(random);
}

// The temporary shares the target's folder, so the rename never crosses file systems. Its name is
// noted before it is made, so that a signal that ends the program as the file comes into being
// still finds it; `slot` is then where it was noted.
int OpenTemporaryBeside(FileOps& ops, const std::string& target, std::string& temp, int& slot) {
    const std::string prefix = target.substr(0, target.rfind('/') + 1);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temp = prefix + RandomName();
        slot = NoteTemporary(temp);
        const int fd = ops.OpenExclusive(temp);
        if (fd >= 0) return fd;
        const int error = errno;
        ForgetTemporary(slot);
        if (error != EEXIST) {
            errno = error;
            return -1;
        }
    }
    return -1;
}

bool WriteAll(FileOps& ops, int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ops.Write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

TemporaryFiller WriterOf(std::string_view bytes) {
    return [bytes](int, const BlockWriter& write) { return write(bytes); };
}

// Only a regular file is ever replaced, and never one the user has made read-only: the rename
// would otherwise replace it behind the user's back. errno says why not.
bool MayReplace(FileOps& ops, const LinkEnd& target) {
    if (!target.existing || S_ISLNK(target.existing->st_mode)) return true;
    const mode_t mode = target.existing->st_mode;
    if (!S_ISREG(mode)) {
        errno = S_ISDIR(mode) ? EISDIR : kNotRegularFile;
        return false;
    }
    if ((mode & 0222) == 0) {
        errno = EACCES;
        return false;
    }
    return ops.AccessWrite(target.path) == 0;
}

bool FillTemporary(FileOps& ops, int fd, const LinkEnd& target, const TemporaryFiller& fill,
                   Flush flush) {
    const BlockWriter write = [&ops, fd](std::string_view block) {
        return WriteAll(ops, fd, block);
    };
    return fill(fd, write) &&
           (!target.existing || S_ISLNK(target.existing->st_mode) ||
            ops.Fchmod(fd, target.existing->st_mode & 0777) == 0) &&
           (flush == Flush::ToSystem || ops.Fsync(fd) == 0);
}

// Only for a target that MayReplace allows.
bool ReplaceTarget(FileOps& ops, const LinkEnd& target, const TemporaryFiller& fill, Flush flush) {
    std::string temp;
    int slot = -1;
    const int fd = OpenTemporaryBeside(ops, target.path, temp, slot);
    if (fd < 0) return false;
    const bool filled = FillTemporary(ops, fd, target, fill, flush);
    const bool closed = ops.Close(fd) == 0;
    if (!filled || !closed || ops.Rename(temp, target.path) != 0) {
        const int error = errno;
        ops.Unlink(temp);
        ForgetTemporary(slot);
        errno = error;
        return false;
    }
    ForgetTemporary(slot);
    return flush == Flush::ToSystem || ops.FsyncFolder(FolderOf(target.path)) == 0;
}

// One byte more than expected is asked for, so that a longer file shows in the first read. A
// read of a regular file that comes back short has met the end.
bool ReadsExactly(FileOps& ops, int fd, std::string_view bytes) {
    const size_t size = std::min(kCompareBlock, bytes.size() + 1);
    const std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(size);
    for (;;) {
        const ssize_t got = ops.Read(fd, buffer.get(), size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        const std::string_view block(buffer.get(), static_cast<size_t>(got));
        if (!bytes.starts_with(block)) return false;
        bytes.remove_prefix(block.size());
        if (block.size() < size) return bytes.empty();
    }
}

// Only a regular file of the very size is opened, so that most changed files cost no read.
bool HoldsExactly(FileOps& ops, const LinkEnd& target, std::string_view bytes) {
    if (!target.existing || !S_ISREG(target.existing->st_mode) ||
        static_cast<size_t>(target.existing->st_size) != bytes.size())
        return false;
    const int fd = ops.OpenForReading(target.path);
    if (fd < 0) return false;
    const bool same = ReadsExactly(ops, fd, bytes);
    ops.Close(fd);
    return same;
}

// Where a write of `path` goes: the file its links lead to, or, for made files, the name itself.
std::optional<LinkEnd> TargetOf(FileOps& ops, const std::string& path, bool throughLinks) {
    if (path.empty()) {
        errno = ENOENT;
        return std::nullopt;
    }
    return throughLinks ? FollowLinks(ops, path) : NameItself(ops, path);
}

bool Replace(FileOps& ops, const std::string& path, const TemporaryFiller& fill, Flush flush,
             bool throughLinks) {
    const std::optional<LinkEnd> target = TargetOf(ops, path, throughLinks);
    return target && MayReplace(ops, *target) && ReplaceTarget(ops, *target, fill, flush);
}

bool WriteIfChanged(FileOps& ops, const std::string& path, std::string_view bytes, Flush flush,
                    bool throughLinks) {
    const std::optional<LinkEnd> target = TargetOf(ops, path, throughLinks);
    if (!target) return false;
    if (HoldsExactly(ops, *target, bytes)) return true;
    return MayReplace(ops, *target) && ReplaceTarget(ops, *target, WriterOf(bytes), flush);
}

}  // namespace

bool ReplaceFile(FileOps& ops, const std::string& path, const TemporaryFiller& fill, Flush flush) {
    return Replace(ops, path, fill, flush, true);
}

bool WriteFileAtomically(FileOps& ops, const std::string& path, std::string_view bytes,
                         Flush flush) {
    return ReplaceFile(ops, path, WriterOf(bytes), flush);
}

bool WriteFileIfChanged(FileOps& ops, const std::string& path, std::string_view bytes,
                        Flush flush) {
    return WriteIfChanged(ops, path, bytes, flush, true);
}

bool ReplaceMadeFile(FileOps& ops, const std::string& path, const TemporaryFiller& fill) {
    return Replace(ops, path, fill, Flush::ToSystem, false);
}

bool WriteMadeFile(FileOps& ops, const std::string& path, std::string_view bytes) {
    return WriteIfChanged(ops, path, bytes, Flush::ToSystem, false);
}

namespace {

bool OwnFolders(FileOps& ops, const std::string& folder, const std::string& target) {
    if (NoLinkBelow(ops, folder, std::string_view(target).substr(0, target.rfind('/') + 1)))
        return true;
    errno = ELOOP;
    return false;
}

}  // namespace

bool ReplaceMadeFileIn(FileOps& ops, const std::string& folder, const std::string& target,
                       const TemporaryFiller& fill) {
    return OwnFolders(ops, folder, target) && ReplaceMadeFile(ops, folder + target, fill);
}

bool WriteMadeFileIn(FileOps& ops, const std::string& folder, const std::string& target,
                     std::string_view bytes) {
    return OwnFolders(ops, folder, target) && WriteMadeFile(ops, folder + target, bytes);
}

}  // namespace vistello
