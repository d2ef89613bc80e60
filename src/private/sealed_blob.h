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

// The longest blob a browser opens: the whole file is one string to its script engine, and
// Chromium's holds no more characters than this.
constexpr uint64_t kMostBlobBytes = (uint64_t{1} << 29) - 24;

// The length of the blob file SealBlob makes from these lengths of id, path and data.
uint64_t BlobLength(size_t idLength, size_t pathLength, uint64_t dataLength);

// The blob file for the file at `path` from the album's folder, holding `data`, under the album's
// key: `vistello.put("<id>","<base64 of nonce and sealed text>");` and a line end, the plain text
// being the path and the data with their lengths, padded. Nothing when the cipher gives no nonce
// or refuses.
std::optional<std::string> SealBlob(AlbumCipher& cipher, std::string_view key, std::string_view id,
                                    std::string_view path, std::string_view data);

}  // namespace vistello
