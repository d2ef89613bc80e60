#include "site/album_keyring.h"

#include <utility>

#include "output/owned_files.h"

namespace vistello {

namespace {

constexpr size_t kKeyBytes = 32;
constexpr std::string_view kDigits = "0123456789abcdef";

std::string Hex(std::string_view bytes) {
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex.push_back(kDigits[value >> 4]);
        hex.push_back(kDigits[value & 0xF]);
    }
    return hex;
}

// Only the exact length, in lower-case digits, is a key.
std::optional<std::string> KeyFromHex(std::string_view hex) {
    if (hex.size() != kKeyBytes * 2) return std::nullopt;
    std::string key;
    for (size_t at = 0; at < hex.size(); at += 2) {
        const size_t high = kDigits.find(hex[at]);
        const size_t low = kDigits.find(hex[at + 1]);
        if (high == std::string_view::npos || low == std::string_view::npos) return std::nullopt;
        key.push_back(static_cast<char>(high << 4 | low));
    }
    return key;
}

}  // namespace

std::string AlbumKeyringKey(const std::string& projectFile) {
    return "album:" + RecordKey(projectFile);
}

std::string AlbumKeyringText(const AlbumSecret& secret) {
    return Hex(secret.key) + "\n" + secret.password;
}

std::optional<AlbumSecret> ParseAlbumKeyringText(std::string_view text) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos || end + 1 == text.size()) return std::nullopt;
    AlbumSecret secret;
    secret.password = text.substr(end + 1);
    if (end == 0) return secret;
    std::optional<std::string> key = KeyFromHex(text.substr(0, end));
    if (!key) return std::nullopt;
    secret.key = std::move(*key);
    return secret;
}

std::optional<AlbumSecret> FindAlbumSecret(Keyring& keyring, const std::string& projectFile) {
    const std::optional<std::string> text = keyring.Find(AlbumKeyringKey(projectFile));
    return text ? ParseAlbumKeyringText(*text) : std::nullopt;
}

}  // namespace vistello
