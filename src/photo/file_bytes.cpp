#include "photo/file_bytes.h"

#include "files/block_reader.h"

namespace vistello {

namespace {

constexpr off_t kLargestPhoto = off_t{1} << 30;

}  // namespace

std::optional<std::string> FileBytes(FileOps& ops, const std::string& path) {
    BlockReader reader(ops, path);
    if (!reader.IsOpen() || reader.Info().st_size > kLargestPhoto) return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<size_t>(reader.Info().st_size));
    if (!reader.ReadAllInto(bytes) || bytes.size() > static_cast<size_t>(kLargestPhoto))
        return std::nullopt;
    return bytes;
}

}  // namespace vistello
