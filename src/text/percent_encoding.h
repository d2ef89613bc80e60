#pragma once

#include <string>
#include <string_view>

namespace vistello {

// The text with every byte that `plain` refuses written as "%" and two capital hex digits.
std::string PercentEncode(std::string_view text, bool (*plain)(unsigned char byte));

// The bytes PercentEncode was given; a "%" without two hex digits after it stays as it is.
std::string PercentDecode(std::string_view text);

}  // namespace vistello
