#include "show/web_settings.h"

#include <charconv>

#include "text/key_value_lines.h"

namespace vistello {

namespace {

constexpr std::string_view kSideKey = "WEBSIDE";
constexpr std::string_view kQualityKey = "WEBQUALITY";
constexpr std::string_view kThumbnailKey = "THUMBSIDE";
constexpr std::string_view kDetailsKey = "WEBDETAILS";
constexpr std::string_view kOverviewKey = "OVERVIEW";
constexpr std::string_view kAvifKey = "WEBAVIF";
constexpr std::string_view kCoverKey = "COVER";
constexpr std::string_view kSiteTitleKey = "SITETITLE";
constexpr std::string_view kPublishKey = "PUBLISH";
constexpr std::string_view kPrivateKey = "PRIVATE";
constexpr std::string_view kPrivateTitleKey = "PRIVATE_TITLE";

int SideOrUnset(std::string_view text) {
    int side = 0;
    return ParseNumberIn(text, kMinImageSide, kMaxImageSide, side) ? side : 0;
}

}  // namespace

bool ParseNumberIn(std::string_view text, int low, int high, int& number) {
    int parsed = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error != std::errc() || stop != end || parsed < low || parsed > high)
        return false;
    number = parsed;
    return true;
}

bool ReadWebSetting(std::string_view key, std::string_view value, WebSettings& settings) {
    if (key == kSideKey) {
        settings.largestSide = SideOrUnset(value);
    } else if (key == kQualityKey) {
        if (!ParseNumberIn(value, kMinWebQuality, kMaxWebQuality, settings.quality))
            settings.quality = kDefaultWebQuality;
    } else if (key == kThumbnailKey) {
        settings.thumbnailSide = SideOrUnset(value);
    } else if (key == kDetailsKey) {
        settings.keepDetails = value == "yes";
    } else if (key == kAvifKey) {
        settings.avif = value == "yes";
    } else if (key == kOverviewKey) {
        settings.overviewTemplate = value;
    } else if (key == kCoverKey) {
        settings.cover = value;
    } else if (key == kSiteTitleKey) {
        settings.siteTitle = value;
    } else if (key == kPublishKey) {
        settings.publish = value;
    } else if (key == kPrivateKey) {
        settings.locked = value == "yes";
    } else if (key == kPrivateTitleKey) {
        settings.titleShown = value == "yes";
    } else {
        return false;
    }
    return true;
}

void AppendWebSettings(std::string& text, const WebSettings& settings) {
    if (settings.largestSide > 0)
        AppendKeyValueLine(text, kSideKey, std::to_string(settings.largestSide));
    if (settings.quality != kDefaultWebQuality)
        AppendKeyValueLine(text, kQualityKey, std::to_string(settings.quality));
    if (settings.thumbnailSide > 0)
        AppendKeyValueLine(text, kThumbnailKey, std::to_string(settings.thumbnailSide));
    if (settings.keepDetails) AppendKeyValueLine(text, kDetailsKey, "yes");
    if (settings.avif) AppendKeyValueLine(text, kAvifKey, "yes");
    if (!settings.overviewTemplate.empty())
        AppendKeyValueLine(text, kOverviewKey, settings.overviewTemplate);
    if (!settings.cover.empty()) AppendKeyValueLine(text, kCoverKey, settings.cover);
    if (!settings.siteTitle.empty()) AppendKeyValueLine(text, kSiteTitleKey, settings.siteTitle);
    if (!settings.publish.empty()) AppendKeyValueLine(text, kPublishKey, settings.publish);
    if (settings.locked) AppendKeyValueLine(text, kPrivateKey, "yes");
    if (settings.titleShown) AppendKeyValueLine(text, kPrivateTitleKey, "yes");
}

}  // namespace vistello
