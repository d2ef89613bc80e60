#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vistello {

// One value of an EXIF field: its TIFF type, how many items it holds, and its bytes, numbers
// little-endian whatever the block's own order.
struct ExifValue {
    uint16_t type = 0;
    uint32_t count = 0;
    std::string bytes;
};

// A field to look for: its tag, in the image's first directory or in the EXIF directory it
// points to.
struct ExifTag {
    uint16_t tag = 0;
    bool inExifDirectory = false;
};

// The first value of each tag in a TIFF-structured EXIF block, in the order asked; empty where the
// block has none, and every one empty for a block that is not TIFF. Only the two directories are
// walked, and nothing outside the block is ever read: a photo's few fields are found without
// decoding the hundreds a camera writes beside them.
std::vector<ExifValue> FindExifValues(std::string_view block, std::span<const ExifTag> tags);

}  // namespace vistello
