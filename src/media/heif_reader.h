#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vistello {

// The metadata of a HEIF file's primary image (HEIC, AVIF), as stored.
struct HeifMetadata {
    std::string exif;  // the TIFF structure
    std::string xmp;   // the XMP packet
};

// A file's bytes, read where the reader asks.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The size the file had when it was opened.
    virtual int64_t Size() const = 0;
    // Fills `size` bytes from `offset` on; false when the file ends first or a read fails.
    virtual bool ReadAt(int64_t offset, char* buffer, size_t size) = 0;
};

// The HEIF container library, as the photo reader sees it. Read on several threads at once.
class HeifReader {
public:
    virtual ~HeifReader() = default;
    // Nothing when the file is not a HEIF file the library can read. Only what the library asks
    // for is read: the boxes that describe the file and the metadata items, never the image data,
    // which is most of a photo.
    virtual std::optional<HeifMetadata> ReadMetadata(ByteSource& file) = 0;
};

}  // namespace vistello
