#include "clip/sample_entry.h"

#include <algorithm>
#include <iterator>
#include <set>

#include "clip/decoder_configs.h"
#include "clip/mp4_box.h"

namespace vistello {

namespace {

constexpr size_t kVisualFields = 78;
constexpr size_t kSoundFields = 28;
// 72 pixels per inch, as 16.16 fixed point.
constexpr uint64_t kResolution = 0x00480000;
// Above every colour primary, transfer and matrix the standards name.
constexpr uint64_t kLargestColourNumber = 31;
// The sampling rates AAC names that a sound entry's 16 bits can hold.
constexpr uint64_t kSoundRates[] = {64000, 48000, 44100, 32000, 24000, 22050,
                                    16000, 12000, 11025, 8000,  7350};

// The fields of a picture's entry: its size kept, the rest as they must be.
std::optional<std::string> VisualFields(std::string_view entry) {
    std::string fields(kVisualFields, '\0');
    PutUint(fields, 6, 1, 2);
    fields.replace(24, 4, entry.substr(24, 4));
    PutUint(fields, 28, kResolution, 4);
    PutUint(fields, 32, kResolution, 4);
    PutUint(fields, 40, 1, 2);
    PutUint(fields, 74, 0x18, 2);
    PutUint(fields, 76, 0xFFFF, 2);
    return fields;
}

// The fields of a sound's entry: its channels, 16-bit samples and a rate AAC names, in whole
// samples a second; nothing for anything else.
std::optional<std::string> SoundFields(std::string_view entry) {
    const uint64_t channels = UintAt(entry, 16, 2).value_or(0);
    const uint64_t rate = UintAt(entry, 24, 4).value_or(0);
    if (channels == 0 || channels > 8 || UintAt(entry, 18, 2) != 16u || (rate & 0xFFFF) != 0 ||
        std::find(std::begin(kSoundRates), std::end(kSoundRates), rate >> 16) ==
            std::end(kSoundRates))
        return std::nullopt;
    std::string fields(kSoundFields, '\0');
    PutUint(fields, 6, 1, 2);
    fields.replace(16, 4, entry.substr(16, 4));
    fields.replace(24, 4, entry.substr(24, 4));
    return fields;
}

// Colours by their numbers, each one the standards name, in limited range as the picture is.
bool PlainColours(std::string_view colr) {
    const std::string_view kind = colr.substr(0, 4);
    if (!(kind == "nclc" && colr.size() == 10) &&
        !(kind == "nclx" && colr.size() == 11 && colr[10] == '\0'))
        return false;
    for (size_t at = 4; at < 10; at += 2) {
        if (UintAt(colr, at, 2) > kLargestColourNumber) return false;
    }
    return true;
}

// Square pixels; any other shape is left to the tools, whose numbers could say anything.
bool SquarePixels(std::string_view pasp) {
    return pasp.size() == 8 && UintAt(pasp, 0, 4) == 1u && UintAt(pasp, 4, 4) == 1u;
}

// What a child box of an entry becomes: its plain form, or nothing when it may not be there.
std::optional<std::string> PlainChild(const Mp4Box& child) {
    if (child.type == "avcC") return PlainAvcConfig(child.body);
    if (child.type == "esds") return PlainAacDescription(child.body);
    if (child.type == "pasp" && SquarePixels(child.body)) return std::string(child.body);
    if (child.type == "colr" && PlainColours(child.body)) return std::string(child.body);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> PlainDescriptions(std::string_view descriptions, int& budget) {
    if (descriptions.size() < 8 || UintAt(descriptions, 4, 4) != 1u) return std::nullopt;
    const auto entries = SplitBoxes(descriptions.substr(8), budget);
    if (!entries || entries->size() != 1) return std::nullopt;
    const Mp4Box& entry = entries->front();
    const bool picture = entry.type == "avc1";
    const size_t fixed = picture ? kVisualFields : kSoundFields;
    // Its samples are found through the one data reference, which says they are in this file.
    if ((!picture && entry.type != "mp4a") || entry.body.size() < fixed ||
        UintAt(entry.body, 6, 2) != 1u)
        return std::nullopt;
    const std::optional<std::string> fields =
        picture ? VisualFields(entry.body) : SoundFields(entry.body);
    if (!fields) return std::nullopt;
    std::string body = *fields;
    const auto children = SplitBoxes(entry.body.substr(fixed), budget);
    if (!children) return std::nullopt;
    std::set<std::string_view> seen;
    for (const Mp4Box& child : *children) {
        // A second box of a kind could say anything.
        if (!seen.insert(child.type).second) return std::nullopt;
        // Its bit rates, which a player never needs.
        if (child.type == "btrt") continue;
        const std::optional<std::string> plain = PlainChild(child);
        if (!plain) return std::nullopt;
        body += BoxOf(child.type, *plain);
    }
    return std::string("\0\0\0\0\0\0\0\1", 8) + BoxOf(entry.type, body);
}

}  // namespace vistello
