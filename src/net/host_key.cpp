#include "net/host_key.h"

#include "net/openssl_sum.h"

namespace vistello {

HostKeyVerdict DecideHostKey(KnownHostMatch match, std::string_view fingerprint,
                             std::string_view acceptedFingerprint, bool keepAccepted) {
    if (match == KnownHostMatch::Same) return HostKeyVerdict::Trusted;
    if (acceptedFingerprint.empty() || fingerprint != acceptedFingerprint)
        return match == KnownHostMatch::None ? HostKeyVerdict::RefusedUnknown
                                             : HostKeyVerdict::RefusedChanged;
    return match == KnownHostMatch::None && keepAccepted ? HostKeyVerdict::AcceptedAndKept
                                                         : HostKeyVerdict::Accepted;
}

std::string KeyFingerprint(std::string_view blob) {
    std::string text = Base64(Sha256Raw(blob));
    while (!text.empty() && text.back() == '=') text.pop_back();
    return "SHA256:" + text;
}

// The blob starts with its type as an SSH string: a four-byte big-endian length, then the name.
std::string KeyTypeOf(std::string_view blob) {
    if (blob.size() < 4) return {};
    size_t length = 0;
    for (int i = 0; i < 4; ++i) length = length * 256 + static_cast<unsigned char>(blob[i]);
    if (length == 0 || length > 64 || blob.size() < 4 + length) return {};
    const std::string_view type = blob.substr(4, length);
    for (const char c : type) {
        if (c <= ' ' || c > '~') return {};
    }
    return std::string(type);
}

std::string KnownHostsName(std::string_view host, int port) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    if (port == 0 || port == 22) return std::string(host);
    std::string name = "[";
    name.append(host).append("]:").append(std::to_string(port));
    return name;
}

std::string WithKnownHost(std::string_view knownHosts, std::string_view host, int port,
                          std::string_view blob) {
    const std::string type = KeyTypeOf(blob);
    if (type.empty()) return {};
    std::string text(knownHosts);
    if (!text.empty() && text.back() != '\n') text += '\n';
    text += KnownHostsName(host, port) + " " + type + " " + Base64(blob) + "\n";
    return text;
}

}  // namespace vistello
