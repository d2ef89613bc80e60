#include "net/ssh_host_check.h"

#include <cerrno>
#include <iostream>
#include <mutex>

#include "files/atomic_file.h"
#include "files/block_reader.h"
#include "files/error_text.h"
#include "files/file_ops.h"
#include "net/host_key.h"
#include "net/openssl_sum.h"

namespace vistello {

namespace {

// Servers of one target may meet a new key at once on several threads; one of them adds it.
std::mutex g_knownHostsLock;

KnownHostMatch MatchOf(curl_khmatch match) {
    switch (match) {
        case CURLKHMATCH_OK:
            return KnownHostMatch::Same;
        case CURLKHMATCH_MISMATCH:
            return KnownHostMatch::Other;
        default:
            return KnownHostMatch::None;
    }
}

// The library hands the key as raw bytes, or as base64 when its length is 0.
std::string BlobOf(const curl_khkey& key) {
    if (key.key == nullptr) return {};
    if (key.len > 0) return std::string(key.key, key.len);
    return FromBase64(key.key);
}

}  // namespace

SshHostCheck::SshHostCheck(const PublishTarget& target, const ServerAccess& access)
    : m_target(target), m_access(access) {}

std::string SshHostCheck::KnownHostsPath() const { return m_access.sshFolder + "/known_hosts"; }

void SshHostCheck::Apply(CURL* handle) {
    m_refusal = ServerAnswer();
    curl_easy_setopt(handle, CURLOPT_SSH_KNOWNHOSTS, KnownHostsPath().c_str());
    curl_easy_setopt(handle, CURLOPT_SSH_KEYFUNCTION, OnKey);
    curl_easy_setopt(handle, CURLOPT_SSH_KEYDATA, this);
}

int SshHostCheck::OnKey(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match,
                        void* me) {
    if (found == nullptr) return CURLKHSTAT_REJECT;
    try {
        return static_cast<SshHostCheck*>(me)->Decide(*found, match);
    } catch (...) {
        return CURLKHSTAT_REJECT;
    }
}

int SshHostCheck::Decide(const curl_khkey& found, curl_khmatch match) {
    const std::string blob = BlobOf(found);
    const std::string fingerprint = KeyFingerprint(blob);
    switch (DecideHostKey(MatchOf(match), fingerprint, m_access.acceptedFingerprint,
                          m_access.keepAcceptedKey)) {
        case HostKeyVerdict::Trusted:
        case HostKeyVerdict::Accepted:
            return CURLKHSTAT_FINE;
        case HostKeyVerdict::AcceptedAndKept:
            Keep(blob);
            return CURLKHSTAT_FINE;
        case HostKeyVerdict::RefusedUnknown:
            m_refusal.kind = ServerAnswer::Kind::HostUnknown;
            m_refusal.reason = "the host " + m_target.host + " is not in " + KnownHostsPath();
            break;
        case HostKeyVerdict::RefusedChanged:
            m_refusal.kind = ServerAnswer::Kind::HostChanged;
            m_refusal.reason = "the host " + m_target.host + " shows another key than " +
                               KnownHostsPath() + " has for it";
            break;
    }
    m_refusal.fingerprint = fingerprint;
    return CURLKHSTAT_REJECT;
}

// A key that cannot be kept still serves this connection; the next one asks again.
void SshHostCheck::Keep(const std::string& blob) {
    const std::lock_guard lock(g_knownHostsLock);
    RealFileOps files;
    std::string knownHosts;
    BlockReader reader(files, KnownHostsPath());
    if (reader.IsOpen() && !reader.ReadAllInto(knownHosts)) return;
    const std::string kept = WithKnownHost(knownHosts, m_target.host, m_target.port, blob);
    if (kept.empty()) return;
    if (!WriteFileAtomically(files, KnownHostsPath(), kept))
        std::cerr << "vistello: " << KnownHostsPath() << ": " << ErrorText(errno) << "\n";
}

}  // namespace vistello
