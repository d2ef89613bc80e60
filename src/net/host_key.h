#pragma once

#include <string>
#include <string_view>

namespace vistello {

// What known_hosts says of the key a host showed.
enum class KnownHostMatch { Same, Other, None };

// What is done with the key a host showed.
enum class HostKeyVerdict {
    // known_hosts has it.
    Trusted,
    // The user accepted it for this connection.
    Accepted,
    // The user accepted it, and known_hosts gains a line for it.
    AcceptedAndKept,
    // Refused: known_hosts names no key for the host, or another one.
    RefusedUnknown,
    RefusedChanged,
};

// A key known_hosts does not have is refused unless its fingerprint is the one the user accepted;
// only a host known_hosts does not name at all is added to it.
HostKeyVerdict DecideHostKey(KnownHostMatch match, std::string_view fingerprint,
                             std::string_view acceptedFingerprint, bool keepAccepted);

// The key's fingerprint as ssh prints it: "SHA256:" and the base64 of the SHA-256 of the key's
// blob, without padding.
std::string KeyFingerprint(std::string_view blob);

// The key's type as its blob names it ("ssh-ed25519"), or "" for a blob that names none.
std::string KeyTypeOf(std::string_view blob);

// The host as known_hosts names it: "host" on port 22, "[host]:port" on another; an IPv6 address
// loses the brackets of its URL form on port 22.
std::string KnownHostsName(std::string_view host, int port);

// known_hosts with one line more for the key, every line before it left as it was; "" for a blob
// that names no type.
std::string WithKnownHost(std::string_view knownHosts, std::string_view host, int port,
                          std::string_view blob);

}  // namespace vistello
