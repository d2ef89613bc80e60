#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistello {

// When a photo was taken, as a number that puts photos in order: milliseconds since 1970 in UTC
// where the photo says how far its clock was from UTC, else its own clock's time read as UTC.
using TakenAt = long long;

// EXIF's "2026:05:14 18:32:10", with the offset ("+02:00") and the fraction of a second ("25",
// a quarter) that cameras keep beside it, each maybe empty.
std::optional<TakenAt> ExifTakenAt(std::string_view dateTime, std::string_view offset,
                                   std::string_view subSeconds);

// XMP's and IPTC's ISO 8601 forms: "2026-05-14", "2026-05-14T18:32", "2026-05-14T18:32:10.25Z",
// "2026-05-14T18:32:10+02:00" and the like.
std::optional<TakenAt> IsoTakenAt(std::string_view text);

// The photo's own clock as pages show it, "2026-05-14 18:32", or "2026-05-14" where only the day
// is known; of a text that ExifTakenAt or IsoTakenAt reads.
std::string LocalTakenText(std::string_view dateTime);

// The places of the photos, oldest first. Photos taken at one moment keep their order, and so do
// photos without a time, after all the others.
std::vector<size_t> OldestFirst(const std::vector<std::optional<TakenAt>>& takenAt);

}  // namespace vistello
