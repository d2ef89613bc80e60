#pragma once

#include <cstdint>
#include <string_view>

namespace vistello {

// Whether a box a player reads as it is holds its fields and nothing after them, which could hold
// anything at all; `samples` is how many samples its track has, which some tables are as long as.
// False for a box of a type not known here.
bool HoldsOnlyItsFields(std::string_view type, std::string_view body, uint64_t samples);

}  // namespace vistello
