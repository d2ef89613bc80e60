#include "slides/media_reader.h"

#include "slides/slide_kind.h"

namespace vistello {

std::optional<PhotoDetails> MediaReader::ReadClip(const std::string& path) {
    const std::optional<ClipDetails> clip = m_clips.Read(path);
    if (!clip) return std::nullopt;
    PhotoDetails details;
    details.title = clip->title;
    details.takenAt = clip->recordedAt;
    details.shooting.dateTaken = clip->recordedText;
    return details;
}

std::optional<PhotoDetails> MediaReader::Read(const std::string& path) {
    return SlideKindOf(path) == SlideKind::Clip ? ReadClip(path) : m_photos.Read(path);
}

std::optional<PhotoDetails> MediaReader::ReadWhenAndHow(const std::string& path) {
    return SlideKindOf(path) == SlideKind::Clip ? ReadClip(path) : m_photos.ReadWhenAndHow(path);
}

}  // namespace vistello
