#include "files/block_reader.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "files/error_text.h"

namespace vistello {

namespace {

// Large enough that a big image takes few system calls, small enough never to matter in memory.
constexpr size_t kBlockSize = 256 * 1024;
// As much as one kernel copy takes at a time anyway.
constexpr size_t kKernelCopySize = size_t{1} << 30;

// The file systems and kernels that cannot copy between these two files, and sandboxes that
// forbid the call; a plain read and write still can.
bool KernelRefuses(int error) {
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP ||
           error == EPERM;
}

}  // namespace

int OpenRegularFile(FileOps& ops, const std::string& path, struct stat& info) {
    const int fd = ops.OpenForReading(path);
    if (fd < 0) return -1;
    const bool known = ops.Fstat(fd, info) == 0;
    if (known && S_ISREG(info.st_mode)) return fd;
    const int error = !known ? errno : S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile;
    ops.Close(fd);
    errno = error;
    return -1;
}

BlockReader::BlockReader(FileOps& ops, const std::string& path)
    : m_ops(ops), m_fd(OpenRegularFile(ops, path, m_info)) {}

BlockReader::~BlockReader() {
    if (IsOpen()) m_ops.Close(m_fd);
}

bool BlockReader::ReadAll(const std::function<bool(std::string_view block)>& take) {
    if (!IsOpen()) return false;
    std::vector<char> buffer(kBlockSize);
    for (;;) {
        const ssize_t got = m_ops.Read(m_fd, buffer.data(), buffer.size());
        if (got == 0) return true;
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 || !take(std::string_view(buffer.data(), static_cast<size_t>(got))))
            return false;
    }
}

// A kernel that copies nothing at once, as some file systems do even for a file with content,
// is taken to refuse: the plain read then tells an empty file from a failure.
bool BlockReader::CopyAllTo(int fd, const std::function<bool(std::string_view block)>& write) {
    if (!IsOpen()) return false;
    bool copiedAny = false;
    for (;;) {
        const ssize_t copied = m_ops.CopyFileRange(m_fd, fd, kKernelCopySize);
        if (copied < 0 && errno == EINTR) continue;
        if (copied > 0) {
            copiedAny = true;
            continue;
        }
        if (copiedAny) return copied == 0;
        if (copied == 0 || KernelRefuses(errno)) return ReadAll(write);
        return false;
    }
}

// The size is only a hint: some system files report none and still have content. A file of the
// size it says is read with room for one byte more, which tells its end: the text is not made
// a block larger than the file only to be filled and cut again.
bool BlockReader::ReadAllInto(std::string& text) {
    if (!IsOpen()) return false;
    size_t used = text.size();
    text.resize(used + static_cast<size_t>(std::max<off_t>(m_info.st_size, 0)) + 1);
    for (;;) {
        if (text.size() == used) text.resize(std::max(text.size() * 2, used + kBlockSize));
        const ssize_t got = m_ops.Read(m_fd, text.data() + used, text.size() - used);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            text.resize(used);
            return got == 0;
        }
        used += static_cast<size_t>(got);
    }
}

bool BlockReader::ReadAt(off_t offset, char* buffer, size_t size) {
    if (!IsOpen()) return false;
    while (size > 0) {
        const ssize_t got = m_ops.ReadAt(m_fd, buffer, size, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        buffer += got;
        size -= static_cast<size_t>(got);
        offset += got;
    }
    return true;
}

}  // namespace vistello
