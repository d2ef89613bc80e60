#include "images/format_quality.h"

#include <algorithm>
#include <array>

namespace vistello {

namespace {

// Per JPEG quality, the WebP and AVIF quality (at the efforts the maker encodes with) whose
// copies are as close to the picture as the JPEG's, by the SSIM of their brightness: measured with
// bench/format_quality.sh on 1200-pixel copies of camera photos, detailed and smooth, wide and
// tall. Between two, the line through them. Grainy pictures would need more, and get a little
// softer; a photo as smooth as a clear sky needs more too, at a size so small that it hardly shows.
struct Match {
    int jpeg;
    int webp;
    int avif;
};
constexpr std::array<Match, 6> kMatches = {{
    {1, 1, 1},
    {50, 35, 44},
    {70, 54, 51},
    {85, 78, 62},
    {95, 91, 86},
    {100, 100, 100},
}};

}  // namespace

int EncoderQuality(ImageFormat format, int quality) {
    if (format != ImageFormat::WebP && format != ImageFormat::Avif) return quality;
    quality = std::clamp(quality, kMatches.front().jpeg, kMatches.back().jpeg);
    const bool webp = format == ImageFormat::WebP;
    for (size_t i = 1; i < kMatches.size(); ++i) {
        const Match& low = kMatches[i - 1];
        const Match& high = kMatches[i];
        if (quality > high.jpeg && i + 1 < kMatches.size()) continue;
        const int from = webp ? low.webp : low.avif;
        const int to = webp ? high.webp : high.avif;
        const int span = high.jpeg - low.jpeg;
        return from + ((to - from) * (quality - low.jpeg) + span / 2) / span;
    }
    return quality;
}

}  // namespace vistello
