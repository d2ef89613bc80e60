#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/atomic_file.h"
#include "files/file_ops.h"

namespace vistello {

// Text files keep the same on-disk form everywhere: CR LF line ends, and a Ctrl-Z byte ends the
// data.
[[nodiscard]] std::string DecodeTextMode(std::string_view raw);
[[nodiscard]] std::string EncodeTextMode(std::string_view text);

// The whole file in text mode, or nothing when it is no regular file or cannot be read to the end.
[[nodiscard]] std::optional<std::string> ReadTextFile(FileOps& ops, const std::string& path);

// The file's bytes up to its first Ctrl-Z, line ends left as they are on disk, or nothing as for
// ReadTextFile. A reader that splits lines at LF and drops white space at their ends reads the
// same lines from this as from ReadTextFile, without the pass that rewrites every line end.
[[nodiscard]] std::optional<std::string> ReadLineFile(FileOps& ops, const std::string& path);

// Replaces the file's content atomically (see ReplaceFile). On failure the old file is left whole
// and false is returned.
[[nodiscard]] bool WriteTextFile(FileOps& ops, const std::string& path, std::string_view text,
                                 Flush flush = Flush::ToDisk);

// A missing file is created empty by its reader: true when a regular file exists at the path
// now (one that already did counts), false when none can be created there.
[[nodiscard]] bool CreateFileIfMissing(FileOps& ops, const std::string& path);

}  // namespace vistello
