#pragma once

#include <optional>
#include <string>

#include "files/file_ops.h"

namespace vistello {

// Why the file is not what its name says: nothing when its first bytes are those of a picture the
// program reads (for a photo's name) or of a clip's container (for a clip's name). A picture of
// another kind than its name says is still a picture: the image library goes by the bytes.
// Otherwise the reason, for a line that names the file.
std::optional<std::string> MediaMismatch(FileOps& ops, const std::string& path);

// The same, but nothing for a file that cannot be read at all: what a copy of it says then is
// the copy's to say.
std::optional<std::string> ReadMediaMismatch(FileOps& ops, const std::string& path);

}  // namespace vistello
