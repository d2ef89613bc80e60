#pragma once

#include <string>

#include "platform/file_ops.h"

namespace vistello {

// Copies a regular file over the destination, replacing it atomically (see ReplaceFile) and
// flushed to the system only, since a copy can be made again. The source is streamed in blocks.
// Copying a file onto itself (or onto another name of the same file) fails and leaves it
// untouched.
[[nodiscard]] bool CopyFileOver(const std::string& from, const std::string& to);
[[nodiscard]] bool CopyFileOver(FileOps& ops, const std::string& from, const std::string& to);

}  // namespace vistello
