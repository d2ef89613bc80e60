#include "generator/site_tags.h"

#include <array>
#include <charconv>
#include <vector>

#include "generator/kind_blocks.h"
#include "generator/page_names.h"
#include "generator/picture_tags.h"
#include "generator/row_tags.h"
#include "text/counts.h"

namespace vistello {

namespace {

constexpr std::string_view kOverviewName = "index.htm";

// A padlock, in the text's own colour.
constexpr std::string_view kLockIcon =
    "<svg class=\"lock\" role=\"img\" aria-label=\"Private\" viewBox=\"0 0 24 24\" "
    "width=\"48\" height=\"48\"><path fill=\"currentColor\" d=\"M12 2a5 5 0 0 0-5 5v3H6a2 2 0 "
    "0 0-2 2v8a2 2 0 0 0 2 2h12a2 2 0 0 0 2-2v-8a2 2 0 0 0-2-2h-1V7a5 5 0 0 0-5-5zm-3 8V7a3 3 0 0 "
    "1 6 0v3z\"/></svg>";

std::string LinkTo(std::string_view page, std::string_view attributes, std::string_view label) {
    std::string link = "<a href=";
    link.append(EncodeAddress(page)).append(attributes).append(">").append(label).append("</a>");
    return link;
}

struct Day {
    int year = 0;
    int month = 0;
    int day = 0;
};

bool Number(std::string_view text, int low, int high, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= low &&
           value <= high;
}

std::optional<Day> ParseDay(std::string_view text) {
    Day day;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
        !Number(text.substr(0, 4), 1, 9999, day.year) ||
        !Number(text.substr(5, 2), 1, 12, day.month) || !Number(text.substr(8, 2), 1, 31, day.day))
        return std::nullopt;
    return day;
}

constexpr std::array<std::string_view, 12> kMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

std::string MonthName(const Day& day) { return std::string(kMonths[day.month - 1]); }

}  // namespace

std::string UpLink(const SitePlace* place, bool hasOverview, bool fromOverview) {
    constexpr std::string_view kAttributes = " rel=\"up\"";
    if (!fromOverview && hasOverview) return LinkTo(kOverviewName, kAttributes, "Up");
    if (!place || place->above.empty()) return {};
    return LinkTo(place->above.back().page, kAttributes, "Up");
}

std::string TrailNav(const SitePlace& place, bool hasOverview, const TrailStep& current) {
    std::vector<TrailStep> steps = place.above;
    if (current.page.empty() || hasOverview)
        steps.push_back({std::string(kOverviewName), place.title});
    if (!current.page.empty()) steps.push_back(current);
    if (steps.size() < 2) return {};
    std::string nav = "<nav class=\"trail\" aria-label=\"Trail\"><ol>";
    for (size_t i = 0; i < steps.size(); ++i) {
        const bool last = i + 1 == steps.size();
        const bool up = i + 2 == steps.size();
        nav += "<li>" +
               LinkTo(steps[i].page,
                      last ? " aria-current=\"page\""
                      : up ? " rel=\"up\""
                           : "",
                      steps[i].title) +
               "</li>";
    }
    return nav + "</ol></nav>";
}

std::optional<std::string> BuildAlbumTiles(std::string_view block, const TagSet& tags,
                                           std::span<const AlbumTile> tiles, size_t limit) {
    const std::string_view ownTags[] = {kAlbumPageTag, kAlbumTitleTag, kAlbumCoverTag,
                                        kAlbumCountTag, kAlbumDatesTag};
    const SlideTemplate tile(block, {.photo = true}, tags, ownTags);
    static const ShootingData kNoShooting;
    std::string text;
    size_t row = 0;
    for (const AlbumTile& album : tiles) {
        const std::string page = QuotedAddress(album.page);
        // An album with nothing to show has no cover, rather than an image of nothing.
        const std::string cover =
            album.locked ? std::string(kLockIcon)
            : album.cover.thumbnail.path.empty()
                ? std::string()
                : ThumbnailElement(album.cover, album.entry->alt, row >= kEagerThumbnails);
        const RowFacts facts{album.entry, &kNoShooting, &album.cover, {},
                             row++,       nullptr,      false,        {}};
        std::vector<std::string> rowValues;
        for (const std::string_view tag : tile.RowTags()) rowValues.push_back(RowValue(tag, facts));
        std::vector<std::string_view> values = {page, album.entry->title, cover, album.count,
                                                album.dates};
        values.insert(values.end(), rowValues.begin(), rowValues.end());
        const std::optional<std::string> built =
            BuildPageText(tile.Page(), *album.entry, {}, values, limit - text.size());
        if (!built) return std::nullopt;
        text += *built;
    }
    return text;
}

bool IsDay(std::string_view text) { return ParseDay(text).has_value(); }

std::string AlbumCountText(int photos, int clips) {
    const auto count = [](int number, std::string_view noun) {
        return GroupThousands(number) + " " + std::string(noun) + (number == 1 ? "" : "s");
    };
    std::string text = photos > 0 ? count(photos, "photo") : std::string();
    if (clips > 0) text += (text.empty() ? "" : " and ") + count(clips, "clip");
    return text;
}

std::string AlbumDatesText(std::string_view firstDay, std::string_view lastDay) {
    const std::optional<Day> first = ParseDay(firstDay);
    const std::optional<Day> last = ParseDay(lastDay);
    if (!first || !last) return first ? AlbumDatesText(firstDay, firstDay) : std::string();
    const std::string year = std::to_string(last->year);
    if (first->year != last->year)
        return MonthName(*first) + " " + std::to_string(first->year) + "–" + MonthName(*last) +
               " " + year;
    if (first->month != last->month) return MonthName(*first) + "–" + MonthName(*last) + " " + year;
    const std::string days = first->day == last->day
                                 ? std::to_string(last->day)
                                 : std::to_string(first->day) + "–" + std::to_string(last->day);
    return days + " " + MonthName(*last) + " " + year;
}

}  // namespace vistello
