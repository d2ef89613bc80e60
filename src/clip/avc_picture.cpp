#include "clip/avc_picture.h"

#include <bit>
#include <cstdint>
#include <string>

#include "clip/mp4_box.h"

namespace vistello {

namespace {

// Past any picture a browser decodes.
constexpr uint64_t kLargestSide = 16384;

// Reads a sequence parameter set's bits; reading past its end marks it broken and yields zeros.
class Bits {
public:
    explicit Bits(std::string_view bytes) : m_bytes(bytes) {}

    uint64_t Read(int count) {
        uint64_t value = 0;
        for (int i = 0; i < count; ++i) value = value << 1 | Bit();
        return value;
    }

    // An unsigned exp-Golomb number; a signed one is read the same way when only skipped.
    uint64_t Golomb() {
        int zeros = 0;
        while (!m_broken && Bit() == 0) {
            if (++zeros > 31) m_broken = true;
        }
        return m_broken ? 0 : (uint64_t{1} << zeros) - 1 + Read(zeros);
    }

    // A signed exp-Golomb number, only checked to be in range.
    bool SignedWithin(uint64_t most) { return Golomb() <= 2 * most; }

    bool Broken() const { return m_broken; }

    // Whether more than the stop bit, which ends a set's fields, is left.
    bool MoreFields() const { return m_at < StopBit(); }

    // Whether every field was read, the stop bit is next and only the zeros after it remain.
    bool AtStopBit() const { return !m_broken && m_at == StopBit(); }

private:
    uint64_t Bit() {
        if (m_at >= m_bytes.size() * 8) {
            m_broken = true;
            return 0;
        }
        const uint64_t bit = static_cast<unsigned char>(m_bytes[m_at / 8]) >> (7 - m_at % 8) & 1;
        ++m_at;
        return bit;
    }

    // The last bit set, in the last byte; past the end when that byte is zero.
    size_t StopBit() const {
        const unsigned last = m_bytes.empty() ? 0 : static_cast<unsigned char>(m_bytes.back());
        if (last == 0) return m_bytes.size() * 8 + 1;
        return m_bytes.size() * 8 - 1 - static_cast<size_t>(std::countr_zero(last));
    }

    std::string_view m_bytes;
    size_t m_at = 0;
    bool m_broken = false;
};

// The payload without the emulation-prevention bytes an encoder put after each pair of zeros.
std::string Unescaped(std::string_view nal) {
    std::string bytes;
    int zeros = 0;
    for (const char c : nal) {
        if (zeros >= 2 && c == '\x03') {
            zeros = 0;
            continue;
        }
        zeros = c == '\0' ? zeros + 1 : 0;
        bytes.push_back(c);
    }
    return bytes;
}

// Baseline, Main and High, which every browser decodes.
constexpr uint64_t kBaseline = 66;
constexpr uint64_t kMain = 77;
constexpr uint64_t kHigh = 100;

// 8-bit 4:2:0 without lossless blocks or scaling matrices, which only High says outright.
bool PlainFormat(Bits& bits, uint64_t profile) {
    if (profile != kHigh) return profile == kBaseline || profile == kMain;
    return bits.Golomb() == 1 && bits.Golomb() == 0 && bits.Golomb() == 0 && bits.Read(1) == 0 &&
           bits.Read(1) == 0;
}

// Skips what says how frames are numbered and ordered; false for what is no known kind.
bool SkipOrdering(Bits& bits) {
    bits.Golomb();  // frame number length
    const uint64_t order = bits.Golomb();
    if (order == 0) {
        bits.Golomb();
    } else if (order == 1) {
        bits.Read(1);
        bits.Golomb();
        bits.Golomb();
        const uint64_t cycle = bits.Golomb();
        if (cycle > 255) return false;
        for (uint64_t i = 0; i < cycle; ++i) bits.Golomb();
    } else if (order != 2) {
        return false;
    }
    bits.Golomb();  // reference frames
    bits.Read(1);   // gaps allowed
    return true;
}

// Skips a decoder's buffering parameters; false for more buffers than there may be.
bool SkipBuffering(Bits& bits) {
    const uint64_t buffers = bits.Golomb() + 1;
    if (buffers > 32) return false;
    bits.Read(8);  // scales of rate and size
    for (uint64_t i = 0; i < buffers; ++i) {
        bits.Golomb();
        bits.Golomb();
        bits.Read(1);
    }
    bits.Read(20);  // lengths of delays and offsets
    return true;
}

// Reads the usability information to its end; false when the picture is in full range, which
// decodes as another format, or its buffering is not of a known kind.
bool PlainUsability(Bits& bits) {
    if (bits.Read(1) == 0) return true;
    if (bits.Read(1) && bits.Read(8) == 255) bits.Read(32);  // sample aspect ratio
    if (bits.Read(1)) bits.Read(1);                          // overscan
    if (bits.Read(1)) {
        bits.Read(3);  // video format
        if (bits.Read(1)) return false;
        if (bits.Read(1)) bits.Read(24);  // colours
    }
    if (bits.Read(1)) {  // chroma sample place
        bits.Golomb();
        bits.Golomb();
    }
    if (bits.Read(1)) bits.Read(32), bits.Read(32), bits.Read(1);  // timing
    const bool network = bits.Read(1);
    if (network && !SkipBuffering(bits)) return false;
    const bool coding = bits.Read(1);
    if (coding && !SkipBuffering(bits)) return false;
    if (network || coding) bits.Read(1);  // low delay
    bits.Read(1);                         // picture structure
    if (bits.Read(1)) {                   // restrictions
        bits.Read(1);
        for (int i = 0; i < 6; ++i) bits.Golomb();
    }
    return true;
}

// The payload of a parameter set of `type` after its header, without emulation-prevention bytes.
std::optional<std::string> Payload(std::string_view set, int type) {
    // A header that says the set is referred to, as each set is, and of that type.
    if (set.empty() || (set[0] & 0x9F) != type || (set[0] & 0x60) == 0) return std::nullopt;
    return Unescaped(set.substr(1));
}

std::optional<AvcPicture> PictureOf(std::string_view sps) {
    const std::optional<std::string> payload = Payload(sps, 7);
    if (!payload) return std::nullopt;
    Bits bits(*payload);
    const uint64_t profile = bits.Read(8);
    bits.Read(16);  // constraints and level
    if (bits.Golomb() > 31 || !PlainFormat(bits, profile) || !SkipOrdering(bits))
        return std::nullopt;
    const uint64_t columns = bits.Golomb() + 1;
    const uint64_t rows = bits.Golomb() + 1;
    const uint64_t fieldsPerFrame = 2 - bits.Read(1);
    if (fieldsPerFrame == 2) bits.Read(1);  // adaptive frame and field
    bits.Read(1);                           // direct 8x8 inference
    uint64_t cropRight = 0;
    uint64_t cropBottom = 0;
    if (bits.Read(1)) {
        const uint64_t cropLeft = bits.Golomb();
        cropRight = bits.Golomb();
        const uint64_t cropTop = bits.Golomb();
        cropBottom = bits.Golomb();
        // Cropping from the left or top would be odd enough to leave to the tools.
        if (cropLeft != 0 || cropTop != 0) return std::nullopt;
    }
    if (!PlainUsability(bits) || !bits.AtStopBit() || columns > kLargestSide || rows > kLargestSide)
        return std::nullopt;
    // In 4:2:0 a crop unit is two pixels wide and two rows of each field high, so sides stay even.
    const uint64_t width = columns * 16;
    const uint64_t height = rows * 16 * fieldsPerFrame;
    if (cropRight * 2 >= width || cropBottom * 2 * fieldsPerFrame >= height) return std::nullopt;
    return AvcPicture{static_cast<int>(width - cropRight * 2),
                      static_cast<int>(height - cropBottom * 2 * fieldsPerFrame)};
}

// A picture parameter set read to its end: one group of slices, no scaling matrices.
bool PlainPictureSet(std::string_view pps) {
    const std::optional<std::string> payload = Payload(pps, 8);
    if (!payload) return false;
    Bits bits(*payload);
    if (bits.Golomb() > 255 || bits.Golomb() > 31) return false;  // its number and its sequence's
    bits.Read(2);                                                 // entropy coding, field order
    if (bits.Golomb() != 0 || bits.Golomb() > 31 || bits.Golomb() > 31) return false;
    bits.Read(1);  // weighted prediction
    if (bits.Read(2) > 2 || !bits.SignedWithin(26) || !bits.SignedWithin(26) ||
        !bits.SignedWithin(12))
        return false;
    bits.Read(3);  // deblocking, intra prediction, redundant pictures
    if (bits.MoreFields()) {
        bits.Read(1);  // 8x8 transform
        if (bits.Read(1) != 0 || !bits.SignedWithin(12)) return false;
    }
    return bits.AtStopBit();
}

// One parameter set, its count and two-byte length from `at`, which then stands after it.
std::optional<std::string_view> OneSet(std::string_view avcC, size_t& at, uint64_t countMask) {
    const std::optional<uint64_t> count = UintAt(avcC, at, 1);
    const std::optional<uint64_t> length = UintAt(avcC, at + 1, 2);
    if (!count || (*count & countMask) != 1 || !length || *length > avcC.size() - at - 3)
        return std::nullopt;
    at += 3 + *length;
    return avcC.substr(at - *length, *length);
}

}  // namespace

std::optional<AvcStream> PlainAvcStream(std::string_view avcC) {
    // Version 1, the profile, constraints and level as the sequence set says, the length size.
    size_t at = 5;
    const std::optional<std::string_view> sequence = OneSet(avcC, at, 0x1F);
    const std::optional<std::string_view> pictures =
        sequence ? OneSet(avcC, at, 0xFF) : std::nullopt;
    const uint64_t lengthSize = (UintAt(avcC, 4, 1).value_or(0) & 3) + 1;
    if (UintAt(avcC, 0, 1) != 1u || !pictures || sequence->size() < 4 ||
        avcC.substr(1, 3) != sequence->substr(1, 3) || lengthSize == 3 ||
        !PlainPictureSet(*pictures))
        return std::nullopt;
    const std::optional<AvcPicture> picture = PictureOf(*sequence);
    if (!picture) return std::nullopt;
    return AvcStream{*picture, static_cast<int>(lengthSize), std::string(*sequence),
                     std::string(*pictures)};
}

}  // namespace vistello
