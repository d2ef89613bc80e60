#pragma once

#include <optional>
#include <string>
#include <vector>

#include "slides/photo_details.h"

namespace vistello {

// Reads a clip's own title and the time it was recorded with ffprobe, run as a child process.
// A clip without them says nothing, as does any clip when ffprobe is not installed.
class FfprobeClipReader : public PhotoReader {
public:
    std::optional<PhotoDetails> Read(const std::string& path) override;
};

// How ffmpeg's tools are to open a file: as a local file by its absolute path, so that no name,
// however it begins, reads as an option or an address, and nothing it holds (a playlist, say)
// can make them open anything but local files.
std::vector<std::string> InputArguments(const std::string& path);

}  // namespace vistello
