#pragma once

#include <string>
#include <string_view>

#include "media/album_cipher.h"

namespace vistello {

// The names a private album's sealed folder is made of, derived from the album's key so that
// they say nothing without it. Empty when the cipher gives no sum.

// The folder the album is sealed into, beside the albums of the one that holds it: 20 hex digits.
std::string SealedFolderName(AlbumCipher& cipher, std::string_view key);

// The blob of the file at `path` from the album's own folder ("trip/slide1.html"): 32 hex digits.
std::string BlobId(AlbumCipher& cipher, std::string_view key, std::string_view path);

}  // namespace vistello
