#pragma once

#include "media/album_cipher.h"

namespace vistello {

// The album cipher over OpenSSL's libcrypto: the system's random source, HMAC-SHA256,
// PBKDF2-HMAC-SHA256 and AES-256-GCM with its 16-byte tag. Holds no state, so every call may run
// on any thread at once.
class OpenSslAlbumCipher final : public AlbumCipher {
public:
    std::optional<std::string> Random(size_t size) override;
    std::string Hmac(std::string_view key, std::string_view text) override;
    std::optional<std::string> DeriveKey(std::string_view password, std::string_view salt,
                                         int iterations) override;
    std::optional<std::string> Seal(std::string_view key, std::string_view nonce,
                                    std::string_view aad, std::string_view plain) override;
    std::optional<std::string> Open(std::string_view key, std::string_view nonce,
                                    std::string_view aad, std::string_view sealed) override;
};

}  // namespace vistello
