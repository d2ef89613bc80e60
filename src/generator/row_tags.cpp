#include "generator/row_tags.h"

#include <array>
#include <span>

#include "generator/picture_tags.h"
#include "generator/shooting_tags.h"
#include "generator/site_tags.h"

namespace vistello {

namespace {

constexpr std::array<std::string_view, 2> kPlaceTags = {kUpTag, kTrailTag};

}  // namespace

std::vector<std::string_view> RowTagsIn(std::string_view templateText) {
    std::vector<std::string_view> tags;
    for (const std::span<const std::string_view> group :
         {std::span<const std::string_view>(kShootingTags),
          std::span<const std::string_view>(kPictureTags),
          std::span<const std::string_view>(kPlaceTags)}) {
        for (const std::string_view tag : group) {
            if (templateText.find(tag) != std::string_view::npos) tags.push_back(tag);
        }
    }
    return tags;
}

std::string RowValue(std::string_view tag, const RowFacts& facts) {
    for (size_t i = 0; i < kShootingTags.size(); ++i) {
        if (tag == kShootingTags[i]) return ShootingValues(*facts.shooting)[i];
    }
    const Picture& picture = *facts.picture;
    const std::string_view alt = facts.entry->alt;
    if (tag == kMediaTag) return MediaElement(picture, alt);
    if (tag == kImageWidthTag)
        return picture.image.width > 0 ? std::to_string(picture.image.width) : std::string();
    if (tag == kImageHeightTag)
        return picture.image.height > 0 ? std::to_string(picture.image.height) : std::string();
    if (tag == kPrefetchTag) return PrefetchElement(facts.next);
    if (tag == kThumbnailTag) return ThumbnailElement(picture, alt, facts.row >= kEagerThumbnails);
    if (tag == kDescriptionTextTag) return DescriptionText(*facts.entry);
    if (tag == kPosterPathTag) return PosterPath(picture);
    if (tag == kUpTag) return UpLink(facts.place, facts.hasOverview, false);
    if (tag == kTrailTag && facts.place) {
        return TrailNav(*facts.place, facts.hasOverview,
                        {std::string(facts.page), facts.entry->title});
    }
    return {};
}

}  // namespace vistello
