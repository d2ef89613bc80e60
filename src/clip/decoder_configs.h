#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistello {

// An `avcC` box's body as a player needs it, built again from its one sequence and one picture
// parameter set, each read to its end: the header as they say, with the reserved bits as they
// must be, and for High the chroma and depth bytes without extended sets; whatever followed is
// left out. Nothing for any other configuration.
std::optional<std::string> PlainAvcConfig(std::string_view avcC);

// An `esds` box's body that describes a Low Complexity AAC stream, built again from its short
// decoder-specific part alone: no stream number, no rates, nothing after the descriptors.
// Nothing when the body holds anything but the usual descriptors, each length exact, or the
// specific part says more than a plain stream's rate and channels.
std::optional<std::string> PlainAacDescription(std::string_view esds);

}  // namespace vistello
