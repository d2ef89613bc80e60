#include "clip/avc_samples.h"

#include <string>
#include <utility>

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
// More samples than the size table of an index of the largest size read lists.
constexpr uint64_t kMostSamples = (uint64_t{64} << 20) / 4;

enum class Fate { kKept, kLeftOut, kForeign };

// What becomes of a unit of `type`, `size` bytes from `at`: kept when a browser reads it in this
// stream, left out when it only tells about the pictures, foreign otherwise.
Fate FateOf(int fd, uint64_t type, uint64_t at, uint64_t size, const AvcStream& stream) {
    if (type == kSupplement || type == kFiller) return Fate::kLeftOut;
    if (type == kSequenceSet || type == kPictureSet) {
        const std::string& own = type == kSequenceSet ? stream.sequenceSet : stream.pictureSet;
        std::string set(size, '\0');
        return size == own.size() && ReadBytesAt(fd, at, set) && set == own ? Fate::kKept
                                                                            : Fate::kForeign;
    }
    // Not partitions of slices, which are for a profile no browser decodes, nor reserved kinds;
    // delimiters and the ends of a sequence or the stream say nothing more than where they are.
    return type == kSlice || type == kRefreshSlice || (type >= kDelimiter && type < kFiller)
               ? Fate::kKept
               : Fate::kForeign;
}

// The samples read one by one, in the file's order.
class SampleWalk {
public:
    SampleWalk(int fd, const AvcStream& stream, uint64_t units)
        : m_fd(fd), m_stream(stream), m_units(units) {}

    // One sample of `size` bytes from `at`; false when it is not plain.
    bool Sample(uint64_t at, uint64_t size) {
        const uint64_t end = at + size;
        const uint64_t prefix = static_cast<uint64_t>(m_stream.lengthSize);
        std::string head(prefix + 1, '\0');
        uint64_t kept = 0;
        bool slice = false;
        while (at < end) {
            // Counted down: far more units than pictures would take long to read, and say nothing.
            if (m_units == 0) return false;
            --m_units;
            if (end - at <= prefix || !ReadBytesAt(m_fd, at, head)) return false;
            const uint64_t unit = prefix + *UintAt(head, 0, m_stream.lengthSize);
            const uint64_t header = static_cast<unsigned char>(head[prefix]);
            // Empty units, units past the sample and a header's forbidden bit set.
            if (unit == prefix || unit > end - at || (header & 0x80) != 0) return false;
            const uint64_t type = header & 0x1F;
            const Fate fate = FateOf(m_fd, type, at + prefix, unit - prefix, m_stream);
            if (fate == Fate::kForeign) return false;
            if (fate == Fate::kKept) {
                Keep(at, unit);
                kept += unit;
            }
            m_samples.trimmed = m_samples.trimmed || fate == Fate::kLeftOut;
            slice = slice || type == kSlice || type == kRefreshSlice;
            at += unit;
        }
        // A size table's sizes have 32 bits; what is kept of one is no larger.
        m_samples.sizes.push_back(static_cast<uint32_t>(kept));
        return slice;
    }

    PictureSamples Done() { return std::move(m_samples); }

private:
    void Keep(uint64_t from, uint64_t size) {
        std::vector<ByteRange>& kept = m_samples.kept;
        if (!kept.empty() && kept.back().from + kept.back().size == from) {
            kept.back().size += size;
        } else {
            kept.push_back({from, size});
        }
    }

    int m_fd;
    const AvcStream& m_stream;
    uint64_t m_units;
    PictureSamples m_samples;
};

}  // namespace

std::optional<PictureSamples> PlainPictureSamples(int fd, const TrackSamples& samples,
                                                  const AvcStream& stream) {
    if (samples.count > kMostSamples) return std::nullopt;
    SampleWalk walk(fd, stream, samples.count * kMostUnitsPerSample);
    uint64_t sample = 0;
    for (size_t chunk = 0; chunk < samples.chunks.size(); ++chunk) {
        uint64_t at = samples.chunks[chunk].from;
        for (uint64_t i = 0; i < samples.perChunk[chunk]; ++i) {
            const uint64_t size = samples.SizeOf(sample++);
            if (!walk.Sample(at, size)) return std::nullopt;
            at += size;
        }
    }
    return walk.Done();
}

}  // namespace vistello
