#pragma once

#include "clip/ready_mp4.h"
#include "media/clip_maker.h"

namespace vistello {

enum class Written { kDone, kDeclined, kFailed, kStopped };

// Writes a ready clip's streams into `out` from its start as a new MP4 that holds nothing else:
// a file type, the index first with only the boxes a player needs and no times of day, then the
// bytes of the media data that are kept, with their changes, every chunk offset moved and the
// pictures' sizes changed to match. Declined, before anything is written, when a chunk lies
// outside the media data or its new offset would not fit its table.
Written WriteStreamsOnly(const ReadyMp4& clip, int in, int out, const ClipGoing& going);

}  // namespace vistello
