#pragma once

#include <string>
#include <string_view>

namespace vistello {

// The text with every byte that `plain` refuses written as "%" and two capital hex digits.
std::string PercentEncode(std::string_view text, bool (*plain)(unsigned char byte));

}  // namespace vistello
