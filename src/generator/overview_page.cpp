#include "generator/overview_page.h"

#include "generator/page_names.h"
#include "generator/shooting_tags.h"

namespace vistello {

namespace {

// Each part of the path is encoded on its own, so the separators stay separators.
std::string QuotedAddress(std::string_view path) {
    std::string address = "\"";
    for (size_t start = 0;;) {
        const size_t slash = path.find('/', start);
        address += EncodeLinkTarget(path.substr(start, slash - start));
        if (slash == std::string_view::npos) break;
        address += '/';
        start = slash + 1;
    }
    return address + "\"";
}

}  // namespace

std::optional<std::string> BuildOverviewText(std::string_view templateText, const TagSet& tags,
                                             std::span<const OverviewSlide> slides, size_t limit) {
    const size_t open = templateText.find(kSlidesTag);
    const size_t close = open == std::string_view::npos
                             ? std::string_view::npos
                             : templateText.find(kEndSlidesTag, open + kSlidesTag.size());
    if (close == std::string_view::npos) {
        if (templateText.size() > limit) return std::nullopt;
        return std::string(templateText);
    }
    if (open > limit) return std::nullopt;
    const std::string_view block =
        templateText.substr(open + kSlidesTag.size(), close - open - kSlidesTag.size());
    std::vector<std::string_view> ownTags = {kPageTag, kThumbPathTag};
    if (UsesShootingTags(block))
        ownTags.insert(ownTags.end(), kShootingTags.begin(), kShootingTags.end());
    const PageTemplate slideTemplate(block, tags, ownTags);
    std::string text(templateText.substr(0, open));
    for (const OverviewSlide& slide : slides) {
        const std::string page = QuotedAddress(slide.page);
        const std::string thumbnail = QuotedAddress(slide.thumbnail);
        std::vector<std::string_view> values = {page, thumbnail};
        values.insert(values.end(), slide.photoValues.begin(), slide.photoValues.end());
        const std::optional<std::string> built =
            BuildPageText(slideTemplate, *slide.entry, slide.links, values, limit - text.size());
        if (!built) return std::nullopt;
        text += *built;
    }
    const std::string_view rest = templateText.substr(close + kEndSlidesTag.size());
    if (text.size() + rest.size() > limit) return std::nullopt;
    return text.append(rest);
}

}  // namespace vistello
