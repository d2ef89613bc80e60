#include "slides/media_reader.h"

#include "files/path_rules.h"
#include "slides/image_kinds.h"

namespace vistello {

PhotoReader& MediaReader::For(const std::string& path) {
    return IsClipFileName(FileNameOf(path)) ? m_clips : m_photos;
}

std::optional<PhotoDetails> MediaReader::Read(const std::string& path) {
    return For(path).Read(path);
}

std::optional<PhotoDetails> MediaReader::ReadWhenAndHow(const std::string& path) {
    return For(path).ReadWhenAndHow(path);
}

}  // namespace vistello
