#pragma once

#include <cstddef>
#include <string>

#include "files/file_ops.h"

namespace vistello {

// A regular file's bytes, mapped into memory for as long as this lives, so that a library reads
// exactly the file that was opened: never a FIFO or device, never one swapped in by name later.
// Empty when the path leads to anything else or cannot be read.
class MappedFile {
public:
    MappedFile(FileOps& ops, const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool IsOpen() const { return m_data != nullptr; }
    const unsigned char* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    const unsigned char* m_data = nullptr;
    size_t m_size = 0;
};

}  // namespace vistello
