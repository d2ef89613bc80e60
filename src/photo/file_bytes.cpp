#include "photo/file_bytes.h"

namespace vistello {

namespace {

constexpr off_t kLargestPhoto = off_t{1} << 30;

}  // namespace

std::optional<std::string> FileBytes(BlockReader& file) {
    if (!file.IsOpen() || file.Info().st_size > kLargestPhoto) return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<size_t>(file.Info().st_size));
    if (!file.ReadAllInto(bytes) || bytes.size() > static_cast<size_t>(kLargestPhoto))
        return std::nullopt;
    return bytes;
}

}  // namespace vistello
