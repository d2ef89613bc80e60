#pragma once

#include <string>

namespace vistello {

// The number with its digits in groups of three, comma between: 1234567 gives "1,234,567".
std::string GroupThousands(long long number);

}  // namespace vistello
