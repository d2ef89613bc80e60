#pragma once

#include <functional>
#include <string>
#include <vector>

#include "files/file_ops.h"
#include "output/made_files.h"
#include "pictures/web_images.h"
#include "media/clip_maker.h"
#include "media/image_maker.h"
#include "show/web_settings.h"

namespace vistello {

// Makes the web version, poster and thumbnail of every clip of the plan that is not in the folder
// as made before, on `threads` threads. Each file is written as pages are: whole or not at all.
// onClip(done, total, percent) is told as clips are made, with how far the next one has come;
// once it answers false, the clips being made stop within a second, leaving nothing behind, and
// no other starts.
using ClipsDone = std::function<bool(int done, int total, int percent)>;
MadeResult MakeWebClips(FileOps& ops, ClipMaker& clips, ImageMaker& images,
                        const WebImagePlan& plan, const WebSettings& settings,
                        const std::string& folder, MadeFiles& made, int threads,
                        const ClipsDone& onClip);

// Every file the plan's clips give, for the record of made files to keep.
std::vector<std::string> ClipFiles(const WebImagePlan& plan);

}  // namespace vistello
