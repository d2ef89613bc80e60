#pragma once

#include <string>
#include <string_view>

#include "prefs/tag_set.h"
#include "slides/image_entry.h"

namespace vistello {

// What each of the ten passes puts in place of its tag, for one entry.
struct PageValues {
    std::string backLink;
    std::string nextLink;
    std::string imageFile;
    std::string title;
    std::string description;
    std::string alt;
    std::string keywords;
    std::string width;
    std::string height;
    std::string border;
};

inline constexpr std::string_view kBackTag = "<<BACK>>";
inline constexpr std::string_view kNextTag = "<<NEXT>>";

// Link targets go in as given; an empty target gives no link at all.
PageValues MakePageValues(const ImageEntry& entry, std::string_view backTarget,
                          std::string_view nextTarget);

// The template with the link tags, then the eight variable tags, replaced in that order; a pass
// sees what earlier passes inserted. An empty tag replaces nothing.
std::string BuildPageText(std::string_view templateText, const TagSet& tags,
                          const ImageEntry& entry, std::string_view backTarget,
                          std::string_view nextTarget);

}  // namespace vistello
