#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistello {

// The cipher library, as private albums see it. Keys, nonces and sums are raw bytes in strings.
// Every call may run on any thread at once with any other.
class AlbumCipher {
public:
    virtual ~AlbumCipher() = default;
    // `size` bytes from the system's random source; nothing when it cannot give them.
    virtual std::optional<std::string> Random(size_t size) = 0;
    // HMAC-SHA256 of `text` under `key`: 32 bytes.
    virtual std::string Hmac(std::string_view key, std::string_view text) = 0;
    // PBKDF2-HMAC-SHA256 of the password: 32 bytes; nothing when the library refuses.
    virtual std::optional<std::string> DeriveKey(std::string_view password, std::string_view salt,
                                                 int iterations) = 0;
    // AES-256-GCM: the ciphertext followed by its 16-byte tag; nothing when the library refuses.
    virtual std::optional<std::string> Seal(std::string_view key, std::string_view nonce,
                                            std::string_view aad, std::string_view plain) = 0;
    // The plain text, or nothing when the tag does not prove it under this key, nonce and aad.
    virtual std::optional<std::string> Open(std::string_view key, std::string_view nonce,
                                            std::string_view aad, std::string_view sealed) = 0;
};

}  // namespace vistello
