#include "crypto/openssl_album_cipher.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <climits>
#include <memory>

namespace vistello {

namespace {

constexpr size_t kKeySize = 32;
constexpr size_t kNonceSize = 12;
constexpr int kTagSize = 16;
// EVP takes lengths as int: longer input goes in pieces.
constexpr size_t kPiece = size_t{1} << 30;

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

const unsigned char* Bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

unsigned char* Bytes(std::string& text) { return reinterpret_cast<unsigned char*>(text.data()); }

// A context ready for AES-256-GCM under the key and nonce, the additional data taken in.
CipherContext Start(bool seal, std::string_view key, std::string_view nonce, std::string_view aad) {
    CipherContext context(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    if (!context || key.size() != kKeySize || nonce.size() != kNonceSize || aad.size() > INT_MAX ||
        EVP_CipherInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, Bytes(key), Bytes(nonce),
                          seal ? 1 : 0) != 1)
        return {nullptr, &EVP_CIPHER_CTX_free};
    int length = 0;
    if (!aad.empty() && EVP_CipherUpdate(context.get(), nullptr, &length, Bytes(aad),
                                         static_cast<int>(aad.size())) != 1)
        return {nullptr, &EVP_CIPHER_CTX_free};
    return context;
}

// Runs the text through the context into `out`, which has room for it.
bool Run(EVP_CIPHER_CTX* context, std::string_view in, unsigned char* out) {
    for (size_t at = 0; at < in.size(); at += kPiece) {
        const size_t size = std::min(kPiece, in.size() - at);
        int length = 0;
        if (EVP_CipherUpdate(context, out + at, &length, Bytes(in) + at, static_cast<int>(size)) !=
                1 ||
            static_cast<size_t>(length) != size)
            return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> OpenSslAlbumCipher::Random(size_t size) {
    std::string bytes(size, '\0');
    if (size > INT_MAX || RAND_bytes(Bytes(bytes), static_cast<int>(size)) != 1)
        return std::nullopt;
    return bytes;
}

std::string OpenSslAlbumCipher::Hmac(std::string_view key, std::string_view text) {
    std::string sum(EVP_MAX_MD_SIZE, '\0');
    unsigned int size = 0;
    if (key.size() > INT_MAX || HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()),
                                     Bytes(text), text.size(), Bytes(sum), &size) == nullptr)
        return {};
    sum.resize(size);
    return sum;
}

std::optional<std::string> OpenSslAlbumCipher::DeriveKey(std::string_view password,
                                                         std::string_view salt, int iterations) {
    std::string key(kKeySize, '\0');
    if (iterations < 1 || password.size() > INT_MAX || salt.size() > INT_MAX ||
        PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), Bytes(salt),
                          static_cast<int>(salt.size()), iterations, EVP_sha256(),
                          static_cast<int>(key.size()), Bytes(key)) != 1)
        return std::nullopt;
    return key;
}

std::optional<std::string> OpenSslAlbumCipher::Seal(std::string_view key, std::string_view nonce,
                                                    std::string_view aad, std::string_view plain) {
    CipherContext context = Start(true, key, nonce, aad);
    std::string sealed(plain.size() + kTagSize, '\0');
    int length = 0;
    if (!context || !Run(context.get(), plain, Bytes(sealed)) ||
        EVP_CipherFinal_ex(context.get(), Bytes(sealed) + plain.size(), &length) != 1 ||
        length != 0 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, kTagSize,
                            Bytes(sealed) + plain.size()) != 1)
        return std::nullopt;
    return sealed;
}

std::optional<std::string> OpenSslAlbumCipher::Open(std::string_view key, std::string_view nonce,
                                                    std::string_view aad, std::string_view sealed) {
    if (sealed.size() < kTagSize) return std::nullopt;
    const std::string_view body = sealed.substr(0, sealed.size() - kTagSize);
    std::string tag(sealed.substr(body.size()));
    CipherContext context = Start(false, key, nonce, aad);
    std::string plain(body.size(), '\0');
    int length = 0;
    // The plain text is handed out only once the final step has proved the tag.
    if (!context || !Run(context.get(), body, Bytes(plain)) ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, kTagSize, tag.data()) != 1 ||
        EVP_CipherFinal_ex(context.get(), Bytes(plain) + body.size(), &length) != 1 || length != 0)
        return std::nullopt;
    return plain;
}

}  // namespace vistello
