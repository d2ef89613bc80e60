#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clip/sample_ranges.h"

namespace vistello {

// Bytes of the clip from `at` on as its published copy holds them instead.
struct Patch {
    uint64_t at = 0;
    std::string bytes;
};

// The changes that blank the fill and data elements each of an AAC track's frames read from `fd`
// begins with, before its channels, where an encoder writes its name and anything else it likes:
// data bytes become zeros and fill becomes the standard's filler, of the same length, so that
// no other bit moves. Fill that a decoder reads (dynamic range, surround, band replication) is
// kept. Elements after the channels can only be found by decoding them and stay as they are.
// Nothing when a frame begins with an element of another kind or is too short for its first
// elements, and for far more changes than a clip's sound needs.
std::optional<std::vector<Patch>> LeadingDataBlanked(int fd, const TrackSamples& sound);

}  // namespace vistello
