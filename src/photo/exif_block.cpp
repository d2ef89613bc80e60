#include "photo/exif_block.h"

#include <optional>

namespace vistello {

namespace {

constexpr uint16_t kExifPointer = 0x8769;
constexpr uint32_t kLong = 4;
constexpr uint32_t kIfd = 13;
constexpr size_t kEntryBytes = 12;

// The bytes of one item of each TIFF type; 0 for a type that is not one.
size_t ItemBytes(uint16_t type) {
    switch (type) {
        case 1:  // BYTE
        case 2:  // ASCII
        case 6:  // SBYTE
        case 7:  // UNDEFINED
            return 1;
        case 3:  // SHORT
        case 8:  // SSHORT
            return 2;
        case 4:   // LONG
        case 9:   // SLONG
        case 11:  // FLOAT
            return 4;
        case 5:   // RATIONAL
        case 10:  // SRATIONAL
        case 12:  // DOUBLE
            return 8;
        default:
            return 0;
    }
}

// The numbers of a block in its own byte order.
class TiffReader {
public:
    explicit TiffReader(std::string_view block) : m_block(block) {}

    bool ReadHeader(uint32_t& firstDirectory) {
        if (m_block.size() < 8) return false;
        if (m_block.substr(0, 4) == std::string_view("II*\0", 4)) {
            m_bigEndian = false;
        } else if (m_block.substr(0, 4) == std::string_view("MM\0*", 4)) {
            m_bigEndian = true;
        } else {
            return false;
        }
        firstDirectory = Number(4, 4);
        return true;
    }

    // Reads the directory at `offset`, giving each entry to `take`; false when it does not fit.
    template <typename Take>
    bool Walk(uint32_t offset, Take take) const {
        if (offset > m_block.size() || m_block.size() - offset < 2) return false;
        const uint32_t count = Number(offset, 2);
        if ((m_block.size() - offset - 2) / kEntryBytes < count) return false;
        for (uint32_t entry = 0; entry < count; ++entry) {
            const size_t at = offset + 2 + entry * kEntryBytes;
            take(static_cast<uint16_t>(Number(at, 2)), at);
        }
        return true;
    }

    // The value of the entry at `at`, or nothing when its type is unknown or it reaches past
    // the block.
    std::optional<ExifValue> Value(size_t at) const {
        ExifValue value;
        value.type = static_cast<uint16_t>(Number(at + 2, 2));
        value.count = Number(at + 4, 4);
        const size_t item = ItemBytes(value.type);
        if (item == 0 || value.count > m_block.size() / item) return std::nullopt;
        const size_t size = item * value.count;
        size_t start = at + 8;
        if (size > 4) {
            start = Number(at + 8, 4);
            if (start > m_block.size() || m_block.size() - start < size) return std::nullopt;
        }
        value.bytes.assign(m_block.substr(start, size));
        if (m_bigEndian) LittleEndian(value);
        return value;
    }

    uint32_t Number(size_t at, size_t bytes) const {
        uint32_t number = 0;
        for (size_t i = 0; i < bytes; ++i) {
            const auto byte =
                static_cast<unsigned char>(m_block[at + (m_bigEndian ? i : bytes - 1 - i)]);
            number = number << 8 | byte;
        }
        return number;
    }

private:
    // Each number turned around; a rational is two numbers of four bytes.
    static void LittleEndian(ExifValue& value) {
        size_t width = ItemBytes(value.type);
        if (value.type == 5 || value.type == 10) width = 4;
        if (width < 2) return;
        for (size_t start = 0; start + width <= value.bytes.size(); start += width) {
            for (size_t i = 0; i < width / 2; ++i)
                std::swap(value.bytes[start + i], value.bytes[start + width - 1 - i]);
        }
    }

    std::string_view m_block;
    bool m_bigEndian = false;
};

}  // namespace

std::vector<ExifValue> FindExifValues(std::string_view block, std::span<const ExifTag> tags) {
    std::vector<ExifValue> values(tags.size());
    TiffReader reader(block);
    uint32_t first = 0;
    if (!reader.ReadHeader(first)) return values;
    std::vector<bool> found(tags.size());
    std::optional<uint32_t> exifDirectory;
    const auto takeFrom = [&](bool exif) {
        return [&, exif](uint16_t tag, size_t at) {
            const uint32_t type = reader.Number(at + 2, 2);
            if (!exif && tag == kExifPointer && !exifDirectory && (type == kLong || type == kIfd) &&
                reader.Number(at + 4, 4) == 1)
                exifDirectory = reader.Number(at + 8, 4);
            for (size_t i = 0; i < tags.size(); ++i) {
                if (found[i] || tags[i].tag != tag || tags[i].inExifDirectory != exif) continue;
                if (std::optional<ExifValue> value = reader.Value(at)) {
                    values[i] = std::move(*value);
                    found[i] = true;
                }
            }
        };
    };
    reader.Walk(first, takeFrom(false));
    if (exifDirectory) reader.Walk(*exifDirectory, takeFrom(true));
    return values;
}

}  // namespace vistello
