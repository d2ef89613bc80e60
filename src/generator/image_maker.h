#pragma once

#include <optional>
#include <string>

namespace vistello {

// What an image library makes of a file.
struct ImageFacts {
    // A GIF, which may be animated and is published as it is.
    bool gif = false;
    // It has an alpha channel, which a JPEG could not keep.
    bool transparent = false;
};

// One resized image to make.
struct ImageJob {
    std::string source;
    // Written whole or not at all.
    std::string target;
    // The longer edge at most, never enlarged.
    int side = 0;
    int quality = 0;
    // PNG rather than JPEG.
    bool png = false;
    // The camera's details, location included, go with the copy; otherwise none do.
    bool keepDetails = false;
};

// The image library, as the generator sees it. Make is called from several threads at once.
class ImageMaker {
public:
    virtual ~ImageMaker() = default;
    // Nothing when the library reads no such format.
    virtual std::optional<ImageFacts> Examine(const std::string& source) = 0;
    // Upright and in sRGB. False when the source cannot be decoded, has more pixels than is safe
    // to decode, or the target cannot be written.
    virtual bool Make(const ImageJob& job) = 0;
};

// Knows no format: every image is copied as it is.
class NoImageMaker final : public ImageMaker {
public:
    std::optional<ImageFacts> Examine(const std::string&) override { return std::nullopt; }
    bool Make(const ImageJob&) override { return false; }
};

}  // namespace vistello
