#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "media/album_cipher.h"
#include "text/base64.h"

namespace vistello::testing {

// A blob as a reader of the published album opens it, read here from the format alone.
struct OpenedBlob {
    std::string path;
    std::string data;
    // The length of the plain text, padding included.
    uint64_t padded = 0;
};

inline uint64_t BigEndian(std::string_view bytes) {
    uint64_t value = 0;
    for (const char c : bytes) value = value << 8 | static_cast<unsigned char>(c);
    return value;
}

// Nothing unless the text is the blob `id` under the key, its padding all zeros.
inline std::optional<OpenedBlob> OpenBlobText(AlbumCipher& cipher, const std::string& key,
                                              const std::string& id, std::string_view text) {
    const std::string head = "vistello.put(\"" + id + "\",\"";
    const std::string_view end = "\");\n";
    if (!text.starts_with(head) || !text.ends_with(end)) return std::nullopt;
    const std::optional<std::string> bytes =
        Base64Decode(text.substr(head.size(), text.size() - head.size() - end.size()));
    if (!bytes || bytes->size() < 12) return std::nullopt;
    const std::optional<std::string> plain = cipher.Open(
        key, bytes->substr(0, 12), std::string("vistello-blob\0", 14) + id, bytes->substr(12));
    if (!plain || plain->size() < 12) return std::nullopt;
    const std::string_view all = *plain;
    const uint64_t pathSize = BigEndian(all.substr(0, 4));
    if (4 + pathSize + 8 > all.size()) return std::nullopt;
    const uint64_t dataSize = BigEndian(all.substr(4 + pathSize, 8));
    const uint64_t used = 4 + pathSize + 8 + dataSize;
    if (used > all.size() || all.substr(used).find_first_not_of('\0') != std::string_view::npos)
        return std::nullopt;
    return OpenedBlob{std::string(all.substr(4, pathSize)),
                      std::string(all.substr(4 + pathSize + 8, dataSize)), all.size()};
}

}  // namespace vistello::testing
