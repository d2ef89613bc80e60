#include "clip/decoder_configs.h"

#include <cstdint>

#include "clip/mp4_box.h"

namespace vistello {

namespace {

// Longer than any AAC configuration, with its extensions.
constexpr uint64_t kLongestSpecificInfo = 16;

// The profiles whose configuration may end in the chroma format, depths and extended sets.
bool HighProfile(uint64_t profile) {
    return profile == 100 || profile == 110 || profile == 122 || profile == 144;
}

// Skips `count` parameter sets of a two-byte length each, from `at`; false past the end.
bool SkipSets(std::string_view config, uint64_t count, size_t& at) {
    for (uint64_t i = 0; i < count; ++i) {
        const std::optional<uint64_t> length = UintAt(config, at, 2);
        if (!length || *length > config.size() - at - 2) return false;
        at += 2 + *length;
    }
    return true;
}

// A descriptor's tag and length, one to four bytes of seven bits each, read from `at`, which
// then stands at its contents; the end of those, or nothing when the tag differs or they run past
// `end`.
std::optional<size_t> Descriptor(std::string_view esds, uint64_t tag, size_t& at, size_t end) {
    if (UintAt(esds, at++, 1) != tag) return std::nullopt;
    uint64_t length = 0;
    for (int i = 0; i < 4; ++i) {
        const std::optional<uint64_t> byte = UintAt(esds, at++, 1);
        if (!byte) return std::nullopt;
        length = length << 7 | (*byte & 0x7F);
        if ((*byte & 0x80) == 0) break;
    }
    if (at > end || length > end - at) return std::nullopt;
    return at + length;
}

}  // namespace

std::optional<size_t> AvcConfigLength(std::string_view avcC) {
    const std::optional<uint64_t> profile = UintAt(avcC, 1, 1);
    const std::optional<uint64_t> sequences = UintAt(avcC, 5, 1);
    size_t at = 6;
    if (!profile || !sequences || !SkipSets(avcC, *sequences & 0x1F, at)) return std::nullopt;
    const std::optional<uint64_t> pictures = UintAt(avcC, at++, 1);
    if (!pictures || !SkipSets(avcC, *pictures, at)) return std::nullopt;
    if (HighProfile(*profile) && avcC.size() - at >= 4) {
        const uint64_t extended = *UintAt(avcC, at + 3, 1);
        at += 4;
        if (!SkipSets(avcC, extended, at)) return std::nullopt;
    }
    return at;
}

bool PlainAacDescription(std::string_view esds) {
    size_t at = 4;
    const std::optional<size_t> stream = Descriptor(esds, 0x03, at, esds.size());
    // The stream's number, then flags that say no optional field follows.
    if (!stream || *stream != esds.size() || UintAt(esds, at + 2, 1) != 0u) return false;
    at += 3;
    const std::optional<size_t> decoder = Descriptor(esds, 0x04, at, *stream);
    if (!decoder) return false;
    at += 13;
    const std::optional<size_t> specific = Descriptor(esds, 0x05, at, *decoder);
    if (!specific || *specific != *decoder || *specific - at > kLongestSpecificInfo) return false;
    at = *decoder;
    const std::optional<size_t> sync = Descriptor(esds, 0x06, at, *stream);
    return sync && *sync == *stream && *sync == at + 1 && UintAt(esds, at, 1) == 2u;
}

}  // namespace vistello
