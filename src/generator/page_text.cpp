#include "generator/page_text.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "files/path_rules.h"
#include "generator/page_names.h"
#include "generator/substitution_text.h"
#include "generator/tag_starts.h"

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

}  // namespace

PageValues MakePageValues(const ImageEntry& entry, std::string_view backTarget,
                          std::string_view nextTarget) {
    return {Link(backTarget, "Back"),
            Link(nextTarget, "Next"),
            Quoted(EncodeLinkTarget(FileNameOf(entry.imagePath))),
            entry.title,
            entry.description,
            Quoted(entry.alt),
            entry.keywords,
            OrDefault(entry.width, "\"100%\""),
            OrDefault(entry.height, "\"100%\""),
            OrDefault(entry.border, "\"0\"")};
}

std::optional<std::string> BuildPageText(std::string_view templateText, const TagSet& tags,
                                         const ImageEntry& entry, std::string_view backTarget,
                                         std::string_view nextTarget, size_t limit) {
    if (templateText.size() > limit) return std::nullopt;
    const PageValues values = MakePageValues(entry, backTarget, nextTarget);
    const std::array<std::pair<std::string_view, std::string_view>, 10> passes = {{
        {kBackTag, values.backLink},
        {kNextTag, values.nextLink},
        {tags.imagePath, values.imageFile},
        {tags.imageTitle, values.title},
        {tags.description, values.description},
        {tags.alt, values.alt},
        {tags.keywords, values.keywords},
        {tags.width, values.width},
        {tags.height, values.height},
        {tags.border, values.border},
    }};
    std::array<std::string_view, passes.size()> searches;
    std::transform(passes.begin(), passes.end(), searches.begin(),
                   [](const auto& pass) { return pass.first; });
    const TagStarts starts(searches);
    // Pages are built one after another from the same template; keeping the working buffers
    // spares the allocator from handing a page's worth of memory back and faulting it in again
    // for the next page.
    thread_local SubstitutionScratch scratch;
    SubstitutionText text(templateText, starts, scratch, limit);
    for (const auto& [search, replacement] : passes) {
        if (!text.Apply(search, replacement)) return std::nullopt;
    }
    return std::move(text).Take();
}

}  // namespace vistello
