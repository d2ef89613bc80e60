#include "clip/box_fields.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "clip/mp4_box.h"

namespace vistello {

namespace {

// More edits than a clip that plays from its start, perhaps after a pause, needs.
constexpr uint64_t kMostEdits = 2;
// After tracks 1 and 2, the only numbers a ready clip's tracks have.
constexpr uint64_t kNextTrack = 3;
// The language "und", packed as a media header holds it: a sound's language is a player's to ask.
constexpr uint64_t kUndetermined = 0x55C4;
// An edit that plays at the normal rate, as 16.16 fixed point.
constexpr uint64_t kNormalRate = 0x00010000;

// A table of a count at `countAt`, at most `most`, and as many entries of `entry` bytes after it.
bool Table(std::string_view body, size_t countAt, uint64_t entry, uint64_t most = UINT32_MAX) {
    const std::optional<uint64_t> count = UintAt(body, countAt, 4);
    return count && *count <= most && body.size() == countAt + 4 + *count * entry;
}

// The number of entries of `entry` bytes; each at `at` has `field` of `width` bytes equal `value`.
bool EachEntry(std::string_view body, uint64_t entry, size_t field, int width, uint64_t value) {
    const uint64_t count = *UintAt(body, 4, 4);
    for (uint64_t i = 0; i < count; ++i) {
        if (UintAt(body, 8 + i * entry + field, width) != value) return false;
    }
    return true;
}

// Runs of samples, each of at least one, that together are the track's samples.
bool Runs(std::string_view body, uint64_t samples) {
    if (!Table(body, 4, 8)) return false;
    uint64_t total = 0;
    for (size_t at = 8; at < body.size(); at += 8) {
        const uint64_t run = *UintAt(body, at, 4);
        if (run == 0) return false;
        total += run;
    }
    return total == samples;
}

// Sync samples named once each, in order, each one of the track's.
bool SyncSamples(std::string_view body, uint64_t samples) {
    if (!Table(body, 4, 4)) return false;
    uint64_t last = 0;
    for (size_t at = 8; at < body.size(); at += 4) {
        const uint64_t sample = *UintAt(body, at, 4);
        if (sample <= last || sample > samples) return false;
        last = sample;
    }
    return true;
}

// Edits at the normal rate, of which only the first may be a pause, which plays nothing.
bool Edits(std::string_view body, uint64_t version) {
    const uint64_t wide = version == 1 ? 8 : 4;
    const uint64_t entry = 2 * wide + 4;
    if (!Table(body, 4, entry, kMostEdits) || !EachEntry(body, entry, 2 * wide, 4, kNormalRate))
        return false;
    const uint64_t pause = wide == 8 ? ~uint64_t{0} : UINT32_MAX;
    return *UintAt(body, 4, 4) < 2 || UintAt(body, 8 + wide, static_cast<int>(wide)) == pause;
}

// Bytes from..to of a header's body.
struct Span {
    size_t from;
    size_t to;
};

// A field of `width` bytes at `at` that always holds `value`.
struct Fixed {
    size_t at;
    int width;
    uint64_t value;
};

// How long a header of its kind and version is, which of its bytes say nothing a player needs
// (the times of filming and what is reserved), and which hold one value in every clip that plays
// at its normal rate and volume, on one layer.
struct HeaderLayout {
    size_t length = 0;
    std::vector<Span> blank;
    std::vector<Fixed> fixed;
};

std::optional<HeaderLayout> LayoutOf(std::string_view type, bool wide) {
    if (type == "mvhd") {
        return wide ? HeaderLayout{112,
                                   {{4, 20}, {38, 48}, {84, 108}},
                                   {{32, 4, kNormalRate}, {36, 2, 0x100}, {108, 4, kNextTrack}}}
                    : HeaderLayout{100,
                                   {{4, 12}, {26, 36}, {72, 96}},
                                   {{20, 4, kNormalRate}, {24, 2, 0x100}, {96, 4, kNextTrack}}};
    }
    if (type == "tkhd") {
        return wide ? HeaderLayout{96, {{4, 20}, {24, 28}, {36, 48}, {50, 52}}, {}}
                    : HeaderLayout{84, {{4, 12}, {16, 20}, {24, 36}, {38, 40}}, {}};
    }
    if (type == "mdhd") {
        return wide ? HeaderLayout{36, {{4, 20}, {34, 36}}, {{32, 2, kUndetermined}}}
                    : HeaderLayout{24, {{4, 12}, {22, 24}}, {{20, 2, kUndetermined}}};
    }
    if (type == "hdlr") return HeaderLayout{25, {{4, 8}, {12, 25}}, {}};
    if (type == "vmhd") return HeaderLayout{12, {{4, 12}}, {}};
    if (type == "smhd") return HeaderLayout{8, {{4, 8}}, {}};
    return std::nullopt;
}

// A track's volume says only whether it is heard: full or none.
void PlainVolume(std::string& tkhd, bool wide) {
    const size_t at = wide ? 48 : 36;
    PutUint(tkhd, at, UintAt(tkhd, at, 2) == 0u ? 0 : 0x100, 2);
}

}  // namespace

bool HoldsOnlyItsFields(std::string_view type, std::string_view body, uint64_t samples) {
    const std::optional<uint64_t> version = UintAt(body, 0, 1);
    // Versions and flags as they must be: no bit of them means anything else.
    if (!version || UintAt(body, 1, 3) != 0u) return false;
    if (type == "ctts") return *version <= 1 && Runs(body, samples);
    if (type == "elst") return *version <= 1 && Edits(body, *version);
    if (*version != 0) return false;
    if (type == "stts") return Runs(body, samples);
    if (type == "stsc") return Table(body, 4, 12) && EachEntry(body, 12, 8, 4, 1);
    if (type == "stss") return SyncSamples(body, samples);
    if (type == "stsz") return UintAt(body, 4, 4) == 0u ? Table(body, 8, 4) : body.size() == 12;
    return false;
}

bool ClearHeader(std::string_view type, std::string& body) {
    const std::optional<uint64_t> version = UintAt(body, 0, 1);
    if (!version || *version > 1) return false;
    // A handler's name says what made the clip: it goes, and the empty name ends it.
    if (type == "hdlr" && body.size() >= 24) body.resize(25);
    const std::optional<HeaderLayout> layout = LayoutOf(type, *version == 1);
    if (!layout || body.size() != layout->length) return false;
    for (const Span& span : layout->blank)
        std::fill(body.begin() + static_cast<std::ptrdiff_t>(span.from),
                  body.begin() + static_cast<std::ptrdiff_t>(span.to), '\0');
    for (const Fixed& field : layout->fixed) PutUint(body, field.at, field.value, field.width);
    if (type == "tkhd") PlainVolume(body, *version == 1);
    // Flags: a track keeps whether it is on and shown; a picture's media header is always 1.
    const char last = type == "tkhd" ? static_cast<char>(body[3] & 0x07) : type == "vmhd" ? 1 : 0;
    body.replace(1, 3, std::string{'\0', '\0', last});
    return true;
}

}  // namespace vistello
