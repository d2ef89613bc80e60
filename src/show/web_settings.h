#pragma once

#include <string>
#include <string_view>

namespace vistello {

inline constexpr int kDefaultWebQuality = 85;
inline constexpr int kMinWebQuality = 1;
inline constexpr int kMaxWebQuality = 100;
inline constexpr int kMinImageSide = 16;
inline constexpr int kMaxImageSide = 16384;

// How a show is made ready for the web. Left as they are, images are copied as they are and no
// thumbnail or overview page is made: the show of a project that sets none of this.
struct WebSettings {
    // The longer edge of each web copy in pixels; 0 copies the images as they are.
    int largestSide = 0;
    // JPEG quality of the web copies and thumbnails, kMinWebQuality to kMaxWebQuality.
    int quality = kDefaultWebQuality;
    // The longer edge of each thumbnail; 0 makes none.
    int thumbnailSide = 0;
    // Whether the copies keep the camera's details, the location among them.
    bool keepDetails = false;
    // The template of the overview page; empty makes none.
    std::string overviewTemplate;
    // Whether a picture element also offers AVIF copies, which take long to make.
    bool avif = false;
    // The image of the row whose picture stands for the show where an album shows it; empty for
    // its first photo. It belongs to the show, not to how it is made: an album whose settings are
    // otherwise at rest still takes its parent's.
    std::string cover;
    // The title of the site's top overview page, as HTML; empty for the usual one. An album's
    // overview takes its album's title instead. Initialised, so that the lists that give every
    // setting before it still give them all.
    std::string siteTitle = {};
    // The server address the site is published to; empty where it is published by hand. An
    // album goes with its site, to the top's address.
    std::string publish = {};
    // Whether the show is a private album: sealed under a key that its readers open with a
    // password, it and its albums. Its own, never taken from the show that holds it.
    bool locked = false;
    // Whether a private album's title shows on the overview that holds it.
    bool titleShown = false;

    // The settings without the show's own choices, to tell whether a show sets any.
    WebSettings WithoutCover() const {
        WebSettings settings = *this;
        settings.cover.clear();
        return settings;
    }

    bool MakesImages() const { return largestSide > 0 || thumbnailSide > 0; }
    bool operator==(const WebSettings&) const = default;
};

// Takes a project line that holds one of the settings; false for any other key. A side or a
// quality that is no number in its range reads as unset.
bool ReadWebSetting(std::string_view key, std::string_view value, WebSettings& settings);

// The lines of the settings that differ from unset, so a project that sets none stays as it was.
void AppendWebSettings(std::string& text, const WebSettings& settings);

// The number a field holds when it is a whole number from low to high, written in plain digits.
bool ParseNumberIn(std::string_view text, int low, int high, int& number);

}  // namespace vistello
