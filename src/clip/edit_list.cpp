#include "clip/edit_list.h"

#include <cmath>
#include <optional>

#include "clip/mp4_box.h"

namespace vistello {

namespace {

// Seconds an encoder skips at the start, or a track runs short of the movie, in a clip it made
// whole: a decoder's delay, a sound's priming.
constexpr double kLeeway = 0.5;

struct Edit {
    uint64_t duration = 0;
    uint64_t mediaTime = 0;
    bool pause = false;
};

std::optional<Edit> EditAt(std::string_view elst, uint64_t i, bool wide) {
    const int width = wide ? 8 : 4;
    const size_t at = 8 + i * (2 * width + 4);
    const std::optional<uint64_t> duration = UintAt(elst, at, width);
    const std::optional<uint64_t> time = UintAt(elst, at + width, width);
    if (!duration || !time) return std::nullopt;
    const uint64_t none = wide ? ~uint64_t{0} : UINT32_MAX;
    return Edit{*duration, *time, *time == none};
}

}  // namespace

bool PlaysAllItsMedia(std::string_view elst, std::string_view mdhd, uint64_t movieScale) {
    const bool wide = UintAt(elst, 0, 1) == 1u;
    const bool wideMedia = UintAt(mdhd, 0, 1) == 1u;
    const std::optional<uint64_t> count = UintAt(elst, 4, 4);
    const std::optional<uint64_t> scale = UintAt(mdhd, wideMedia ? 20 : 12, 4);
    const std::optional<uint64_t> length = UintAt(mdhd, wideMedia ? 24 : 16, wideMedia ? 8 : 4);
    if (!count || *count == 0 || *count > 2 || !scale || *scale == 0 || !length || movieScale == 0)
        return false;
    const std::optional<Edit> first = EditAt(elst, 0, wide);
    const std::optional<Edit> played = EditAt(elst, *count - 1, wide);
    if (!first || !played || played->pause || (*count == 2 && !first->pause)) return false;
    const double perSecond = static_cast<double>(*scale);
    const double start = static_cast<double>(played->mediaTime) / perSecond;
    const double end =
        start + static_cast<double>(played->duration) / static_cast<double>(movieScale);
    return start <= kLeeway && std::abs(end - static_cast<double>(*length) / perSecond) <= kLeeway;
}

}  // namespace vistello
