#include "clip/avc_picture.h"

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

    bool Broken() const { return m_broken; }

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

// The profiles whose parameter sets say their chroma format and bit depths.
bool SaysItsFormat(uint64_t profile) {
    for (const uint64_t high : {100, 110, 122, 244, 44, 83, 86, 118, 128, 138, 139, 134, 135})
        if (profile == high) return true;
    return false;
}

// 8-bit 4:2:0 without scaling matrices.
bool PlainFormat(Bits& bits, uint64_t profile) {
    if (!SaysItsFormat(profile)) return true;
    if (bits.Golomb() != 1) return false;
    const bool eightBit = bits.Golomb() == 0 && bits.Golomb() == 0;
    bits.Read(1);  // lossless bypass
    return eightBit && bits.Read(1) == 0;
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

// Whether the picture is in limited range, as yuv420p is; full range decodes as another format.
bool LimitedRange(Bits& bits) {
    if (bits.Read(1) == 0) return true;                      // no usability information
    if (bits.Read(1) && bits.Read(8) == 255) bits.Read(32);  // sample aspect ratio
    if (bits.Read(1)) bits.Read(1);                          // overscan
    if (bits.Read(1) == 0) return true;                      // no signal type
    bits.Read(3);                                            // video format
    return bits.Read(1) == 0;
}

std::optional<AvcPicture> PictureOf(std::string_view sps) {
    if (sps.empty() || (sps[0] & 0x1F) != 7) return std::nullopt;
    const std::string payload = Unescaped(sps.substr(1));
    Bits bits(payload);
    const uint64_t profile = bits.Read(8);
    bits.Read(16);  // constraints and level
    bits.Golomb();  // its number
    if (!PlainFormat(bits, profile) || !SkipOrdering(bits)) return std::nullopt;
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
    if (!LimitedRange(bits) || bits.Broken() || columns > kLargestSide || rows > kLargestSide)
        return std::nullopt;
    // In 4:2:0 a crop unit is two pixels wide and two rows of each field high, so sides stay even.
    const uint64_t width = columns * 16;
    const uint64_t height = rows * 16 * fieldsPerFrame;
    if (cropRight * 2 >= width || cropBottom * 2 * fieldsPerFrame >= height) return std::nullopt;
    return AvcPicture{static_cast<int>(width - cropRight * 2),
                      static_cast<int>(height - cropBottom * 2 * fieldsPerFrame)};
}

}  // namespace

std::optional<AvcPicture> PlainAvcPicture(std::string_view avcC) {
    // Version 1, then one parameter set and its length after the profile, level and length size.
    if (UintAt(avcC, 0, 1) != 1u || (UintAt(avcC, 5, 1).value_or(0) & 0x1F) != 1)
        return std::nullopt;
    const std::optional<uint64_t> length = UintAt(avcC, 6, 2);
    if (!length || avcC.size() - 8 < *length) return std::nullopt;
    return PictureOf(avcC.substr(8, *length));
}

}  // namespace vistello
