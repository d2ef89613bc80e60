#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vistello {

// Whether a table a player reads as it is holds its fields and nothing after them, which could
// hold anything at all, with every version, flag and index as it must be; `samples` is how many
// samples its track has, which sync samples are among. False for a box of a type not known here.
bool HoldsOnlyItsFields(std::string_view type, std::string_view body, uint64_t samples);

// A movie, track or media header, a handler or a media header of pictures or sound with its times
// of filming, its reserved bytes, its flags beyond those a player reads and any handler name set
// to nothing, and its rate, volume and layer as a clip plays at. False, and the body as it was,
// when it is not exactly as long as its kind.
bool ClearHeader(std::string_view type, std::string& body);

}  // namespace vistello
