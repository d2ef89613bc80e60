#pragma once

#include <string>
#include <vector>

#include "slides/image_entry.h"

namespace vistello {

// The entries of a large album as a user would type them: numbered titles, the same sizes, an
// alt text, keywords, a sentence of description and a full image path.
inline std::vector<ImageEntry> AlbumEntries(int count) {
    std::vector<ImageEntry> entries;
    entries.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        entries.push_back({"Slide " + n, "480", "640", "0", "A picture of slide " + n,
                           "trip, summer",
                           "Taken on day " + n + " of the trip, in the morning light.",
                           "/home/u/pics/img_" + n + ".jpg"});
    }
    return entries;
}

}  // namespace vistello
