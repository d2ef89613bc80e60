#include "private/sealed_names.h"

#include "text/hex_bytes.h"

namespace vistello {

namespace {

constexpr size_t kSumSize = 32;

std::string HexHead(const std::string& sum, size_t bytes) {
    if (sum.size() != kSumSize) return {};
    return HexOfBytes(std::string_view(sum).substr(0, bytes));
}

}  // namespace

std::string SealedFolderName(AlbumCipher& cipher, std::string_view key) {
    return HexHead(cipher.Hmac(key, "vistello-folder"), 10);
}

std::string BlobId(AlbumCipher& cipher, std::string_view key, std::string_view path) {
    std::string text("vistello-name");
    text.push_back('\0');
    text.append(path);
    return HexHead(cipher.Hmac(key, text), 16);
}

}  // namespace vistello
