#pragma once

#include "media/image_maker.h"

namespace vistello {

// The quality to give the library's encoder of `format` for a picture that looks as a JPEG of
// the user's `quality` does. WebP and AVIF keep as much detail at lower numbers of their own:
// given the JPEG's number, they would come out larger than the JPEG and no better to look at.
int EncoderQuality(ImageFormat format, int quality);

}  // namespace vistello
