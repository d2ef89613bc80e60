#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "files/file_ops.h"

namespace vistello {

// How far a write is flushed before the new file is renamed over the old one. The user's own
// documents go to the disk, folder included; generated output, which can be made again at any
// time, only to the system, so that thousands of pages do not wait for the disk one by one.
enum class Flush { ToDisk, ToSystem };

// Takes one block of the new content; false when it could not be written whole.
using BlockWriter = std::function<bool(std::string_view block)>;
// Fills the open temporary with the new content, handing blocks to `write` or, for calls that
// need the file itself, working on `fd`; false when the content cannot be produced whole.
using TemporaryFiller = std::function<bool(int fd, const BlockWriter& write)>;

// Replaces a file's content atomically: a temporary file created beside it, filled, flushed and
// renamed over it. A symbolic link is written through to the file it names and stays a link.
// Only a regular file the user may write is replaced; its permission bits are kept, and a new
// file gets 0666 less the umask. On failure nothing is left behind and the old file is whole,
// except when only the final folder sync of Flush::ToDisk fails: the new content is then in place
// but not known to be on the disk, and false is still returned. After false, errno says why.
[[nodiscard]] bool ReplaceFile(FileOps& ops, const std::string& path, const TemporaryFiller& fill,
                               Flush flush);

[[nodiscard]] bool WriteFileAtomically(FileOps& ops, const std::string& path,
                                       std::string_view bytes, Flush flush = Flush::ToDisk);

// Output the program makes (pages, copies, made pictures), which can be made again: flushed to
// the system only, and a link at the name is replaced by the new file, never written through, so
// that nothing outside the output folder is ever written by way of one.
[[nodiscard]] bool ReplaceMadeFile(FileOps& ops, const std::string& path,
                                   const TemporaryFiller& fill);
// As ReplaceMadeFile, except that a file that already holds exactly these bytes is left as it is.
[[nodiscard]] bool WriteMadeFile(FileOps& ops, const std::string& path, std::string_view bytes);
// The same for `target`, a path from the output folder `folder`: refused (ELOOP) when a folder on
// the way down from `folder` is reached through a link, which could lead anywhere.
[[nodiscard]] bool ReplaceMadeFileIn(FileOps& ops, const std::string& folder,
                                     const std::string& target, const TemporaryFiller& fill);
[[nodiscard]] bool WriteMadeFileIn(FileOps& ops, const std::string& folder,
                                   const std::string& target, std::string_view bytes);

// As WriteFileAtomically, except that a file that already holds exactly these bytes is left as it
// is, modification time and all, and counts as written, whatever its permissions.
[[nodiscard]] bool WriteFileIfChanged(FileOps& ops, const std::string& path, std::string_view bytes,
                                      Flush flush);

}  // namespace vistello
