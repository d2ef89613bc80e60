#pragma once

#include <optional>
#include <string>

#include "slides/photo_details.h"

namespace vistello {

// Reads EXIF and IPTC with the photo library and XMP with the XML library. Of a JPEG, the
// segments that hold them are found first and only they are read. Every failure of a library,
// on any file however damaged, ends as "cannot be read"; nothing it throws leaves Read.
class Exiv2PhotoReader : public PhotoReader {
public:
    Exiv2PhotoReader();
    std::optional<PhotoDetails> Read(const std::string& path) override;
};

}  // namespace vistello
