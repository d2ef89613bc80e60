#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace vistello {

// How many bytes of an `avcC` box's body its parameter sets take, from its header to its last
// set; whatever follows them is no part of the configuration. Nothing when a length is wrong.
std::optional<size_t> AvcConfigLength(std::string_view avcC);

// Whether an `esds` box's body holds an AAC stream's description and nothing more: one
// elementary stream descriptor without optional fields, its decoder configuration with a short
// specific part, and the predefined sync layer, each length exact.
bool PlainAacDescription(std::string_view esds);

}  // namespace vistello
