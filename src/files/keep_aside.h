#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/file_ops.h"

namespace vistello {

// Copies the file to the first free name beside it that says why: "garden (changed
// elsewhere).dat", then "garden (changed elsewhere 2).dat" and on. Returns that name, or nothing
// when no copy could be made.
std::optional<std::string> KeepAside(FileOps& ops, const std::string& path, std::string_view why);

}  // namespace vistello
