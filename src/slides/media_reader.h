#pragma once

#include <optional>
#include <string>

#include "slides/photo_details.h"

namespace vistello {

// Reads photos with one reader and clips with another, telling them apart by their names.
class MediaReader : public PhotoReader {
public:
    MediaReader(PhotoReader& photos, PhotoReader& clips) : m_photos(photos), m_clips(clips) {}
    std::optional<PhotoDetails> Read(const std::string& path) override;
    std::optional<PhotoDetails> ReadWhenAndHow(const std::string& path) override;

private:
    PhotoReader& For(const std::string& path);

    PhotoReader& m_photos;
    PhotoReader& m_clips;
};

}  // namespace vistello
