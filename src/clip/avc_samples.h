#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "clip/avc_picture.h"
#include "clip/sample_ranges.h"

namespace vistello {

// An H.264 track's samples as they are published: without the supplemental messages and filler
// an encoder or a camera wrote among the pictures, whose user data may hold anything, where the
// camera was among it. A player needs none of them.
struct PictureSamples {
    // The bytes of the track's chunks that are kept, in the file's order.
    std::vector<ByteRange> kept;
    // Each sample's size once the units are left out.
    std::vector<uint32_t> sizes;
    // Whether any unit was left out, which changes sizes.
    bool trimmed = false;
};

// The track's samples read from `fd` when they hold only units of its pictures: slices, messages,
// delimiters and fillers, each exactly as long as it says and inside its sample, at least one
// slice in each sample, and no parameter set but those `stream` describes. Sets of their own
// would give the pictures another size or format than the index says, and units of other kinds
// are not for a browser. Nothing for anything else, and for a track in far more units or samples
// than its pictures would need, which is not read through.
std::optional<PictureSamples> PlainPictureSamples(int fd, const TrackSamples& samples,
                                                  const AvcStream& stream);

}  // namespace vistello
