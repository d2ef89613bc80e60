#pragma once

#include <optional>
#include <string>

#include "media/image_maker.h"

namespace vistello {

// Makes web copies and thumbnails with the image library: shrunk while the file is decoded,
// upright, in sRGB; a job's smaller copies and other formats are made from that one decode. Nothing
// the library throws leaves it, and it keeps no cache of its own, so memory stays flat however many
// images go through it. The library starts on first use, not when the window opens: starting it
// loads all its format modules, which would hold up every start of the program.
class VipsImageMaker final : public ImageMaker {
public:
    std::optional<ImageFacts> Examine(const std::string& source) override;
    MadeImage Make(const ImageJob& job) override;
    void EndThread() override;
};

// More pixels than this are refused undecoded: a small file can claim a picture that would take
// gigabytes to hold.
inline constexpr double kMaxImagePixels = 250e6;

}  // namespace vistello
