#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistello {

struct AvcPicture {
    int width = 0;
    int height = 0;
};

// What an `avcC` box says of a stream a browser plays as it is.
struct AvcStream {
    AvcPicture picture;
    // How many bytes give each unit's length in a sample.
    int lengthSize = 4;
    // The one sequence and one picture parameter set, whole.
    std::string sequenceSet;
    std::string pictureSet;
};

// The stream that the one sequence and one picture parameter set of an `avcC` box describe, when
// it is Baseline, Main or High and decodes to 8-bit 4:2:0 in limited range without scaling
// matrices or lossless blocks, and each set holds its fields and nothing after them; nothing for
// anything else or whatever this reader is unsure of.
std::optional<AvcStream> PlainAvcStream(std::string_view avcC);

}  // namespace vistello
