#pragma once

#include <optional>
#include <string_view>

namespace vistello {

struct AvcPicture {
    int width = 0;
    int height = 0;
};

// The picture size that the one sequence parameter set of an `avcC` box gives, when its frames
// decode to 8-bit 4:2:0 in limited range without scaling matrices; nothing for anything else or
// whatever this reader is unsure of.
std::optional<AvcPicture> PlainAvcPicture(std::string_view avcC);

}  // namespace vistello
