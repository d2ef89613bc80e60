#include "generator/overview_page.h"

#include "generator/page_names.h"
#include "generator/row_tags.h"

namespace vistello {

namespace {

std::string QuotedAddress(std::string_view path) {
    std::string address = "\"";
    address += EncodeAddress(path);
    address += '"';
    return address;
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
    const std::vector<std::string_view> rowTags = RowTagsIn(block);
    ownTags.insert(ownTags.end(), rowTags.begin(), rowTags.end());
    const PageTemplate slideTemplate(block, tags, ownTags);
    static const ShootingData kNoShooting;
    size_t row = 0;
    std::string text(templateText.substr(0, open));
    for (const OverviewSlide& slide : slides) {
        const std::string page = QuotedAddress(slide.page);
        const std::string thumbnail = QuotedAddress(slide.thumbnail);
        const Picture own = PlainPicture(std::string(slide.thumbnail));
        const RowFacts facts{slide.entry, slide.shooting ? slide.shooting : &kNoShooting,
                             slide.picture ? slide.picture : &own, slide.links.next, row++};
        std::vector<std::string> rowValues;
        for (const std::string_view tag : rowTags) rowValues.push_back(RowValue(tag, facts));
        std::vector<std::string_view> values = {page, thumbnail};
        values.insert(values.end(), rowValues.begin(), rowValues.end());
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
