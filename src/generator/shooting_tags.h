#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_ops.h"
#include "media/photo_reader.h"
#include "output/made_files.h"
#include "slides/image_entry.h"

namespace vistello {

// When and how each photo was taken, filled in from the photo itself.
inline constexpr std::array<std::string_view, 4> kShootingTags = {"<<DATETAKEN>>", "<<CAMERA>>",
                                                                  "<<LENS>>", "<<EXPOSURE>>"};

// Whether a template holds any of them: only then are photos read for them.
bool UsesShootingTags(std::string_view templateText);

// The values in the order of kShootingTags. They come from files anyone can write, so unlike the
// user's own fields they go into the page as text, never as markup.
std::array<std::string, kShootingTags.size()> ShootingValues(const ShootingData& data);

// Told how many of how many photos are read; false stops the run.
using PhotosRead = std::function<bool(int done, int total)>;

// Per row, what its photo says, each photo read once: a photo as an earlier run found it (same
// size and modification time, as `made` remembers) is not read again, and one that cannot be read
// says nothing. `made` ends up knowing exactly the photos the rows name. Nothing when onPhoto
// asked to stop or the reading failed as a whole, and then `failure` says why.
std::optional<std::vector<ShootingData>> ReadShooting(FileOps& ops, PhotoReader& photos,
                                                      std::span<const ImageEntry* const> rows,
                                                      MadeFiles& made, int threads,
                                                      const PhotosRead& onPhoto,
                                                      std::string& failure);

}  // namespace vistello
