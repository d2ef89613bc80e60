#include "generator/overview_page.h"

#include "generator/kind_blocks.h"
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
    SlideKinds shown;
    for (const OverviewSlide& slide : slides) {
        const SlideKinds kind = KindOf(slide.entry->imagePath);
        shown = {shown.photo || kind.photo, shown.clip || kind.clip};
    }
    const size_t open = templateText.find(kSlidesTag);
    const size_t close = open == std::string_view::npos
                             ? std::string_view::npos
                             : templateText.find(kEndSlidesTag, open + kSlidesTag.size());
    if (close == std::string_view::npos) {
        std::string text = TextForKinds(templateText, shown);
        if (text.size() > limit) return std::nullopt;
        return text;
    }
    std::string text = TextForKinds(templateText.substr(0, open), shown);
    if (text.size() > limit) return std::nullopt;
    const std::string_view block =
        templateText.substr(open + kSlidesTag.size(), close - open - kSlidesTag.size());
    const std::string_view ownTags[] = {kPageTag, kThumbPathTag};
    const SlideTemplate photo(block, {.photo = true}, tags, ownTags);
    const SlideTemplate clip(block, {.clip = true}, tags, ownTags);
    static const ShootingData kNoShooting;
    size_t row = 0;
    for (const OverviewSlide& slide : slides) {
        const SlideTemplate& tile = KindOf(slide.entry->imagePath).clip ? clip : photo;
        const std::string page = QuotedAddress(slide.page);
        const std::string thumbnail = QuotedAddress(slide.thumbnail);
        const Picture own = PlainPicture(std::string(slide.thumbnail));
        const RowFacts facts{slide.entry, slide.shooting ? slide.shooting : &kNoShooting,
                             slide.picture ? slide.picture : &own, slide.links.next, row++};
        std::vector<std::string> rowValues;
        for (const std::string_view tag : tile.RowTags()) rowValues.push_back(RowValue(tag, facts));
        std::vector<std::string_view> values = {page, thumbnail};
        values.insert(values.end(), rowValues.begin(), rowValues.end());
        const std::optional<std::string> built =
            BuildPageText(tile.Page(), *slide.entry, slide.links, values, limit - text.size());
        if (!built) return std::nullopt;
        text += *built;
    }
    const std::string rest = TextForKinds(templateText.substr(close + kEndSlidesTag.size()), shown);
    if (text.size() + rest.size() > limit) return std::nullopt;
    return text.append(rest);
}

}  // namespace vistello
