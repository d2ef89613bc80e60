#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "media/album_cipher.h"

namespace vistello {

// The size a blob's plain text is padded to from its own `length`: Padmé, which leaves a size
// only its top bits, and never under 1 KiB.
uint64_t PaddedLength(uint64_t length);

// The blob file for the file at `path` from the album's folder, holding `data`, under the album's
// key: `vistello.put("<id>","<base64 of nonce and sealed text>");` and a line end, the plain text
// being the path and the data with their lengths, padded. Nothing when the cipher gives no nonce
// or refuses.
std::optional<std::string> SealBlob(AlbumCipher& cipher, std::string_view key, std::string_view id,
                                    std::string_view path, std::string_view data);

}  // namespace vistello
