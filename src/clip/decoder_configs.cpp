#include "clip/decoder_configs.h"

#include <cstdint>

#include "clip/mp4_box.h"

namespace vistello {

namespace {

// Longer than any AAC configuration, with its extensions.
constexpr uint64_t kLongestSpecificInfo = 16;
// Longer than the parameter sets an encoder writes, with their timing details.
constexpr uint64_t kLongestSequenceSet = 64;
constexpr uint64_t kLongestPictureSet = 32;
// MPEG-4 AAC, in an audio stream.
constexpr char kAacObject = 0x40;
constexpr char kAudioStream = 0x15;

// The profiles whose configuration may end in the chroma format and depths.
bool HighProfile(uint64_t profile) {
    return profile == 100 || profile == 110 || profile == 122 || profile == 144;
}

// One parameter set, its count and two-byte length from `at`, no longer than `longest`; `at`
// then stands after it.
bool OneSet(std::string_view config, size_t& at, uint64_t mask, uint64_t longest) {
    const std::optional<uint64_t> count = UintAt(config, at, 1);
    const std::optional<uint64_t> length = UintAt(config, at + 1, 2);
    if (!count || (*count & mask) != 1 || !length || *length > longest ||
        *length > config.size() - at - 3)
        return false;
    at += 3 + *length;
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

// A descriptor as written anew: its tag, its length in one byte, its contents.
std::string DescriptorOf(char tag, std::string_view contents) {
    return std::string(1, tag) + static_cast<char>(contents.size()) + std::string(contents);
}

}  // namespace

std::optional<std::string> PlainAvcConfig(std::string_view avcC) {
    const std::optional<uint64_t> profile = UintAt(avcC, 1, 1);
    size_t at = 5;
    if (UintAt(avcC, 0, 1) != 1u || !profile || !OneSet(avcC, at, 0x1F, kLongestSequenceSet) ||
        !OneSet(avcC, at, 0xFF, kLongestPictureSet))
        return std::nullopt;
    std::string plain(avcC.substr(0, at));
    plain[4] = static_cast<char>(0xFC | (plain[4] & 0x03));
    plain[5] = static_cast<char>(0xE1);
    if (HighProfile(*profile) && avcC.size() - at >= 4) {
        if (UintAt(avcC, at + 3, 1) != 0u) return std::nullopt;
        plain += static_cast<char>(0xFC | (avcC[at] & 0x03));
        plain += static_cast<char>(0xF8 | (avcC[at + 1] & 0x07));
        plain += static_cast<char>(0xF8 | (avcC[at + 2] & 0x07));
        plain += '\0';
    }
    return plain;
}

std::optional<std::string> PlainAacDescription(std::string_view esds) {
    size_t at = 4;
    const std::optional<size_t> stream = Descriptor(esds, 0x03, at, esds.size());
    // The stream's number, then flags that say no optional field follows.
    if (!stream || *stream != esds.size() || UintAt(esds, at + 2, 1) != 0u) return std::nullopt;
    at += 3;
    const std::optional<size_t> decoder = Descriptor(esds, 0x04, at, *stream);
    if (!decoder || UintAt(esds, at, 1) != static_cast<uint64_t>(kAacObject)) return std::nullopt;
    at += 13;
    const std::optional<size_t> specificEnd = Descriptor(esds, 0x05, at, *decoder);
    if (!specificEnd || *specificEnd != *decoder || *specificEnd - at > kLongestSpecificInfo)
        return std::nullopt;
    const std::string_view specific = esds.substr(at, *specificEnd - at);
    at = *decoder;
    const std::optional<size_t> sync = Descriptor(esds, 0x06, at, *stream);
    if (!sync || *sync != *stream || *sync != at + 1 || UintAt(esds, at, 1) != 2u)
        return std::nullopt;
    const std::string config = std::string{kAacObject, kAudioStream} + std::string(11, '\0') +
                               DescriptorOf(0x05, specific);
    const std::string described =
        std::string(3, '\0') + DescriptorOf(0x04, config) + DescriptorOf(0x06, "\x02");
    return std::string(4, '\0') + DescriptorOf(0x03, described);
}

}  // namespace vistello
