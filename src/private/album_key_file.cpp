#include "private/album_key_file.h"

#include <charconv>

#include "text/base64.h"

namespace vistello {

namespace {

constexpr size_t kKeySize = 32;
constexpr size_t kSaltSize = 16;
constexpr size_t kNonceSize = 12;
constexpr size_t kSealedSize = kKeySize + 16;
constexpr std::string_view kAad = "vistello-key";
constexpr std::string_view kHead =
    "vistello.key({\"v\":1,\"kdf\":\"pbkdf2-sha256\",\"iterations\":";
constexpr std::string_view kEnd = "\"});\n";
// Far longer than any key file, so that a huge file is turned down before it is looked into.
constexpr size_t kMostBytes = 1024;

// Takes `expected` off the front of the text; false when the text does not start with it.
bool Take(std::string_view& text, std::string_view expected) {
    if (!text.starts_with(expected)) return false;
    text.remove_prefix(expected.size());
    return true;
}

// The base64 value up to the closing quote, taken off the front, when it decodes to `size` bytes.
std::optional<std::string> TakeBytes(std::string_view& text, size_t size) {
    const size_t quote = text.find('"');
    if (quote == std::string_view::npos) return std::nullopt;
    std::optional<std::string> bytes = Base64Decode(text.substr(0, quote));
    text.remove_prefix(quote);
    if (!bytes || bytes->size() != size) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::string> MakeKeyFile(AlbumCipher& cipher, std::string_view key,
                                       std::string_view password) {
    const std::optional<std::string> salt = cipher.Random(kSaltSize);
    const std::optional<std::string> nonce = cipher.Random(kNonceSize);
    if (key.size() != kKeySize || !salt || !nonce || salt->size() != kSaltSize ||
        nonce->size() != kNonceSize)
        return std::nullopt;
    const std::optional<std::string> wrapping = cipher.DeriveKey(password, *salt, kKeyIterations);
    if (!wrapping) return std::nullopt;
    const std::optional<std::string> sealed = cipher.Seal(*wrapping, *nonce, kAad, key);
    if (!sealed || sealed->size() != kSealedSize) return std::nullopt;
    return std::string(kHead) + std::to_string(kKeyIterations) + ",\"salt\":\"" +
           Base64Encode(*salt) + "\",\"nonce\":\"" + Base64Encode(*nonce) + "\",\"key\":\"" +
           Base64Encode(*sealed) + std::string(kEnd);
}

std::variant<WrappedKey, std::string> ReadKeyFile(std::string_view text) {
    if (text.size() > kMostBytes) return std::string("far longer than a key file");
    if (!Take(text, kHead)) return std::string("not a key file of a private album");
    WrappedKey wrapped;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), wrapped.iterations);
    if (error != std::errc() || text.front() == '0')
        return std::string("its number of rounds is no number");
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    if (wrapped.iterations < kKeyIterations || wrapped.iterations > kMostKeyIterations)
        return "it asks for " + std::to_string(wrapped.iterations) + " rounds, not " +
               std::to_string(kKeyIterations) + " to " + std::to_string(kMostKeyIterations);
    std::optional<std::string> salt, nonce, sealed;
    if (!Take(text, ",\"salt\":\"") || !(salt = TakeBytes(text, kSaltSize)) ||
        !Take(text, "\",\"nonce\":\"") || !(nonce = TakeBytes(text, kNonceSize)) ||
        !Take(text, "\",\"key\":\"") || !(sealed = TakeBytes(text, kSealedSize)) || text != kEnd)
        return std::string("its salt, nonce or wrapped key is damaged");
    wrapped.salt = std::move(*salt);
    wrapped.nonce = std::move(*nonce);
    wrapped.sealed = std::move(*sealed);
    return wrapped;
}

std::optional<std::string> UnwrapKey(AlbumCipher& cipher, const WrappedKey& wrapped,
                                     std::string_view password) {
    const std::optional<std::string> wrapping =
        cipher.DeriveKey(password, wrapped.salt, wrapped.iterations);
    if (!wrapping) return std::nullopt;
    std::optional<std::string> key = cipher.Open(*wrapping, wrapped.nonce, kAad, wrapped.sealed);
    if (!key || key->size() != kKeySize) return std::nullopt;
    return key;
}

}  // namespace vistello
