#include "net/openssl_sum.h"

#include <openssl/evp.h>

#include <algorithm>

namespace vistello {

OpenSslSum::OpenSslSum() : m_context(EVP_MD_CTX_new()) {
    if (m_context != nullptr) EVP_DigestInit_ex(m_context, EVP_sha256(), nullptr);
}

OpenSslSum::~OpenSslSum() { EVP_MD_CTX_free(m_context); }

void OpenSslSum::Add(const char* data, std::size_t size) {
    if (m_context != nullptr) EVP_DigestUpdate(m_context, data, size);
}

std::string OpenSslSum::Raw() {
    unsigned char sum[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (m_context == nullptr || EVP_DigestFinal_ex(m_context, sum, &size) != 1) return {};
    return std::string(reinterpret_cast<const char*>(sum), size);
}

std::string OpenSslSum::Hex() { return HexOf(Raw()); }

std::string Sha256Raw(std::string_view bytes) {
    OpenSslSum sum;
    sum.Add(bytes.data(), bytes.size());
    return sum.Raw();
}

std::string HexOf(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kHex[byte >> 4];
        hex += kHex[byte & 0x0F];
    }
    return hex;
}

std::string Base64(std::string_view bytes) {
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                                        reinterpret_cast<const unsigned char*>(bytes.data()),
                                        static_cast<int>(bytes.size()));
    text.resize(written < 0 ? 0 : static_cast<size_t>(written));
    return text;
}

std::string FromBase64(std::string_view text) {
    std::string padded(text);
    while (padded.size() % 4 != 0) padded += '=';
    std::string bytes(padded.size() / 4 * 3, '\0');
    const int written = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                                        reinterpret_cast<const unsigned char*>(padded.data()),
                                        static_cast<int>(padded.size()));
    if (written < 0) return {};
    size_t padding = 0;
    while (padding < padded.size() && padded[padded.size() - 1 - padding] == '=') ++padding;
    bytes.resize(static_cast<size_t>(written) - std::min<size_t>(padding, 2));
    return bytes;
}

}  // namespace vistello
