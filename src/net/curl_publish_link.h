#pragma once

#include "media/publish_link.h"
#include "net/secret_keyring.h"

namespace vistello {

// Publishing with the network library: SFTP, FTP, FTPS, WebDAV and S3 servers, SHA-256 from the
// crypto library, and the desktop's keyring.
class CurlPublishLink final : public PublishLink {
public:
    CurlPublishLink();
    ~CurlPublishLink() override;
    CurlPublishLink(const CurlPublishLink&) = delete;
    CurlPublishLink& operator=(const CurlPublishLink&) = delete;
    std::unique_ptr<PublishServer> Connect(const PublishTarget& target, const ServerAccess& access,
                                           const std::atomic<bool>& stop) override;
    std::unique_ptr<Sha256Sum> NewSum() override;
    Keyring& DesktopKeyring() override;

private:
    SecretKeyring m_keyring;
};

}  // namespace vistello
