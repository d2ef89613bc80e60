#pragma once

#include <string_view>
#include <vector>

namespace vistello {

// The kinds of image the program takes in, in the order the image picker lists them: what
// Import Directory, dropped files and the picker agree to call an image, video clips among them.
struct ImageKind {
    // As the picker names it: "JPG Files".
    std::string_view label;
    // Without the dot, in small letters; names match in any case.
    std::vector<std::string_view> extensions;
    // Every major browser shows it; a photo of any other kind is published as a JPEG.
    bool browsersShow = true;
    // Video clips, which become slides as photos do.
    bool clip = false;
};

const std::vector<ImageKind>& ImageKinds();

// A name of one of those kinds: its extension is one of theirs, in any case.
bool IsImageFileName(std::string_view name);

// A name of one of those kinds that not every major browser shows (TIFF, HEIC).
bool IsUnshownImageFileName(std::string_view name);

// A name of a video clip.
bool IsClipFileName(std::string_view name);

}  // namespace vistello
