#pragma once

#include <string>
#include <string_view>

namespace vistello {

inline constexpr char kPathSeparator = '/';

// The text after the last separator; a path without one is its own file name.
std::string FileNameOf(std::string_view path);

// A folder that is set and does not end with the separator gains one.
void AppendSeparator(std::string& folder);

}  // namespace vistello
