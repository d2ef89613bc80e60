#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "files/file_ops.h"

namespace vistello {

// Enough of a file's details to tell that someone else wrote it: an atomic write brings a new
// file, and any write a new modification time.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    time_t seconds = 0;
    long nanoseconds = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file the path leads to, or nothing when there is none.
std::optional<FileStamp> StampOf(FileOps& ops, const std::string& path);

}  // namespace vistello
