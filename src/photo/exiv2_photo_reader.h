#pragma once

#include <optional>
#include <string>

#include "slides/photo_details.h"

namespace vistello {

// Reads EXIF, IPTC and XMP with the photo library. Every failure of the library, on any file
// however damaged, ends as "cannot be read"; nothing it throws leaves Read.
class Exiv2PhotoReader : public PhotoReader {
public:
    Exiv2PhotoReader();
    std::optional<PhotoDetails> Read(const std::string& path) override;
};

}  // namespace vistello
