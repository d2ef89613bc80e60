#pragma once

#include <cstdint>
#include <vector>

#include "clip/avc_picture.h"
#include "clip/sample_ranges.h"

namespace vistello {

// Whether the chunks of an H.264 track read from `fd` hold only units of its pictures: slices,
// the encoder's supplemental messages, delimiters and fillers, each exactly as long as it says,
// and no parameter set but those `stream` describes. Sets of their own would give the pictures
// another size or format than the index says, and units of other kinds are not for a browser.
// A track of `samples` samples in far more units than its pictures would need is not read through.
bool OnlyPlainUnits(int fd, const std::vector<ByteRange>& chunks, uint64_t samples,
                    const AvcStream& stream);

}  // namespace vistello
