#include "photo/heif_metadata.h"

#include <libheif/heif.h>

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace vistello {

namespace {

// Larger blocks are damage, not details: a page field holds a few kilobytes.
constexpr size_t kMaxBlockBytes = 8 * 1024 * 1024;

using Context = std::unique_ptr<heif_context, void (*)(heif_context*)>;
using Handle = std::unique_ptr<const heif_image_handle, void (*)(const heif_image_handle*)>;

std::string Block(const heif_image_handle* handle, heif_item_id id) {
    const size_t size = heif_image_handle_get_metadata_size(handle, id);
    if (size == 0 || size > kMaxBlockBytes) return {};
    std::string bytes(size, '\0');
    if (heif_image_handle_get_metadata(handle, id, bytes.data()).code != heif_error_Ok) return {};
    return bytes;
}

// An Exif block starts with the distance from its fifth byte to the TIFF header.
std::string TiffOf(const std::string& block) {
    if (block.size() < 4) return {};
    const auto byte = [&](size_t i) {
        return static_cast<size_t>(static_cast<unsigned char>(block[i]));
    };
    const size_t offset = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    if (offset > block.size() - 4) return {};
    return block.substr(4 + offset);
}

}  // namespace

bool LooksLikeIsoMedia(const unsigned char* data, size_t size) {
    return size >= 12 && std::memcmp(data + 4, "ftyp", 4) == 0;
}

std::optional<HeifMetadata> ReadHeifMetadata(const unsigned char* data, size_t size) {
    const Context context(heif_context_alloc(), heif_context_free);
    if (!context ||
        heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr).code !=
            heif_error_Ok)
        return std::nullopt;
    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok)
        return std::nullopt;
    const Handle handle(primary, heif_image_handle_release);
    const int count = heif_image_handle_get_number_of_metadata_blocks(primary, nullptr);
    std::vector<heif_item_id> ids(static_cast<size_t>(std::max(count, 0)));
    heif_image_handle_get_list_of_metadata_block_IDs(primary, nullptr, ids.data(), count);
    HeifMetadata metadata;
    for (const heif_item_id id : ids) {
        const std::string_view type = heif_image_handle_get_metadata_type(primary, id);
        const std::string_view content = heif_image_handle_get_metadata_content_type(primary, id);
        if (type == "Exif" && metadata.exif.empty()) {
            metadata.exif = TiffOf(Block(primary, id));
        } else if (type == "mime" && content == "application/rdf+xml" && metadata.xmp.empty()) {
            metadata.xmp = Block(primary, id);
        }
    }
    return metadata;
}

}  // namespace vistello
