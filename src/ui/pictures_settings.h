#pragma once

#include <optional>

#include "framework/pictures_window.h"
#include "prefs/preferences_file.h"

namespace vistello {

// The Pictures window as the preferences keep it between runs, once it has been opened.
struct PicturesSettings {
    bool used = false;
    bool open = false;
    std::optional<WindowPlace> place;
    int tileSize = kFirstTileSize;

    bool operator==(const PicturesSettings&) const = default;
};

// What the file says; a place or size that does not read, or is out of range, is left out.
PicturesSettings ReadPicturesSettings(const Preferences& preferences);
// Written into preferences once used; until then they stay as they are.
void KeepPicturesSettings(const PicturesSettings& settings, Preferences& preferences);

}  // namespace vistello
