#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vistello {

// What an image library makes of a file.
struct ImageFacts {
    // A GIF, which may be animated and is published as it is.
    bool gif = false;
    // It has an alpha channel, which a JPEG could not keep.
    bool transparent = false;
    // Its pixel size as it is shown, turned upright; 0 where the library does not say.
    int width = 0;
    int height = 0;
};

enum class ImageFormat { Jpeg, Png, WebP, Avif };

// One more file made from the decode of a job's image: smaller, or in another format.
struct ImageOutput {
    // Relative to the output folder, as the job's own.
    std::string target;
    // The longer edge at most, never more than the job's own file.
    int side = 0;
    ImageFormat format = ImageFormat::WebP;
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
    // Made from the same decode, with the same quality and details.
    std::vector<ImageOutput> more;
    // A PNG compressed quickly rather than small: for a cache kept on this machine.
    bool quick = false;
};

// One encoded file and its pixel size.
struct EncodedImage {
    std::string bytes;
    int width = 0;
    int height = 0;
};

// What a job made, or why it made nothing.
struct MadeImage {
    // The job's own file, then one for each of `more`, in order; empty on failure.
    std::vector<EncodedImage> images;
    std::string failure;
};

// The image library, as the generator sees it. Examine, Make and EndThread are called on the
// program's picture threads, several at once; the library writes no file of its own; the
// generator writes what Make returns.
class ImageMaker {
public:
    virtual ~ImageMaker() = default;
    // Nothing when the library reads no such format.
    virtual std::optional<ImageFacts> Examine(const std::string& source) = 0;
    // Upright and in sRGB. A failure, with the library's reason, when the source cannot be
    // decoded or has more pixels than is safe to decode.
    virtual MadeImage Make(const ImageJob& job) = 0;
    // A picture thread examined or made an image and may serve another part of the program next:
    // the library lets go of what it keeps per thread.
    virtual void EndThread() {}
};

// Knows no format: every image is copied as it is.
class NoImageMaker final : public ImageMaker {
public:
    std::optional<ImageFacts> Examine(const std::string&) override { return std::nullopt; }
    MadeImage Make(const ImageJob&) override { return {{}, "no image library"}; }
};

}  // namespace vistello
