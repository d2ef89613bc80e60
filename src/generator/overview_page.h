#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "generator/page_text.h"
#include "generator/site_place.h"
#include "media/shooting_data.h"
#include "pictures/web_images.h"
#include "prefs/tag_set.h"
#include "slides/image_entry.h"

namespace vistello {

inline constexpr std::string_view kSlidesTag = "<<SLIDES>>";
inline constexpr std::string_view kEndSlidesTag = "<<ENDSLIDES>>";
inline constexpr std::string_view kPageTag = "<<PAGE>>";
inline constexpr std::string_view kThumbPathTag = "<<THUMBPATH>>";
inline constexpr std::string_view kShowTitleTag = "<<SHOWTITLE>>";

// One slide as the overview page shows it.
struct OverviewSlide {
    // The entry as its page shows it, its image path naming the published image.
    const ImageEntry* entry = nullptr;
    PageLinks links;
    // File names in the output folder, not yet encoded.
    std::string_view page;
    std::string_view thumbnail;
    // What is known of the photo and its picture; nothing for none.
    const ShootingData* shooting = nullptr;
    const Picture* picture = nullptr;
};

// The overview template with the text between <<SLIDES>> and <<ENDSLIDES>> repeated for every
// slide in order, its tags filled as on the slide's page and <<PAGE>> and <<THUMBPATH>> as the
// quoted addresses of its page and thumbnail, then the tags of what is known of the row (see
// RowTagsIn); the rest appears once. Each slide's text is for its own kind of slide, the rest for
// every kind the show holds (see TextForKinds). A template without the pair has nothing to repeat.
// In a site, the text between <<ALBUMS>> and <<ENDALBUMS>> is repeated the same way for every
// album the show holds (see BuildAlbumTiles), and <<UP>> and <<TRAIL>> outside both blocks lead
// up from the overview, and <<SHOWTITLE>> names the show: an album's own title where the show is
// an album of a site, else the title the project gives its site, else "Slide show", as HTML.
// Nothing when the page would pass `limit` bytes.
std::optional<std::string> BuildOverviewText(std::string_view templateText, const TagSet& tags,
                                             std::span<const OverviewSlide> slides,
                                             size_t limit = 4 * kMaxPageBytes,
                                             const SitePlace* place = nullptr,
                                             std::string_view siteTitle = {});

}  // namespace vistello
