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
    // Where the generator writes the result, relative to the output folder.
    std::string target;
    // The longer edge at most, never enlarged; 0 for the image's own size.
    int side = 0;
    int quality = 0;
    // PNG rather than JPEG.
    bool png = false;
    // The camera's details, location included, go with the copy; otherwise none do.
    bool keepDetails = false;
};

// An encoded image, or why there is none.
struct EncodedImage {
    std::string bytes;
    // Empty when bytes hold the whole file.
    std::string failure;
};

// The image library, as the generator sees it. Examine, Make and EndThread are called on the
// generator's worker threads, several at once; the library writes no file of its own; the
// generator writes what Make returns.
class ImageMaker {
public:
    virtual ~ImageMaker() = default;
    // Nothing when the library reads no such format.
    virtual std::optional<ImageFacts> Examine(const std::string& source) = 0;
    // Upright and in sRGB. A failure, with the library's reason, when the source cannot be
    // decoded or has more pixels than is safe to decode.
    virtual EncodedImage Make(const ImageJob& job) = 0;
    // A worker thread that examined or made images is about to end.
    virtual void EndThread() {}
};

// Knows no format: every image is copied as it is.
class NoImageMaker final : public ImageMaker {
public:
    std::optional<ImageFacts> Examine(const std::string&) override { return std::nullopt; }
    EncodedImage Make(const ImageJob&) override { return {{}, "no image library"}; }
};

}  // namespace vistello
