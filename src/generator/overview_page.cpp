#include "generator/overview_page.h"

#include <utility>
#include <vector>

#include "generator/kind_blocks.h"
#include "generator/page_names.h"
#include "generator/row_tags.h"
#include "generator/site_tags.h"

namespace vistello {

namespace {

// Where a repeated block stands in the template: from its opening tag to past its closing one.
struct Block {
    size_t open = std::string_view::npos;
    size_t body = 0;
    size_t close = 0;
    size_t end = 0;
};

Block FindBlock(std::string_view text, std::string_view openTag, std::string_view closeTag) {
    const size_t open = text.find(openTag);
    if (open == std::string_view::npos) return {};
    const size_t close = text.find(closeTag, open + openTag.size());
    if (close == std::string_view::npos) return {};
    return {open, open + openTag.size(), close, close + closeTag.size()};
}

// Each of the tags replaced by its value in one pass, so that no value is searched for a tag.
std::string Replaced(std::string_view text,
                     std::span<const std::pair<std::string_view, std::string_view>> tags) {
    std::string out;
    size_t at = 0;
    while (true) {
        size_t next = std::string_view::npos;
        const std::pair<std::string_view, std::string_view>* found = nullptr;
        for (const auto& tag : tags) {
            const size_t where = text.find(tag.first, at);
            if (where < next) {
                next = where;
                found = &tag;
            }
        }
        if (!found) return out.append(text.substr(at));
        out.append(text.substr(at, next - at)).append(found->second);
        at = next + found->first.size();
    }
}

constexpr std::string_view kUsualTitle = "Slide show";

// The template's own text outside the repeated blocks, for every kind the show holds, with the
// way up from the overview and the show's title.
std::string OuterText(std::string_view text, SlideKinds shown, const SitePlace* place,
                      std::string_view title) {
    std::string outer = TextForKinds(text, shown);
    if (outer.find(kUpTag) == std::string::npos && outer.find(kTrailTag) == std::string::npos &&
        outer.find(kShowTitleTag) == std::string::npos)
        return outer;
    const std::string up = UpLink(place, true, true);
    const std::string trail = place ? TrailNav(*place, true, {}) : std::string();
    const std::pair<std::string_view, std::string_view> tags[] = {
        {kUpTag, up}, {kTrailTag, trail}, {kShowTitleTag, title}};
    return Replaced(outer, tags);
}

// Only the top of a site has no overview above it.
std::string_view ShowTitle(const SitePlace* place, std::string_view siteTitle) {
    if (place && !place->above.empty()) return place->title;
    return siteTitle.empty() ? kUsualTitle : siteTitle;
}

std::optional<std::string> SlideTiles(std::string_view block, const TagSet& tags,
                                      std::span<const OverviewSlide> slides, size_t limit,
                                      const SitePlace* place) {
    const std::string_view ownTags[] = {kPageTag, kThumbPathTag};
    const SlideTemplate photo(block, {.photo = true}, tags, ownTags);
    const SlideTemplate clip(block, {.clip = true}, tags, ownTags);
    static const ShootingData kNoShooting;
    std::string text;
    size_t row = 0;
    for (const OverviewSlide& slide : slides) {
        const SlideTemplate& tile = KindOf(slide.entry->imagePath).clip ? clip : photo;
        const std::string page = QuotedAddress(slide.page);
        const std::string thumbnail = QuotedAddress(slide.thumbnail);
        const Picture own = PlainPicture(std::string(slide.thumbnail));
        const RowFacts facts{slide.entry,
                             slide.shooting ? slide.shooting : &kNoShooting,
                             slide.picture ? slide.picture : &own,
                             slide.links.next,
                             row++,
                             place,
                             true,
                             slide.page};
        std::vector<std::string> rowValues;
        for (const std::string_view tag : tile.RowTags()) rowValues.push_back(RowValue(tag, facts));
        std::vector<std::string_view> values = {page, thumbnail};
        values.insert(values.end(), rowValues.begin(), rowValues.end());
        const std::optional<std::string> built =
            BuildPageText(tile.Page(), *slide.entry, slide.links, values, limit - text.size());
        if (!built) return std::nullopt;
        text += *built;
    }
    return text;
}

}  // namespace

std::optional<std::string> BuildOverviewText(std::string_view templateText, const TagSet& tags,
                                             std::span<const OverviewSlide> slides, size_t limit,
                                             const SitePlace* place, std::string_view siteTitle) {
    const std::string_view title = ShowTitle(place, siteTitle);
    SlideKinds shown;
    for (const OverviewSlide& slide : slides) {
        const SlideKinds kind = KindOf(slide.entry->imagePath);
        shown = {shown.photo || kind.photo, shown.clip || kind.clip};
    }
    const Block slideBlock = FindBlock(templateText, kSlidesTag, kEndSlidesTag);
    Block albumBlock = FindBlock(templateText, kAlbumsTag, kEndAlbumsTag);
    // A block inside the other is that one's text, not a block of its own.
    if (albumBlock.open != std::string_view::npos && slideBlock.open != std::string_view::npos &&
        albumBlock.open < slideBlock.end && slideBlock.open < albumBlock.end)
        albumBlock = {};
    std::vector<std::pair<Block, bool>> blocks;
    if (slideBlock.open != std::string_view::npos) blocks.emplace_back(slideBlock, false);
    if (albumBlock.open != std::string_view::npos) blocks.emplace_back(albumBlock, true);
    if (blocks.size() == 2 && blocks[1].first.open < blocks[0].first.open)
        std::swap(blocks[0], blocks[1]);
    static const std::vector<AlbumTile> kNoAlbums;
    std::string text;
    size_t at = 0;
    for (const auto& [block, albums] : blocks) {
        text += OuterText(templateText.substr(at, block.open - at), shown, place, title);
        if (text.size() > limit) return std::nullopt;
        const std::string_view body = templateText.substr(block.body, block.close - block.body);
        const std::optional<std::string> tiles =
            albums ? BuildAlbumTiles(body, tags, place ? place->albums : kNoAlbums,
                                     limit - text.size())
                   : SlideTiles(body, tags, slides, limit - text.size(), place);
        if (!tiles) return std::nullopt;
        text += *tiles;
        at = block.end;
    }
    text += OuterText(templateText.substr(at), shown, place, title);
    if (text.size() > limit) return std::nullopt;
    return text;
}

}  // namespace vistello
