#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "generator/site_place.h"
#include "media/shooting_data.h"
#include "pictures/web_images.h"
#include "slides/image_entry.h"

namespace vistello {

// What is known of a row beyond its entry and links, for the tags that show it.
struct RowFacts {
    const ImageEntry* entry = nullptr;
    const ShootingData* shooting = nullptr;
    const Picture* picture = nullptr;
    // The next page's link target, encoded; empty on the last.
    std::string_view next;
    size_t row = 0;
    // The show's place in a site, if it has one; whether it has an overview; the row's own page.
    const SitePlace* place = nullptr;
    bool hasOverview = false;
    std::string_view page;
};

// The tags of that kind a template holds, in the order they are replaced. A tag it does not hold
// is no pass at all, so a field that happens to hold one stays as it is in such a show.
std::vector<std::string_view> RowTagsIn(std::string_view templateText);

// The value of one of those tags for a row.
std::string RowValue(std::string_view tag, const RowFacts& facts);

}  // namespace vistello
