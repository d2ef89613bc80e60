#include "ui/pictures_settings.h"

#include <array>
#include <string>
#include <string_view>

#include "framework/data_exchange.h"

namespace vistello {

namespace {

// "x,y,width,height"; a window of no size is no place.
std::optional<WindowPlace> ReadPlace(std::string_view text) {
    std::array<int, 4> numbers{};
    for (size_t i = 0; i < numbers.size(); ++i) {
        const size_t comma = text.find(',');
        const bool last = i + 1 == numbers.size();
        if (last != (comma == std::string_view::npos)) return std::nullopt;
        if (!ParseInt(std::string(text.substr(0, comma)), numbers[i])) return std::nullopt;
        text.remove_prefix(last ? text.size() : comma + 1);
    }
    const WindowPlace place{numbers[0], numbers[1], numbers[2], numbers[3]};
    if (place.width <= 0 || place.height <= 0) return std::nullopt;
    return place;
}

std::string PlaceText(const WindowPlace& place) {
    return std::to_string(place.x) + "," + std::to_string(place.y) + "," +
           std::to_string(place.width) + "," + std::to_string(place.height);
}

}  // namespace

PicturesSettings ReadPicturesSettings(const Preferences& preferences) {
    PicturesSettings settings;
    settings.used = !preferences.pictures.empty() || !preferences.picturesPlace.empty() ||
                    !preferences.pictureSize.empty();
    settings.open = preferences.pictures == "open";
    settings.place = ReadPlace(preferences.picturesPlace);
    int size = 0;
    if (ParseInt(preferences.pictureSize, size) && size >= kSmallestTile && size <= kLargestTile)
        settings.tileSize = size;
    return settings;
}

void KeepPicturesSettings(const PicturesSettings& settings, Preferences& preferences) {
    if (!settings.used) return;
    preferences.pictures = settings.open ? "open" : "closed";
    preferences.picturesPlace = settings.place ? PlaceText(*settings.place) : "";
    preferences.pictureSize = std::to_string(settings.tileSize);
}

}  // namespace vistello
