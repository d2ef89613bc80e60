#pragma once

#include <string>
#include <string_view>

#include "files/file_ops.h"

namespace vistello {

inline constexpr char kPathSeparator = '/';

// The text after the last separator; a path without one is its own file name.
std::string FileNameOf(std::string_view path);

// True when path names an existing folder (following links).
bool IsFolder(FileOps& ops, const std::string& path);

// The text after the file name's last dot, if the name has one that does not start it.
std::string_view ExtensionOf(std::string_view fileName);

// The file name without the dot and extension that ExtensionOf finds.
std::string_view StemOf(std::string_view fileName);

// True when path names an existing regular file (following links).
bool IsRegularFile(FileOps& ops, const std::string& path);

// A path from the root with no empty, "." or ".." step and no separator at the end.
bool IsPlainAbsolutePath(std::string_view path);

// The path from the root as the current folder stands, "." and ".." worked out by name: the
// same file from any current folder. A path so written already comes back as it is.
std::string AbsolutePath(std::string_view path);

// A folder that is set and does not end with the separator gains one.
void AppendSeparator(std::string& folder);

}  // namespace vistello
