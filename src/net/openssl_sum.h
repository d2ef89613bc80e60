#pragma once

#include <string>
#include <string_view>

#include "media/publish_link.h"

struct evp_md_ctx_st;

namespace vistello {

// SHA-256 with the crypto library.
class OpenSslSum final : public Sha256Sum {
public:
    OpenSslSum();
    ~OpenSslSum() override;
    OpenSslSum(const OpenSslSum&) = delete;
    OpenSslSum& operator=(const OpenSslSum&) = delete;
    void Add(const char* data, std::size_t size) override;
    std::string Hex() override;

    // The 32 bytes of the sum; the sum cannot be fed after.
    std::string Raw();

private:
    evp_md_ctx_st* m_context;
};

// The 32 raw bytes of the SHA-256 of `bytes`.
std::string Sha256Raw(std::string_view bytes);

// Lower-case hex of the bytes.
std::string HexOf(std::string_view bytes);

// Standard base64 with "=" padding.
std::string Base64(std::string_view bytes);

// The bytes of standard base64, padded or not; "" for text that is not base64.
std::string FromBase64(std::string_view text);

}  // namespace vistello
