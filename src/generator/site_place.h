#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pictures/web_images.h"
#include "slides/image_entry.h"

namespace vistello {

inline constexpr std::string_view kUpTag = "<<UP>>";
inline constexpr std::string_view kTrailTag = "<<TRAIL>>";
inline constexpr std::string_view kAlbumsTag = "<<ALBUMS>>";
inline constexpr std::string_view kEndAlbumsTag = "<<ENDALBUMS>>";
inline constexpr std::string_view kAlbumPageTag = "<<ALBUMPAGE>>";
inline constexpr std::string_view kAlbumTitleTag = "<<ALBUMTITLE>>";
inline constexpr std::string_view kAlbumCoverTag = "<<ALBUMCOVER>>";
inline constexpr std::string_view kAlbumCountTag = "<<ALBUMCOUNT>>";
inline constexpr std::string_view kAlbumDatesTag = "<<ALBUMDATES>>";

// An album as the overview of the show that holds it shows it.
struct AlbumTile {
    // The album's row in the show that holds it: its title, alt text and description.
    const ImageEntry* entry = nullptr;
    // Its overview page's path from the folder of the show that holds it, not yet encoded.
    std::string page;
    // Its cover, every path from that same folder.
    Picture cover;
    // "12 photos and 1 clip"; "14 May 2026".
    std::string count;
    std::string dates;
    // A private album, shown by a lock instead of a cover.
    bool locked = false;
};

// One step of the way down from the top of a site: its overview, by its path from the folder of
// the show that links to it, not yet encoded, and its title.
struct TrailStep {
    std::string page;
    std::string title;
};

// Where a show stands in a site of albums. A show of no site has no trail and leads up only from
// its slides to its overview.
struct SitePlace {
    // The overviews above this show's, the top first.
    std::vector<TrailStep> above;
    // This show's own title in the trail: "Home" at the top, else the album's title.
    std::string title;
    // The albums the show holds, for the overview's block of albums.
    std::vector<AlbumTile> albums;
    // Whether the show's photos are to be read for when they were taken, for the album's dates.
    bool wantDates = false;
};

// What a show tells the show that holds it as an album: its first page, its cover (paths from its
// own folder), how many photos and clips it and its albums hold, and the first and last day
// they were taken ("2026-05-14"), empty when none says.
struct AlbumSummary {
    std::string home;
    Picture cover;
    bool hasCover = false;
    int photos = 0;
    int clips = 0;
    std::string firstDay;
    std::string lastDay;
};

}  // namespace vistello
