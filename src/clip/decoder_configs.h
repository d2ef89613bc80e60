#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistello {

// An `avcC` box's body as a player needs it: its header with the reserved bits as they must be,
// its one sequence and one picture parameter set, each short as real ones are, and for the high
// profiles the chroma and depth bytes without extended sets; whatever followed is left out.
// Nothing for any other configuration.
std::optional<std::string> PlainAvcConfig(std::string_view avcC);

// An `esds` box's body that describes an AAC stream, built again from its object type and its
// short decoder-specific part alone: no stream number, no rates, nothing after the descriptors.
// Nothing when the body holds anything but the usual descriptors, each length exact.
std::optional<std::string> PlainAacDescription(std::string_view esds);

}  // namespace vistello
