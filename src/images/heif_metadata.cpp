#include "images/heif_metadata.h"

#include <libheif/heif.h>

#include <algorithm>
#include <array>
#include <cstdint>
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

// The file as the container library reads it, each read at the place it last sought. The library
// reads a box's fields a few bytes at a time, so the file is read a block at a time and the
// fields are taken from the block. The size is the one the file had when it was opened: should
// it shrink since, a read fails.
class FileSource {
public:
    explicit FileSource(ByteSource& file) : m_file(file), m_size(file.Size()) {}

    int64_t Position() const { return m_position; }
    void Seek(int64_t position) { m_position = position; }
    bool Holds(int64_t end) const { return end <= m_size; }

    bool Read(char* data, size_t size) {
        const int64_t end = m_position + static_cast<int64_t>(size);
        if (m_position < 0 || !Holds(end)) return false;
        // The library asks for nothing now and then, where there may be no block and no buffer.
        if (size == 0) return true;
        if (m_position < m_start || end > m_start + static_cast<int64_t>(m_filled)) {
            if (size >= kBlockBytes) return ReadDirect(data, size);
            m_start = m_position;
            m_filled = static_cast<size_t>(std::min<int64_t>(kBlockBytes, m_size - m_position));
            if (!m_file.ReadAt(m_start, m_block.data(), m_filled)) {
                m_filled = 0;
                return false;
            }
        }
        std::memcpy(data, m_block.data() + (m_position - m_start), size);
        m_position = end;
        return true;
    }

private:
    // The boxes that describe a photo, and often its metadata items, fit in one block.
    static constexpr size_t kBlockBytes = 16 * 1024;

    bool ReadDirect(char* data, size_t size) {
        if (!m_file.ReadAt(m_position, data, size)) return false;
        m_position += static_cast<int64_t>(size);
        return true;
    }

    ByteSource& m_file;
    int64_t m_size;
    int64_t m_position = 0;
    std::array<char, kBlockBytes> m_block;
    int64_t m_start = 0;
    size_t m_filled = 0;
};

FileSource& SourceOf(void* userdata) { return *static_cast<FileSource*>(userdata); }

constexpr heif_reader kFileReader = {
    1, [](void* userdata) { return SourceOf(userdata).Position(); },
    [](void* data, size_t size, void* userdata) {
        return SourceOf(userdata).Read(static_cast<char*>(data), size) ? 0 : 1;
    },
    [](int64_t position, void* userdata) {
        SourceOf(userdata).Seek(position);
        return 0;
    },
    [](int64_t target, void* userdata) {
        return SourceOf(userdata).Holds(target) ? heif_reader_grow_status_size_reached
                                                : heif_reader_grow_status_size_beyond_eof;
    }};

}  // namespace

std::optional<HeifMetadata> LibheifReader::ReadMetadata(ByteSource& file) {
    FileSource source(file);
    const Context context(heif_context_alloc(), heif_context_free);
    if (!context ||
        heif_context_read_from_reader(context.get(), &kFileReader, &source, nullptr).code !=
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
