#pragma once

#include <string>
#include <string_view>

namespace vistello {

// The URL the desktop's thumbnail cache knows a file by: "file://" and its absolute path, with
// every byte but letters, digits and -_.!~*'()/:@&=+$, is written as "%" and two capital hex
// digits, as the desktop's own libraries write it. Another program finds a thumbnail only by the
// same URL.
std::string ThumbnailUri(std::string_view absolutePath);

}  // namespace vistello
