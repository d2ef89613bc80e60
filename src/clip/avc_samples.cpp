#include "clip/avc_samples.h"

#include <string>

#include "clip/mp4_box.h"

namespace vistello {

namespace {

enum UnitType : uint64_t {
    kSlice = 1,
    kRefreshSlice = 5,
    kSupplement = 6,
    kSequenceSet = 7,
    kPictureSet = 8,
    kDelimiter = 9,
    kFiller = 12,
};

// More units, on average, than the pictures of many slices with their messages and delimiters have.
constexpr uint64_t kMostUnitsPerSample = 32;

// Whether a unit of `type`, `size` bytes from `at`, is one a browser reads in this stream.
bool PlainUnit(int fd, uint64_t type, uint64_t at, uint64_t size, const AvcStream& stream) {
    if (type == kSequenceSet || type == kPictureSet) {
        const std::string& own = type == kSequenceSet ? stream.sequenceSet : stream.pictureSet;
        std::string set(size, '\0');
        return size == own.size() && ReadBytesAt(fd, at, set) && set == own;
    }
    // Not partitions of slices, which are for a profile no browser decodes, nor reserved kinds.
    return type == kSlice || type == kRefreshSlice || type == kSupplement ||
           (type >= kDelimiter && type <= kFiller);
}

bool PlainChunk(int fd, const ByteRange& chunk, const AvcStream& stream, uint64_t& units) {
    const uint64_t end = chunk.from + chunk.size;
    const uint64_t prefix = static_cast<uint64_t>(stream.lengthSize);
    std::string head(prefix + 1, '\0');
    for (uint64_t at = chunk.from; at < end; --units) {
        if (units == 0) return false;
        if (end - at <= prefix || !ReadBytesAt(fd, at, head)) return false;
        const uint64_t size = *UintAt(head, 0, stream.lengthSize);
        const uint64_t header = static_cast<unsigned char>(head[prefix]);
        // Empty units, units past the chunk and a header's forbidden bit set.
        if (size == 0 || size > end - at - prefix || (header & 0x80) != 0 ||
            !PlainUnit(fd, header & 0x1F, at + prefix, size, stream))
            return false;
        at += prefix + size;
    }
    return true;
}

}  // namespace

bool OnlyPlainUnits(int fd, const std::vector<ByteRange>& chunks, uint64_t samples,
                    const AvcStream& stream) {
    // Counted down: far more units than pictures would take long to read, and say nothing more.
    uint64_t units = samples * kMostUnitsPerSample;
    for (const ByteRange& chunk : chunks) {
        if (!PlainChunk(fd, chunk, stream, units)) return false;
    }
    return true;
}

}  // namespace vistello
