#pragma once

#include <string>
#include <string_view>

namespace vistello {

// The text on one line for a message: each control character, a line break among them, shown as
// its picture (U+2400 to U+2421: a LF as "␊"), every other byte as it is.
std::string WithVisibleControls(std::string_view text);

}  // namespace vistello
