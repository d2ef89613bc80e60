#include "clip/box_fields.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "clip/mp4_box.h"

namespace vistello {

namespace {

// More edits than a clip that plays from its start needs.
constexpr uint64_t kMostEdits = 2;
// More sample groups than a sound that says how far back to start decoding needs.
constexpr uint64_t kMostGroups = 4;

// A table of a count at `countAt`, at most `most`, and as many entries of `entry` bytes after it.
bool Table(std::string_view body, size_t countAt, uint64_t entry, uint64_t most = UINT32_MAX) {
    const std::optional<uint64_t> count = UintAt(body, countAt, 4);
    return count && *count <= most && body.size() == countAt + 4 + *count * entry;
}

// Sample groups only of the kinds that say how far back a decoder starts, two bytes each.
bool RollGroups(std::string_view body, uint64_t version) {
    const std::string_view grouping = BytesAt(body, 4, 4);
    return version == 1 && (grouping == "roll" || grouping == "prol") && UintAt(body, 8, 4) == 2u &&
           Table(body, 12, 2, kMostGroups);
}

// Bytes from..to of a header's body.
struct Span {
    size_t from;
    size_t to;
};

// How long a header of its kind and version is, and which of its bytes say nothing a player
// needs: the times of filming and what is reserved.
struct HeaderLayout {
    size_t length = 0;
    std::vector<Span> blank;
};

std::optional<HeaderLayout> LayoutOf(std::string_view type, bool wide) {
    if (type == "mvhd") {
        return wide ? HeaderLayout{112, {{4, 20}, {38, 48}, {84, 108}}}
                    : HeaderLayout{100, {{4, 12}, {26, 36}, {72, 96}}};
    }
    if (type == "tkhd") {
        return wide ? HeaderLayout{96, {{4, 20}, {24, 28}, {36, 44}, {50, 52}}}
                    : HeaderLayout{84, {{4, 12}, {16, 20}, {24, 32}, {38, 40}}};
    }
    if (type == "mdhd") {
        return wide ? HeaderLayout{36, {{4, 20}, {34, 36}}} : HeaderLayout{24, {{4, 12}, {22, 24}}};
    }
    if (type == "hdlr") return HeaderLayout{25, {{4, 8}, {12, 25}}};
    if (type == "vmhd") return HeaderLayout{12, {{4, 12}}};
    if (type == "smhd") return HeaderLayout{8, {{4, 8}}};
    return std::nullopt;
}

}  // namespace

bool HoldsOnlyItsFields(std::string_view type, std::string_view body, uint64_t samples) {
    const std::optional<uint64_t> version = UintAt(body, 0, 1);
    if (!version) return false;
    if (type == "stts" || type == "ctts") return Table(body, 4, 8);
    if (type == "stsc") return Table(body, 4, 12);
    if (type == "stss" || type == "stps") return Table(body, 4, 4);
    if (type == "stsz") return UintAt(body, 4, 4) == 0u ? Table(body, 8, 4) : body.size() == 12;
    if (type == "elst") return *version <= 1 && Table(body, 4, *version == 1 ? 20 : 12, kMostEdits);
    if (type == "cslg") return body.size() == (*version == 1 ? 44u : 24u);
    if (type == "pasp") return body.size() == 8;
    if (type == "sdtp") return body.size() == 4 + samples;
    if (type == "sbgp") return *version <= 1 && Table(body, *version == 1 ? 12 : 8, 8);
    if (type == "sgpd") return RollGroups(body, *version);
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
    // Flags: a track keeps whether it is on and shown; a picture's media header is always 1.
    const char last = type == "tkhd" ? static_cast<char>(body[3] & 0x07) : type == "vmhd" ? 1 : 0;
    body.replace(1, 3, std::string{'\0', '\0', last});
    return true;
}

}  // namespace vistello
