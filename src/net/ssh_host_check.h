#pragma once

#include <curl/curl.h>

#include <string>

#include "media/publish_link.h"

namespace vistello {

// Checks the key an SSH server shows against the user's known_hosts, as ssh does, for the
// library's key callback. The library itself never writes known_hosts: a key the user accepted
// for a host it does not name is added here, one line appended, the rest left as it was.
class SshHostCheck {
public:
    SshHostCheck(const PublishTarget& target, const ServerAccess& access);
    std::string KnownHostsPath() const;
    // Sets the callback on the handle; each request starts with no refusal.
    void Apply(CURL* handle);
    // HostUnknown or HostChanged with the key's fingerprint when the last request's key was
    // refused, else Done.
    const ServerAnswer& Refusal() const { return m_refusal; }

private:
    static int OnKey(CURL*, const curl_khkey* known, const curl_khkey* found, curl_khmatch match,
                     void* me);
    int Decide(const curl_khkey& found, curl_khmatch match);
    void Keep(const std::string& blob);

    const PublishTarget& m_target;
    const ServerAccess& m_access;
    ServerAnswer m_refusal;
};

}  // namespace vistello
