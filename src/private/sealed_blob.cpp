#include "private/sealed_blob.h"

#include <bit>

#include "text/base64.h"

namespace vistello {

namespace {

constexpr uint64_t kLeastPadded = 1024;
constexpr size_t kNonceSize = 12;

void AppendBigEndian(std::string& text, uint64_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        text.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::string BlobAad(std::string_view id) {
    std::string aad("vistello-blob");
    aad.push_back('\0');
    aad.append(id);
    return aad;
}

}  // namespace

uint64_t PaddedLength(uint64_t length) {
    if (length <= kLeastPadded) return kLeastPadded;
    // E = floor(log2 L), S = floor(log2 E) + 1: the low E - S bits are rounded up.
    const int exponent = std::bit_width(length) - 1;
    const int kept = std::bit_width(static_cast<uint64_t>(exponent));
    const uint64_t mask = (uint64_t{1} << (exponent - kept)) - 1;
    return (length + mask) & ~mask;
}

std::optional<std::string> SealBlob(AlbumCipher& cipher, std::string_view key, std::string_view id,
                                    std::string_view path, std::string_view data) {
    const std::optional<std::string> nonce = cipher.Random(kNonceSize);
    if (!nonce || nonce->size() != kNonceSize) return std::nullopt;
    std::string plain;
    const uint64_t length = 4 + path.size() + 8 + data.size();
    plain.reserve(PaddedLength(length));
    AppendBigEndian(plain, path.size(), 4);
    plain.append(path);
    AppendBigEndian(plain, data.size(), 8);
    plain.append(data);
    plain.resize(PaddedLength(length), '\0');
    std::optional<std::string> sealed = cipher.Seal(key, *nonce, BlobAad(id), plain);
    if (!sealed) return std::nullopt;
    plain = std::string();
    std::string text = "vistello.put(\"";
    text.reserve(text.size() + id.size() + 3 + (kNonceSize + sealed->size() + 2) / 3 * 4 + 4);
    text.append(id).append("\",\"");
    // The nonce is a whole number of base64 groups, so the two encode as one.
    AppendBase64(text, *nonce);
    AppendBase64(text, *sealed);
    text.append("\");\n");
    return text;
}

}  // namespace vistello
