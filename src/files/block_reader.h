#pragma once

#include <sys/stat.h>

#include <functional>
#include <string>
#include <string_view>

#include "files/file_ops.h"

namespace vistello {

// Opens the path for reading only if it leads to a regular file, whose details land in `info`: a
// folder, FIFO or device is never opened for good, so a read never waits on a pipe or runs on
// without end. -1 otherwise, with errno saying why (EISDIR, or kNotRegularFile).
int OpenRegularFile(FileOps& ops, const std::string& path, struct stat& info);

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

    // Fills `size` bytes from `offset` on, without moving where the reads above go on from;
    // false when the file ends first or a read fails.
    [[nodiscard]] bool ReadAt(off_t offset, char* buffer, size_t size);

private:
    FileOps& m_ops;
    // Before the descriptor, which is opened filling it in.
    struct stat m_info {};
    int m_fd = -1;
};

}  // namespace vistello
