#pragma once

#include <optional>
#include <string>

#include "files/file_ops.h"

namespace vistello {

// The metadata segments at the front of a JPEG file, as stored.
struct JpegMetadata {
    std::string exif;       // the TIFF structure after the "Exif" name
    std::string photoshop;  // the Photoshop resource blocks of every segment that has them, joined
    std::string xmp;        // the XMP packet
};

// Walks the segments before the image data, reading no further than they reach (and never more
// than a few MiB); a file that ends early gives what came before. Nothing when the file cannot
// be read, is not a regular file or does not begin as a JPEG.
std::optional<JpegMetadata> ReadJpegMetadata(FileOps& ops, const std::string& path);

}  // namespace vistello
