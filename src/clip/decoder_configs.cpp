#include "clip/decoder_configs.h"

#include <cstdint>

#include "clip/avc_picture.h"
#include "clip/mp4_box.h"

namespace vistello {

namespace {

// MPEG-4 AAC, in an audio stream.
constexpr char kAacObject = 0x40;
constexpr char kAudioStream = 0x15;
// The High profile, whose configuration ends in the chroma format and depths.
constexpr char kHigh = 100;
// That 4:2:0 and 8 bits, with no extended sets, with the reserved bits set.
constexpr char kHighFormat[] = "\xFD\xF8\xF8";
// Low Complexity, the one kind of AAC every browser plays.
constexpr uint64_t kLowComplexity = 2;
// The sampling rates by index that need no explicit frequency.
constexpr uint64_t kKnownRates = 13;
// The extension that says outright that there is no spectral band replication.
constexpr std::string_view kNoReplication("\x56\xE5\x00", 3);

// A two-byte length, then the set.
std::string WithLength(const std::string& set) {
    return std::string{static_cast<char>(set.size() >> 8), static_cast<char>(set.size())} + set;
}

// Low Complexity AAC's specific configuration, in its two bytes and perhaps the extension that
// says no more: a known rate, channels by their usual layout, frames of 1024 samples.
bool PlainAacConfig(std::string_view specific) {
    const std::optional<uint64_t> fields = UintAt(specific, 0, 2);
    if (!fields || (specific.size() != 2 && specific.substr(2) != kNoReplication)) return false;
    const uint64_t channels = *fields >> 3 & 0xF;
    return *fields >> 11 == kLowComplexity && (*fields >> 7 & 0xF) < kKnownRates && channels > 0 &&
           channels < 8 && (*fields & 7) == 0;
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
    const std::optional<AvcStream> stream = PlainAvcStream(avcC);
    if (!stream) return std::nullopt;
    const std::string& sequence = stream->sequenceSet;
    std::string plain = {1,
                         sequence[1],
                         sequence[2],
                         sequence[3],
                         static_cast<char>(0xFC | (stream->lengthSize - 1)),
                         '\xE1'};
    plain += WithLength(sequence) + '\1' + WithLength(stream->pictureSet);
    if (sequence[1] == kHigh) plain += std::string(kHighFormat) + '\0';
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
    if (!specificEnd || *specificEnd != *decoder) return std::nullopt;
    const std::string_view specific = esds.substr(at, *specificEnd - at);
    if (!PlainAacConfig(specific)) return std::nullopt;
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
