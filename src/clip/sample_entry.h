#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistello {

// A sample description box's body with its one H.264 or AAC entry built again from what a player
// reads: the picture's size or the sound's channels, sample size and rate, its decoder's
// configuration and its pixel shape; no name of what compressed it, no vendor, nothing reserved
// and no other box. Nothing for any other entry, or one whose parts are not as they must be.
std::optional<std::string> PlainDescriptions(std::string_view descriptions, int& budget);

}  // namespace vistello
