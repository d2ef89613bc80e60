#pragma once

#include <string>
#include <string_view>

namespace vistello {

// Two 64-bit FNV-1a sums with different starts, as 32 lower-case hex digits: enough to tell one
// text from another that nobody crafted to match it, and to name a path without showing it.
std::string Digest(std::string_view text);

// Whether the text is such a digest.
bool IsDigest(std::string_view text);

}  // namespace vistello
