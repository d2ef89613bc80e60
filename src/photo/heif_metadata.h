#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace vistello {

// The metadata of a HEIF file's primary image (HEIC, AVIF), as stored.
struct HeifMetadata {
    std::string exif;  // the TIFF structure
    std::string xmp;   // the XMP packet
};

// Nothing when the bytes are not a HEIF file the container library can read.
std::optional<HeifMetadata> ReadHeifMetadata(const unsigned char* data, size_t size);

// Whether the bytes begin as an ISO media file (a "ftyp" box), as HEIF files do.
bool LooksLikeIsoMedia(const unsigned char* data, size_t size);

}  // namespace vistello
