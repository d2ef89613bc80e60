#include "clip/aac_frames.h"

#include <algorithm>

#include "clip/mp4_box.h"

namespace vistello {

namespace {

enum Element : uint64_t {
    kSingleChannel = 0,
    kChannelPair = 1,
    kLowFrequency = 3,
    kData = 4,
    kFill = 6,
    kEnd = 7,
};

// Kinds of fill a decoder reads: dynamic range, surround, and band replication with and without
// its check.
constexpr uint64_t kReadFill[] = {11, 12, 13, 14};
// The standard's own filler: its kind, a nibble of zeros, then these bytes.
constexpr uint64_t kFillData = 1;
constexpr uint64_t kFillByte = 0xA5;
// More than a frame of as many channels as AAC allows holds: only a frame's start is read.
constexpr uint64_t kLongestStart = 8192;
// More changed bytes than the sound of hours of clips has, however often its encoder signs it.
constexpr uint64_t kMostChanged = uint64_t{64} << 20;

// A frame's bits, read and overwritten from its start on.
class FrameBits {
public:
    explicit FrameBits(std::string& frame) : m_frame(frame) {}

    bool Has(uint64_t bits) const { return bits <= m_frame.size() * 8 - m_at; }

    uint64_t Read(int count) {
        uint64_t value = 0;
        for (int i = 0; i < count; ++i, ++m_at)
            value =
                value << 1 | (static_cast<unsigned char>(m_frame[m_at / 8]) >> (7 - m_at % 8) & 1);
        return value;
    }

    void Write(uint64_t value, int count) {
        for (int i = count - 1; i >= 0; --i, ++m_at) {
            const char bit = static_cast<char>(0x80 >> (m_at % 8));
            m_frame[m_at / 8] = static_cast<char>((value >> i & 1) ? m_frame[m_at / 8] | bit
                                                                   : m_frame[m_at / 8] & ~bit);
        }
    }

    void Skip(uint64_t bits) { m_at += bits; }

    void Align() { m_at = std::min<uint64_t>((m_at + 7) / 8 * 8, m_frame.size() * 8); }

private:
    std::string& m_frame;
    uint64_t m_at = 0;
};

// A length of four or eight bits, and another eight when it holds the escape value.
std::optional<uint64_t> Count(FrameBits& bits, int width) {
    const uint64_t escape = (uint64_t{1} << width) - 1;
    if (!bits.Has(width)) return std::nullopt;
    uint64_t count = bits.Read(width);
    if (count != escape) return count;
    if (!bits.Has(8)) return std::nullopt;
    // A fill element's escape counts from one less than its mark, a data element's from the mark.
    return count + bits.Read(8) - (width == 4 ? 1 : 0);
}

// A fill element after its kind: its bytes as the standard's filler, unless a decoder reads them.
bool BlankFill(FrameBits& bits) {
    const std::optional<uint64_t> count = Count(bits, 4);
    if (!count || !bits.Has(*count * 8)) return false;
    if (*count == 0) return true;
    FrameBits peek = bits;
    const uint64_t kind = peek.Read(4);
    if (std::find(std::begin(kReadFill), std::end(kReadFill), kind) != std::end(kReadFill)) {
        bits.Skip(*count * 8);
        return true;
    }
    bits.Write(kFillData, 4);
    bits.Write(0, 4);
    for (uint64_t i = 1; i < *count; ++i) bits.Write(kFillByte, 8);
    return true;
}

// A data element after its kind: its number and its bytes as zeros.
bool BlankData(FrameBits& bits) {
    if (!bits.Has(5)) return false;
    bits.Write(0, 4);
    const bool aligned = bits.Read(1) == 1;
    const std::optional<uint64_t> count = Count(bits, 8);
    if (!count) return false;
    if (aligned) bits.Align();
    if (!bits.Has(*count * 8)) return false;
    for (uint64_t i = 0; i < *count; ++i) bits.Write(0, 8);
    return true;
}

// Blanks the fill and data elements the frame begins with; false when it begins otherwise than
// with them, channels or its end, or ends within them.
bool BlankLeading(std::string& frame) {
    FrameBits bits(frame);
    for (;;) {
        if (!bits.Has(3)) return false;
        const uint64_t element = bits.Read(3);
        if (element == kSingleChannel || element == kChannelPair || element == kLowFrequency ||
            element == kEnd)
            return true;
        const bool blanked =
            element == kFill ? BlankFill(bits) : element == kData && BlankData(bits);
        if (!blanked) return false;
    }
}

// The bytes from the first to the last that differ.
std::optional<Patch> Changed(uint64_t at, const std::string& was, const std::string& is) {
    const auto first = std::mismatch(was.begin(), was.end(), is.begin()).first;
    if (first == was.end()) return std::nullopt;
    const auto last = std::mismatch(was.rbegin(), was.rend(), is.rbegin()).first.base();
    const size_t from = static_cast<size_t>(first - was.begin());
    return Patch{at + from, is.substr(from, static_cast<size_t>(last - first))};
}

}  // namespace

std::optional<std::vector<Patch>> LeadingDataBlanked(int fd, const TrackSamples& sound) {
    std::vector<Patch> patches;
    uint64_t changed = 0;
    uint64_t sample = 0;
    for (size_t chunk = 0; chunk < sound.chunks.size(); ++chunk) {
        uint64_t at = sound.chunks[chunk].from;
        for (uint64_t i = 0; i < sound.perChunk[chunk]; ++i) {
            const uint64_t size = sound.SizeOf(sample++);
            std::string frame(std::min(size, kLongestStart), '\0');
            if (!ReadBytesAt(fd, at, frame)) return std::nullopt;
            const std::string was = frame;
            if (!BlankLeading(frame)) return std::nullopt;
            if (std::optional<Patch> patch = Changed(at, was, frame)) {
                changed += patch->bytes.size();
                if (changed > kMostChanged) return std::nullopt;
                patches.push_back(std::move(*patch));
            }
            at += size;
        }
    }
    return patches;
}

}  // namespace vistello
