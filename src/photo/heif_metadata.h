#pragma once

#include <optional>
#include <string>

#include "files/block_reader.h"

namespace vistello {

// The metadata of a HEIF file's primary image (HEIC, AVIF), as stored.
struct HeifMetadata {
    std::string exif;  // the TIFF structure
    std::string xmp;   // the XMP packet
};

// Nothing when the file is not a HEIF file the container library can read. Only what the library
// asks for is read: the boxes that describe the file and the metadata items, never the image
// data, which is most of a photo.
std::optional<HeifMetadata> ReadHeifMetadata(BlockReader& file);

// Whether the file begins as an ISO media file (a "ftyp" box), as HEIF files do.
bool LooksLikeIsoMedia(BlockReader& file);

}  // namespace vistello
