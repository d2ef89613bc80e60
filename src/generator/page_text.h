#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "generator/tag_starts.h"
#include "prefs/tag_set.h"
#include "slides/image_entry.h"

namespace vistello {

// The link targets of one page, each as it goes into the address; an empty one gives no link.
struct PageLinks {
    std::string_view back;
    std::string_view next;
    // The overview page of the show.
    std::string_view index;
};

// What each of the eleven passes puts in place of its tag, for one entry.
struct PageValues {
    std::string backLink;
    std::string nextLink;
    std::string indexLink;
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
inline constexpr std::string_view kIndexTag = "<<INDEX>>";

// Values that hold tags of later passes multiply the page with every pass; past this size a page
// is taken for such a runaway and not built.
inline constexpr size_t kMaxPageBytes = size_t{64} * 1024 * 1024;

// Link targets go in as given; an empty target gives no link at all. The image's file name is
// encoded as a link target is, so that no byte of it ends or redirects the address. The alt text,
// which the quotes make an attribute value, never leaves them (see AttributeEscaped).
PageValues MakePageValues(const ImageEntry& entry, const PageLinks& links);

// A template made ready for the pages of a set: where its tags could begin is found once, not
// for every page. It keeps referring to the text and the tags it was made from. Tags of its own
// use, such as those of the overview page, come after every other pass.
class PageTemplate {
public:
    PageTemplate(std::string_view text, const TagSet& tags,
                 std::span<const std::string_view> extraTags = {});

private:
    friend std::optional<std::string> BuildPageText(const PageTemplate&, const ImageEntry&,
                                                    const PageLinks&,
                                                    std::span<const std::string_view>, size_t);

    // The link tags, then the eight variable tags, in the order they are replaced.
    static constexpr size_t kPasses = 11;

    std::string_view m_text;
    std::vector<std::string_view> m_searches;
    // Per pass: whether the template itself holds its tag.
    std::vector<bool> m_inText;
    TagStarts m_tagStarts;
    std::vector<size_t> m_starts;
};

// The template with the link tags, then the eight variable tags, then the template's own tags
// (one value each, in order) replaced in that order; a pass sees what earlier passes inserted. An
// empty tag replaces nothing. Nothing when the text would grow past `limit` bytes: the pass that
// would cross it is not carried out.
std::optional<std::string> BuildPageText(const PageTemplate& page, const ImageEntry& entry,
                                         const PageLinks& links,
                                         std::span<const std::string_view> extraValues = {},
                                         size_t limit = kMaxPageBytes);

}  // namespace vistello
