#pragma once

#include <optional>
#include <string>
#include <vector>

#include "clip/avc_picture.h"
#include "clip/mp4_box.h"

namespace vistello {

// A clip whose streams already are what a web version's would be, as its boxes say.
struct ReadyMp4 {
    // What its index box holds, below the box's header.
    std::string index;
    // Its top-level mdat boxes, in their order in the file.
    std::vector<FileBox> media;
    AvcPicture picture;
};

// The clip behind `fd` when it is an MP4 or QuickTime file, not in fragments, whose tracks are one
// upright H.264 video, 8-bit 4:2:0 in limited range with its longer side at most `side`, and at
// most one AAC sound, each with its data in this file and nothing but their samples in its media
// data; nothing for anything else, or whatever
// this reader is unsure of, which the tools then look at.
std::optional<ReadyMp4> ReadReadyMp4(int fd, int side);

}  // namespace vistello
