#pragma once

#include <string>
#include <string_view>

#include "files/file_ops.h"
#include "media/image_maker.h"

namespace vistello {

// A GIF is published as it is, since it may be animated, but it can carry text beside its
// frames that no browser shows: comments, and application blocks such as an XMP packet with the
// photo's title, keywords and location. This is the GIF with only its header, colour tables,
// frames, the text the format draws among them, and the blocks that say how they play (frame
// timing, looping, the colour profile), byte for byte, ending at its trailer; what follows the
// trailer goes too. Its pixel size is the
// size of the GIF's screen. A GIF whose blocks do not add up is refused with the reason.
MadeImage GifWithoutText(std::string_view gif);

// The same of the GIF at `path`, read through ops.
MadeImage GifFileWithoutText(FileOps& ops, const std::string& path);

}  // namespace vistello
