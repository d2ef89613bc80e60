#pragma once

#include <optional>
#include <string>

#include "media/photo_details.h"

namespace vistello {

// Reads the details that cameras, phones and photo managers store in a photo.
class PhotoReader {
public:
    virtual ~PhotoReader() = default;
    // Nothing when the file cannot be read as an image; details, maybe empty, otherwise.
    virtual std::optional<PhotoDetails> Read(const std::string& path) = 0;
    // Only when and how the photo was taken, the page fields left empty; quicker where the photo
    // says it where cameras write it.
    virtual std::optional<PhotoDetails> ReadWhenAndHow(const std::string& path) {
        return Read(path);
    }
};

// For a program without a photo library: every photo describes nothing.
class NoPhotoReader : public PhotoReader {
public:
    std::optional<PhotoDetails> Read(const std::string&) override { return PhotoDetails{}; }
};

}  // namespace vistello
