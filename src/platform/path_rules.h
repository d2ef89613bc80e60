#pragma once

#include <string>
#include <string_view>

namespace vistello {

inline constexpr char kPathSeparator = '/';

// The text after the last separator; a path without one is its own file name.
std::string FileNameOf(std::string_view path);

// True when path names an existing folder (following links).
bool IsFolder(const std::string& path);

// "1 image", "2 images": a count with its noun.
std::string CountOf(long long count, std::string_view noun);

// A folder that is set and does not end with the separator gains one.
void AppendSeparator(std::string& folder);

}  // namespace vistello
