#include "platform/block_reader.h"

#include <cerrno>
#include <vector>

namespace vistello {

namespace {

// Large enough that a big image takes few system calls, small enough never to matter in memory.
constexpr size_t kBlockSize = 256 * 1024;

}  // namespace

BlockReader::BlockReader(FileOps& ops, const std::string& path) : m_ops(ops) {
    const int fd = m_ops.OpenForReading(path);
    if (fd < 0) return;
    if (m_ops.Fstat(fd, m_info) == 0 && S_ISREG(m_info.st_mode)) {
        m_fd = fd;
    } else {
        m_ops.Close(fd);
    }
}

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

}  // namespace vistello
