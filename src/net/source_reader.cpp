#include "net/source_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/block_reader.h"
#include "files/error_text.h"

namespace vistello {

SourceReader::SourceReader(FileOps& files, const SendSource& source)
    : m_files(files), m_source(source) {
    if (source.inMemory) {
        m_size = source.bytes.size();
        return;
    }
    struct stat info {};
    m_fd = OpenRegularFile(files, source.path, info);
    if (m_fd < 0) {
        m_failure = source.path + ": " + ErrorText(errno);
        return;
    }
    m_size = static_cast<std::uint64_t>(info.st_size);
}

SourceReader::~SourceReader() {
    if (m_fd >= 0) m_files.Close(m_fd);
}

long SourceReader::Read(char* buffer, std::size_t size) {
    if (m_source.inMemory) {
        const std::size_t count = std::min<std::uint64_t>(size, m_source.bytes.size() - m_offset);
        std::memcpy(buffer, m_source.bytes.data() + m_offset, count);
        m_offset += count;
        return static_cast<long>(count);
    }
    const ssize_t count = m_files.ReadAt(m_fd, buffer, size, static_cast<off_t>(m_offset));
    if (count < 0) {
        m_failure = m_source.path + ": " + ErrorText(errno);
        return -1;
    }
    m_offset += static_cast<std::uint64_t>(count);
    return static_cast<long>(count);
}

bool SourceReader::Rewind() {
    m_offset = 0;
    return m_failure.empty();
}

}  // namespace vistello
