#pragma once

#include <curl/curl.h>

#include <string>

namespace vistello {

// The certificates a TLS connection trusts: the system's, and the user's own file besides when
// one is named. The library takes one bundle only, so both are joined in memory; verification is
// never turned off.
class TlsTrust {
public:
    explicit TlsTrust(const std::string& caFile);
    // Why the user's own file cannot be read, or "".
    const std::string& Failure() const { return m_failure; }
    void Apply(CURL* handle) const;

private:
    std::string m_bundle;
    std::string m_failure;
    bool m_own = false;
};

}  // namespace vistello
