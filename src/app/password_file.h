#pragma once

#include <optional>
#include <string>

#include "files/file_ops.h"

namespace vistello {

// The first line of a password file, without its line end (LF or CR LF); nothing, with errno
// saying why, when it cannot be read. A pipe serves as well as a file
// ("--password-file <(pass show site)"); only the first line is read, so a writer that never
// ends the pipe is not waited for past it.
std::optional<std::string> ReadPasswordFile(FileOps& ops, const std::string& path);

}  // namespace vistello
