#include "private/sealed_blob.h"

#include <bit>

#include "text/base64.h"

namespace vistello {

namespace {

constexpr uint64_t kLeastPadded = 1024;
constexpr size_t kNonceSize = 12;
constexpr size_t kTagSize = 16;
constexpr std::string_view kBlobStart = "vistello.put(\"";
constexpr std::string_view kBlobMiddle = "\",\"";
constexpr std::string_view kBlobEnd = "\");\n";

uint64_t Base64Length(uint64_t length) { return (length + 2) / 3 * 4; }

// The plain text's length before it is padded: the path and the data with their lengths.
uint64_t PlainLength(size_t pathLength, uint64_t dataLength) {
    return 4 + pathLength + 8 + dataLength;
}

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

uint64_t BlobLength(size_t idLength, size_t pathLength, uint64_t dataLength) {
    return kBlobStart.size() + idLength + kBlobMiddle.size() + Base64Length(kNonceSize) +
           Base64Length(PaddedLength(PlainLength(pathLength, dataLength)) + kTagSize) +
           kBlobEnd.size();
}

std::optional<std::string> SealBlob(AlbumCipher& cipher, std::string_view key, std::string_view id,
                                    std::string_view path, std::string_view data) {
    const std::optional<std::string> nonce = cipher.Random(kNonceSize);
    if (!nonce || nonce->size() != kNonceSize) return std::nullopt;
    std::string plain;
    const uint64_t length = PlainLength(path.size(), data.size());
    plain.reserve(PaddedLength(length));
    AppendBigEndian(plain, path.size(), 4);
    plain.append(path);
    AppendBigEndian(plain, data.size(), 8);
    plain.append(data);
    plain.resize(PaddedLength(length), '\0');
    std::optional<std::string> sealed = cipher.Seal(key, *nonce, BlobAad(id), plain);
    if (!sealed) return std::nullopt;
    plain = std::string();
    std::string text(kBlobStart);
    text.reserve(BlobLength(id.size(), path.size(), data.size()));
    text.append(id).append(kBlobMiddle);
    // The nonce is a whole number of base64 groups, so the two encode as one.
    AppendBase64(text, *nonce);
    AppendBase64(text, *sealed);
    text.append(kBlobEnd);
    return text;
}

}  // namespace vistello
