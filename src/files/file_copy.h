#pragma once

#include <sys/stat.h>

#include <string>

#include "files/file_ops.h"
#include "files/link_chain.h"

namespace vistello {

// Copies a regular file over the destination, replacing it atomically (see ReplaceFile) and
// flushed to the system only, since a copy can be made again. The kernel copies the content where
// it can, sharing blocks on file systems that do; otherwise it is streamed in blocks. The copy
// keeps the source's modification time. Copying a file onto itself (or onto another name of the
// same file) fails and leaves it untouched.
[[nodiscard]] bool CopyFileOver(FileOps& ops, const std::string& from, const std::string& to);

// True when `to` leads to a regular file with the size and modification time in `source`, a
// regular file's details: a copy that CopyFileOver made before and need not make again. The source
// itself, by any of its names, is one.
[[nodiscard]] bool IsCopyOf(FileOps& ops, const struct stat& source, const std::string& to);
// The same, where the links from `to` were followed already.
[[nodiscard]] bool IsCopyOf(const struct stat& source, const LinkEnd& copy);

}  // namespace vistello
