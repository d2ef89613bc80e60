#pragma once

#include "media/clip_reader.h"
#include "media/photo_reader.h"

namespace vistello {

// Reads photos with one reader and clips with another, as the slide's kind says; a clip's title
// and the time it was recorded fill a slide's fields as a photo's do.
class MediaReader : public PhotoReader {
public:
    MediaReader(PhotoReader& photos, ClipReader& clips) : m_photos(photos), m_clips(clips) {}
    std::optional<PhotoDetails> Read(const std::string& path) override;
    std::optional<PhotoDetails> ReadWhenAndHow(const std::string& path) override;

private:
    std::optional<PhotoDetails> ReadClip(const std::string& path);

    PhotoReader& m_photos;
    ClipReader& m_clips;
};

}  // namespace vistello
