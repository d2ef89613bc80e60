#pragma once

#include <sys/stat.h>

#include <functional>
#include <string>
#include <string_view>

#include "files/file_ops.h"

namespace vistello {

// A regular file open for reading in blocks. A folder, FIFO or device does not open, so a read
// never waits on a pipe or runs on without end.
class BlockReader {
public:
    BlockReader(FileOps& ops, const std::string& path);
    ~BlockReader();
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    const struct stat& Info() const { return m_info; }

    // Hands every block to `take` up to the end of the file; false on a read error part-way or
    // when `take` refuses a block.
    [[nodiscard]] bool ReadAll(const std::function<bool(std::string_view block)>& take);

    // The kernel copies the rest of the file into `fd`, sharing blocks where the file system can.
    // When it refuses the copy before the first byte, the blocks go through `write` instead, as
    // ReadAll hands them on. False on a failure part-way.
    [[nodiscard]] bool CopyAllTo(int fd, const std::function<bool(std::string_view block)>& write);

    // Appends the whole file to text, read straight into it; false on a read error part-way.
    [[nodiscard]] bool ReadAllInto(std::string& text);

private:
    FileOps& m_ops;
    int m_fd = -1;
    struct stat m_info {};
};

}  // namespace vistello
