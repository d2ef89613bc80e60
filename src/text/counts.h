#pragma once

#include <string>
#include <string_view>

namespace vistello {

// The number with its digits in groups of three, comma between: 1234567 gives "1,234,567".
std::string GroupThousands(long long number);

// "1 image", "2 images": a count with its noun.
std::string CountOf(long long count, std::string_view noun);

}  // namespace vistello
