#include "platform/block_reader.h"

#include <algorithm>
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

// The size is only a hint: some system files report none and still have content.
bool BlockReader::ReadAllInto(std::string& text) {
    if (!IsOpen()) return false;
    size_t used = text.size();
    text.resize(used + static_cast<size_t>(std::max<off_t>(m_info.st_size, 0)) + kBlockSize);
    for (;;) {
        if (text.size() - used < kBlockSize) text.resize(text.size() * 2);
        const ssize_t got = m_ops.Read(m_fd, text.data() + used, text.size() - used);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            text.resize(used);
            return got == 0;
        }
        used += static_cast<size_t>(got);
    }
}

}  // namespace vistello
