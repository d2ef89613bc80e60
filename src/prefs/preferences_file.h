#pragma once

#include <string>
#include <string_view>

#include "prefs/tag_set.h"

namespace vistello {

inline constexpr const char* kPreferencesFile = "vistello.ini";

// What the preferences file keeps between runs.
struct Preferences {
    // The tool-tips switch as the file says it, written back as read: exactly "yes" is on, any
    // other text off.
    std::string toolTips = "yes";
    TagSet tags;
    std::string projectFile;
    // The Pictures window, as the file says it; each written only once it says something.
    std::string pictures = {};
    std::string picturesPlace = {};
    std::string pictureSize = {};

    bool operator==(const Preferences&) const = default;
};

inline bool ToolTipsOn(std::string_view setting) { return setting == "yes"; }

// The file's text (line ends as LF): every key on its own line, then one empty line. The
// Pictures window's keys are left out while they are empty.
std::string FormatPreferencesText(const Preferences& preferences);

// Sets what the text names; a value the text does not give keeps what preferences held, and the
// last of several lines with one key wins.
void ParsePreferencesText(std::string_view text, Preferences& preferences);

}  // namespace vistello
