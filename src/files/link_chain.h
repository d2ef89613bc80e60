#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>

#include "files/file_ops.h"

namespace vistello {

// The folder that holds the last name of the path ("." for a bare name).
std::string FolderOf(const std::string& path);

// Where a path leads once every symbolic link at its end is followed: the file a write replaces
// or the name a dangling link would create. The link itself is never the target.
struct LinkEnd {
    std::string path;
    std::optional<struct stat> existing;  // nothing when no file exists there yet
};

// Nothing when the chain cannot be followed (a loop, an unreadable folder, a broken path).
[[nodiscard]] std::optional<LinkEnd> FollowLinks(FileOps& ops, const std::string& path);

}  // namespace vistello
