#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/tag_starts.h"
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

// Values that hold tags of later passes multiply the page with every pass; past this size a page
// is taken for such a runaway and not built.
inline constexpr size_t kMaxPageBytes = size_t{64} * 1024 * 1024;

// Link targets go in as given; an empty target gives no link at all. The image's file name is
// encoded as a link target is, so that no byte of it ends or redirects the address.
PageValues MakePageValues(const ImageEntry& entry, std::string_view backTarget,
                          std::string_view nextTarget);

// A template made ready for the pages of a set: where its tags could begin is found once, not
// for every page. It keeps referring to the text and the tags it was made from.
class PageTemplate {
public:
    PageTemplate(std::string_view text, const TagSet& tags);

private:
    friend std::optional<std::string> BuildPageText(const PageTemplate&, const ImageEntry&,
                                                    std::string_view, std::string_view, size_t);

    // The link tags, then the eight variable tags, in the order they are replaced.
    static constexpr size_t kPasses = 10;

    std::string_view m_text;
    std::array<std::string_view, kPasses> m_searches;
    TagStarts m_tagStarts;
    std::vector<size_t> m_starts;
};

// The template with the link tags, then the eight variable tags, replaced in that order; a pass
// sees what earlier passes inserted. An empty tag replaces nothing. Nothing when the text would
// grow past `limit` bytes: the pass that would cross it is not carried out.
std::optional<std::string> BuildPageText(const PageTemplate& page, const ImageEntry& entry,
                                         std::string_view backTarget, std::string_view nextTarget,
                                         size_t limit = kMaxPageBytes);

}  // namespace vistello
