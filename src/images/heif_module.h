#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "media/heif_reader.h"

namespace vistello {

// The image module's entry point for HEIF files: extern "C" HeifReader* vistello_heif_reader().
inline constexpr const char* kHeifReaderEntry = "vistello_heif_reader";

// The container library, loaded with the image module the first time a HEIF file's details are
// read, so that a start does not load it and its codecs.
class HeifModule final : public HeifReader {
public:
    // The places the module may be, tried in order, unless the program carries it itself.
    explicit HeifModule(std::vector<std::string> places);
    std::optional<HeifMetadata> ReadMetadata(ByteSource& file) override;

private:
    std::vector<std::string> m_places;
    std::once_flag m_loaded;
    std::atomic<HeifReader*> m_reader = nullptr;
};

}  // namespace vistello
