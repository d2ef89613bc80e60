#pragma once

#include <cstdint>
#include <string_view>

namespace vistello {

// Whether a track's edits, the body of its `elst` box, play all of its media, as its media header
// `mdhd` gives it: at most a pause first, then the media from no later than half a second in to
// within half a second of its end. A clip trimmed by its edits keeps the footage cut
// away in its samples, which a copy of its streams would publish. `movieScale` is the movie
// header's units a second, which edit durations count in.
bool PlaysAllItsMedia(std::string_view elst, std::string_view mdhd, uint64_t movieScale);

}  // namespace vistello
