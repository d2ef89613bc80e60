#pragma once

#include <optional>
#include <string>
#include <vector>

#include "clip/aac_frames.h"
#include "clip/avc_picture.h"
#include "clip/mp4_box.h"
#include "clip/sample_ranges.h"

namespace vistello {

// A clip whose streams already are what a web version's would be, as its boxes say, and what of
// its media data is published.
struct ReadyMp4 {
    // What its index box holds, below the box's header.
    std::string index;
    AvcPicture picture;
    // The bytes of its media data that are published, in the file's order: the sound's whole,
    // the pictures' without the units that only tell about them.
    std::vector<ByteRange> kept;
    // Changes within those bytes: the sound's fill and data blanked.
    std::vector<Patch> patches;
    // The pictures' sizes without those units, and where the size table they replace begins in
    // `index`; none when no unit was left out.
    std::vector<uint32_t> pictureSizes;
    size_t pictureSizesAt = 0;
};

// The clip behind `fd` when it is an MP4 or QuickTime file, not in fragments, whose tracks are one
// upright H.264 video, 8-bit 4:2:0 in limited range with its longer side at most `side`, and at
// most one AAC sound, each with its data in this file and nothing but their samples in its media
// data; nothing for anything else, or whatever this reader is unsure of, which the tools then
// look at.
std::optional<ReadyMp4> ReadReadyMp4(int fd, int side);

}  // namespace vistello
