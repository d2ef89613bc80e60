#pragma once

#include <cstdint>
#include <string>

#include "files/file_ops.h"
#include "media/publish_link.h"

namespace vistello {

// The bytes of a file to send, read in the blocks the network library asks for.
class SourceReader {
public:
    SourceReader(FileOps& files, const SendSource& source);
    ~SourceReader();
    SourceReader(const SourceReader&) = delete;
    SourceReader& operator=(const SourceReader&) = delete;

    // Why the source cannot be read, or "" when it can.
    const std::string& Failure() const { return m_failure; }
    std::uint64_t Size() const { return m_size; }
    // Up to `size` bytes; 0 at the end; -1 when the file could not be read.
    long Read(char* buffer, std::size_t size);
    // Back to the first byte, for a request sent again.
    bool Rewind();

private:
    FileOps& m_files;
    const SendSource& m_source;
    int m_fd = -1;
    std::uint64_t m_size = 0;
    std::uint64_t m_offset = 0;
    std::string m_failure;
};

}  // namespace vistello
