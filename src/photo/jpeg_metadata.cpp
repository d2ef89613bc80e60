#include "photo/jpeg_metadata.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

#include "files/block_reader.h"

namespace vistello {

namespace {

// One read takes the front of almost every photo; the cap bounds a file of endless segments.
constexpr size_t kFirstRead = 64 * 1024;
constexpr size_t kMaxBytes = 8 * 1024 * 1024;

constexpr std::string_view kExifName{"Exif\0\0", 6};
constexpr std::string_view kXmpName{"http://ns.adobe.com/xap/1.0/\0", 29};
constexpr std::string_view kPhotoshopName{"Photoshop 3.0\0", 14};

constexpr unsigned char kStartOfScan = 0xDA;
constexpr unsigned char kEndOfImage = 0xD9;
constexpr unsigned char kApp1 = 0xE1;
constexpr unsigned char kApp13 = 0xED;

// Only a regular file is read: a FIFO or a device named as a photo would never end.
class FileFront {
public:
    FileFront(FileOps& ops, const std::string& path) : m_ops(ops), m_fd(Open(ops, path)) {}
    ~FileFront() {
        if (m_fd >= 0) m_ops.Close(m_fd);
    }
    FileFront(const FileFront&) = delete;
    FileFront& operator=(const FileFront&) = delete;

    // Whether the first `size` bytes are at hand, reading on as far as needed.
    bool Have(size_t size) {
        while (m_size < size && !m_ended) ReadMore(size);
        return m_size >= size;
    }

    unsigned char At(size_t offset) const { return static_cast<unsigned char>(m_bytes[offset]); }

    std::string_view Range(size_t from, size_t to) const {
        return std::string_view(m_bytes.get() + from, to - from);
    }

private:
    static int Open(FileOps& ops, const std::string& path) {
        struct stat info {};
        return OpenRegularFile(ops, path, info);
    }

    void ReadMore(size_t wanted) {
        const size_t step = std::min(std::max(wanted - m_size, kFirstRead), kMaxBytes - m_size);
        if (m_fd < 0 || step == 0) {
            m_ended = true;
            return;
        }
        Reserve(m_size + step);
        const ssize_t got = m_ops.Read(m_fd, m_bytes.get() + m_size, step);
        if (got <= 0) {
            m_ended = true;
            return;
        }
        m_size += static_cast<size_t>(got);
    }

    // Bytes about to be read over are not cleared first.
    void Reserve(size_t capacity) {
        if (capacity <= m_capacity) return;
        auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
        if (m_size > 0) std::memcpy(bigger.get(), m_bytes.get(), m_size);
        m_bytes = std::move(bigger);
        m_capacity = capacity;
    }

    FileOps& m_ops;
    int m_fd;
    std::unique_ptr<char[]> m_bytes;
    size_t m_size = 0;
    size_t m_capacity = 0;
    bool m_ended = false;
};

bool StartsWith(std::string_view payload, std::string_view name) {
    return payload.substr(0, name.size()) == name;
}

void Take(unsigned char marker, std::string_view payload, JpegMetadata& metadata) {
    if (marker == kApp13 && StartsWith(payload, kPhotoshopName)) {
        metadata.photoshop.append(payload.substr(kPhotoshopName.size()));
    } else if (marker == kApp1 && StartsWith(payload, kExifName) && metadata.exif.empty()) {
        metadata.exif = payload.substr(kExifName.size());
    } else if (marker == kApp1 && StartsWith(payload, kXmpName) && metadata.xmp.empty()) {
        metadata.xmp = payload.substr(kXmpName.size());
    }
}

// Markers that stand alone, without a length.
bool Bare(unsigned char marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

}  // namespace

std::optional<JpegMetadata> ReadJpegMetadata(FileOps& ops, const std::string& path) {
    FileFront file(ops, path);
    if (!file.Have(3) || file.At(0) != 0xFF || file.At(1) != 0xD8 || file.At(2) != 0xFF) {
        return std::nullopt;
    }
    JpegMetadata metadata;
    size_t at = 2;
    while (file.Have(at + 2) && file.At(at) == 0xFF) {
        const unsigned char marker = file.At(at + 1);
        if (marker == 0xFF) {
            ++at;  // a fill byte
            continue;
        }
        if (marker == kStartOfScan || marker == kEndOfImage) break;
        if (Bare(marker)) {
            at += 2;
            continue;
        }
        if (!file.Have(at + 4)) break;
        const size_t length = size_t{file.At(at + 2)} << 8 | file.At(at + 3);
        const size_t end = at + 2 + length;
        if (length < 2 || !file.Have(end)) break;
        if (marker == kApp1 || marker == kApp13) Take(marker, file.Range(at + 4, end), metadata);
        at = end;
    }
    return metadata;
}

}  // namespace vistello
