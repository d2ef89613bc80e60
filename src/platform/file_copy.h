#pragma once

#include <string>

namespace vistello {

// Copies a file over the destination, replacing it atomically. Copying a file onto itself (or onto
// another name of the same file) fails and leaves it untouched.
bool CopyFileOver(const std::string& from, const std::string& to);

}  // namespace vistello
