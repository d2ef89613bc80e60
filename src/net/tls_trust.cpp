#include "net/tls_trust.h"

#include "files/block_reader.h"
#include "files/file_ops.h"

namespace vistello {

namespace {

constexpr const char* kSystemBundle = "/etc/ssl/certs/ca-certificates.crt";

// The bundle the library trusts when told nothing else.
std::string SystemBundlePath() {
    CURL* handle = curl_easy_init();
    char* path = nullptr;
    std::string bundle = kSystemBundle;
    if (handle != nullptr && curl_easy_getinfo(handle, CURLINFO_CAINFO, &path) == CURLE_OK &&
        path != nullptr && *path != '\0')
        bundle = path;
    if (handle != nullptr) curl_easy_cleanup(handle);
    return bundle;
}

bool ReadWhole(FileOps& files, const std::string& path, std::string& text) {
    BlockReader reader(files, path);
    return reader.IsOpen() && reader.ReadAllInto(text);
}

}  // namespace

TlsTrust::TlsTrust(const std::string& caFile) : m_own(!caFile.empty()) {
    if (!m_own) return;
    RealFileOps files;
    if (!ReadWhole(files, SystemBundlePath(), m_bundle)) m_bundle.clear();
    if (!m_bundle.empty() && m_bundle.back() != '\n') m_bundle += '\n';
    if (!ReadWhole(files, caFile, m_bundle))
        m_failure = "the certificates in " + caFile + " cannot be read";
}

void TlsTrust::Apply(CURL* handle) const {
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!m_own) return;
    curl_blob blob{const_cast<char*>(m_bundle.data()), m_bundle.size(), CURL_BLOB_NOCOPY};
    curl_easy_setopt(handle, CURLOPT_CAINFO_BLOB, &blob);
}

}  // namespace vistello
