#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "clip/mp4_box.h"

namespace vistello {

// Whether the samples the index's tracks name fill the media data exactly: every byte of every
// mdat box belongs to one sample and no sample lies outside them. Media data that holds more than
// the samples (whatever a camera or anyone else put there) or samples that run past it are left
// to the tools, which copy the samples alone. `index` is what the index box holds.
// Bytes of the file from `from` on.
struct ByteRange {
    uint64_t from = 0;
    uint64_t size = 0;
};

// A track's samples: how many, and the bytes each of its chunks takes.
struct TrackSamples {
    uint64_t count = 0;
    std::vector<ByteRange> chunks;
    // How many samples each chunk holds, in the same order.
    std::vector<uint64_t> perChunk;
    // The body of its size table, which holds one size for all or each sample's.
    std::string_view sizes;

    // The size of sample `sample`, counted from 0, one of the track's.
    uint64_t SizeOf(uint64_t sample) const;
};

// The track's samples by its sample table; nothing when the tables disagree.
std::optional<TrackSamples> SamplesOf(std::string_view track);

bool SamplesFillMedia(std::string_view index, const std::vector<FileBox>& media);

}  // namespace vistello
