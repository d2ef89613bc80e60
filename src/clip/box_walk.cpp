#include "clip/box_walk.h"

#include <cstdint>
#include <limits>
#include <string_view>

namespace vistello {

namespace {

constexpr int kMostBoxes = 64;

uint64_t BigEndian(const unsigned char* bytes, int count) {
    uint64_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | bytes[i];
    return value;
}

}  // namespace

bool IndexFirst(const ReadAt& read) {
    off_t at = 0;
    unsigned char header[16];
    for (int box = 0; box < kMostBoxes; ++box) {
        const ssize_t got = read(header, sizeof header, at);
        if (got < 8) return false;
        const std::string_view type(reinterpret_cast<const char*>(header) + 4, 4);
        if (type == "moov" || type == "mdat") return type == "moov";
        uint64_t size = BigEndian(header, 4);
        if (size == 1) size = got == sizeof header ? BigEndian(header + 8, 8) : 0;
        if (size < 8 || size > static_cast<uint64_t>(std::numeric_limits<off_t>::max() - at))
            return false;
        at += static_cast<off_t>(size);
    }
    return false;
}

}  // namespace vistello
