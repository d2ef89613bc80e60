#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "generator/site_place.h"
#include "prefs/tag_set.h"

namespace vistello {

// The link one level up, labelled "Up": from a slide to its show's overview, or to the overview
// above where the show has none; from an overview to the one above it. Empty at the top.
std::string UpLink(const SitePlace* place, bool hasOverview, bool fromOverview);

// The way down from the top of the site to this page as a list of links in a nav, this page's own
// step marked as the current one. Empty outside a site, and on a page with no step above it.
// `current` is the page's own name and title for a slide; empty for the overview.
std::string TrailNav(const SitePlace& place, bool hasOverview, const TrailStep& current);

// The text between <<ALBUMS>> and <<ENDALBUMS>> once for every album, its own tags and the
// album's row's tags filled in. Nothing when it would pass `limit` bytes.
std::optional<std::string> BuildAlbumTiles(std::string_view block, const TagSet& tags,
                                           std::span<const AlbumTile> tiles, size_t limit);

// Whether the text is a day as AlbumDatesText takes it.
bool IsDay(std::string_view text);

// "1 photo", "12 photos and 1 clip", "3 clips"; empty for none.
std::string AlbumCountText(int photos, int clips);

// The first and last day as a person writes them: "14 May 2026", "3–9 May 2026",
// "May–June 2026", "December 2025–January 2026". Days are "2026-05-14"; a day that is no such
// date gives nothing.
std::string AlbumDatesText(std::string_view firstDay, std::string_view lastDay);

}  // namespace vistello
