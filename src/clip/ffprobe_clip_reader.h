#pragma once

#include <optional>
#include <string>

#include "media/clip_reader.h"

namespace vistello {

// Reads a clip's own title and the time it was recorded with ffprobe, run as a child process.
// A clip without them says nothing, as does any clip when ffprobe is not installed; a file that
// is no clip container cannot be read.
class FfprobeClipReader : public ClipReader {
public:
    std::optional<ClipDetails> Read(const std::string& path) override;
};

}  // namespace vistello
