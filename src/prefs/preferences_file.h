#pragma once

#include <string>
#include <string_view>

#include "prefs/tag_set.h"

namespace vistello {

inline constexpr const char* kPreferencesFile = "vistello.ini";

// What the preferences file keeps between runs.
struct Preferences {
    // Kept as "yes" or "no"; any other text reads as off.
    bool toolTips = true;
    TagSet tags;
    std::string projectFile;

    bool operator==(const Preferences&) const = default;
};

// The file's text (line ends as LF): every key on its own line, then one empty line.
std::string FormatPreferencesText(const Preferences& preferences);

// Sets what the text names; a value the text does not give keeps what preferences held, and the
// last of several lines with one key wins.
void ParsePreferencesText(std::string_view text, Preferences& preferences);

}  // namespace vistello
