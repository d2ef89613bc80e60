#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "media/album_cipher.h"

namespace vistello {

// The file beside a private album's blobs that lets a reader with the password unwrap its key.
inline constexpr std::string_view kKeyFileName = "vistello-key.js";
// PBKDF2 rounds a new key file is written with; a file asking for fewer, or for so many that
// opening it would take minutes, is no key file of ours.
inline constexpr int kKeyIterations = 600'000;
inline constexpr int kMostKeyIterations = 10'000'000;

// The album's key wrapped under a key made from the password.
struct WrappedKey {
    int iterations = kKeyIterations;
    std::string salt;
    std::string nonce;
    // The key sealed with AES-256-GCM, its tag after it.
    std::string sealed;
};

// The key file that wraps `key` under `password`, with a fresh salt and nonce; nothing when the
// cipher gives no random bytes or refuses.
std::optional<std::string> MakeKeyFile(AlbumCipher& cipher, std::string_view key,
                                       std::string_view password);

// What a key file holds, when it is exactly one as MakeKeyFile writes it; else why not. Every
// file is hostile: nothing in it is trusted beyond the shape checked here.
std::variant<WrappedKey, std::string> ReadKeyFile(std::string_view text);

// The album's key when the password opens it; nothing otherwise.
std::optional<std::string> UnwrapKey(AlbumCipher& cipher, const WrappedKey& wrapped,
                                     std::string_view password);

}  // namespace vistello
