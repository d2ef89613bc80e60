#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

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

// The name itself, a link there taken as the link and not followed: where a made file goes, so
// that it replaces the name in its folder and never the file a link leads to. Nothing when the
// name cannot be looked at.
[[nodiscard]] std::optional<LinkEnd> NameItself(FileOps& ops, const std::string& path);

// Whether each folder of `below` ("a/b/"), from `top` down, is a folder of its own and no link, or
// not there yet: nothing reached through a link in an output folder is written or removed.
[[nodiscard]] bool NoLinkBelow(FileOps& ops, const std::string& top, std::string_view below);

}  // namespace vistello
