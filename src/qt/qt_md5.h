#pragma once

#include <string>
#include <string_view>

namespace vistello {

// The MD5 sum of the bytes as 32 lower-case hex digits, from Qt's own hash: what names a file in
// the desktop's thumbnail cache.
std::string QtMd5Hex(std::string_view bytes);

}  // namespace vistello
