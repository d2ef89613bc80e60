#include "generator/page_text.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "files/path_rules.h"
#include "generator/page_names.h"
#include "generator/substitution_text.h"
#include "generator/tag_starts.h"
#include "text/html_escape.h"

namespace vistello {

namespace {

std::string Link(std::string_view target, std::string_view label) {
    if (target.empty()) return {};
    std::string link = "<a href=";
    link.append(target).append(">").append(label).append("</a>");
    return link;
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted.append(text).append("\"");
    return quoted;
}

std::string OrDefault(const std::string& value, std::string_view fallback) {
    return value.empty() ? std::string(fallback) : value;
}

std::vector<std::string_view> Searches(const TagSet& tags,
                                       std::span<const std::string_view> extraTags) {
    std::vector<std::string_view> searches = {
        kBackTag, kNextTag,      kIndexTag,  tags.imagePath, tags.imageTitle, tags.description,
        tags.alt, tags.keywords, tags.width, tags.height,    tags.border};
    searches.insert(searches.end(), extraTags.begin(), extraTags.end());
    return searches;
}

}  // namespace

PageValues MakePageValues(const ImageEntry& entry, const PageLinks& links) {
    return {Link(links.back, "Back"),
            Link(links.next, "Next"),
            Link(links.index, "Index"),
            Quoted(EncodeLinkTarget(FileNameOf(entry.imagePath))),
            entry.title,
            entry.description,
            Quoted(AttributeEscaped(entry.alt)),
            entry.keywords,
            OrDefault(entry.width, "\"100%\""),
            OrDefault(entry.height, "\"100%\""),
            OrDefault(entry.border, "\"0\"")};
}

PageTemplate::PageTemplate(std::string_view text, const TagSet& tags,
                           std::span<const std::string_view> extraTags)
    : m_text(text), m_searches(Searches(tags, extraTags)), m_tagStarts(m_searches) {
    m_tagStarts.Collect(m_text, 0, m_text.size(), m_starts);
    for (const std::string_view search : m_searches)
        m_inText.push_back(!search.empty() && m_text.find(search) != std::string_view::npos);
}

std::optional<std::string> BuildPageText(const PageTemplate& page, const ImageEntry& entry,
                                         const PageLinks& links,
                                         std::span<const std::string_view> extraValues,
                                         size_t limit) {
    if (page.m_text.size() > limit) return std::nullopt;
    const PageValues values = MakePageValues(entry, links);
    const std::array<std::string_view, PageTemplate::kPasses> replacements = {
        values.backLink, values.nextLink,    values.indexLink, values.imageFile,
        values.title,    values.description, values.alt,       values.keywords,
        values.width,    values.height,      values.border};
    // Pages are built one after another from the same template; keeping the working buffers
    // spares the allocator from handing them back and faulting them in again for the next page.
    thread_local SubstitutionScratch scratch;
    SubstitutionText text(page.m_text, page.m_tagStarts, page.m_starts, scratch, limit);
    // A pass whose tag the template lacks has nothing to do until some pass could have made one.
    const auto apply = [&](size_t pass, std::string_view replacement) {
        if (!page.m_inText[pass] && text.HoldsOnlyGivenTags()) return true;
        return text.Apply(page.m_searches[pass], replacement);
    };
    for (size_t pass = 0; pass < PageTemplate::kPasses; ++pass) {
        if (!apply(pass, replacements[pass])) return std::nullopt;
    }
    const size_t extra =
        std::min(extraValues.size(), page.m_searches.size() - PageTemplate::kPasses);
    for (size_t pass = 0; pass < extra; ++pass) {
        if (!apply(PageTemplate::kPasses + pass, extraValues[pass])) return std::nullopt;
    }
    return std::move(text).Take();
}

}  // namespace vistello
