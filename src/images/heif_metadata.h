#pragma once

#include <optional>

#include "media/heif_reader.h"

namespace vistello {

// Reads HEIF files with the container library, in the image module with the image library that
// links it: linked into the program, the library and the codecs it pulls in would be loaded at
// every start, though only an import of a HEIC or AVIF photo reads one.
class LibheifReader final : public HeifReader {
public:
    std::optional<HeifMetadata> ReadMetadata(ByteSource& file) override;
};

}  // namespace vistello
