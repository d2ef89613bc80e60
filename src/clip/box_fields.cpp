#include "clip/box_fields.h"

#include <optional>

#include "clip/mp4_box.h"

namespace vistello {

namespace {

// A table of a count at `countAt` and as many entries of `entry` bytes from `countAt` + 4 on.
bool Table(std::string_view body, size_t countAt, uint64_t entry) {
    const std::optional<uint64_t> count = UintAt(body, countAt, 4);
    return count && body.size() == countAt + 4 + *count * entry;
}

// Sample groups only of the kinds that say how far back a decoder starts, two bytes each.
bool RollGroups(std::string_view body, uint64_t version) {
    const std::string_view grouping = BytesAt(body, 4, 4);
    return version == 1 && (grouping == "roll" || grouping == "prol") && UintAt(body, 8, 4) == 2u &&
           Table(body, 12, 2);
}

}  // namespace

bool HoldsOnlyItsFields(std::string_view type, std::string_view body, uint64_t samples) {
    const std::optional<uint64_t> version = UintAt(body, 0, 1);
    if (!version) return false;
    if (type == "stts" || type == "ctts") return Table(body, 4, 8);
    if (type == "stsc") return Table(body, 4, 12);
    if (type == "stss" || type == "stps") return Table(body, 4, 4);
    if (type == "stsz") return UintAt(body, 4, 4) == 0u ? Table(body, 8, 4) : body.size() == 12;
    if (type == "elst") return *version <= 1 && Table(body, 4, *version == 1 ? 20 : 12);
    if (type == "cslg") return body.size() == (*version == 1 ? 44u : 24u);
    if (type == "vmhd") return body.size() == 12;
    if (type == "smhd") return body.size() == 8;
    if (type == "pasp") return body.size() == 8;
    if (type == "btrt") return body.size() == 12;
    if (type == "sdtp") return body.size() == 4 + samples;
    if (type == "sbgp") return *version <= 1 && Table(body, *version == 1 ? 12 : 8, 8);
    if (type == "sgpd") return RollGroups(body, *version);
    return false;
}

}  // namespace vistello
