#include "net/curl_publish_link.h"

#include <curl/curl.h>

#include "net/ftp_server.h"
#include "net/openssl_sum.h"
#include "net/s3_server.h"
#include "net/sftp_server.h"
#include "net/webdav_server.h"

namespace vistello {

CurlPublishLink::CurlPublishLink() { curl_global_init(CURL_GLOBAL_DEFAULT); }

CurlPublishLink::~CurlPublishLink() { curl_global_cleanup(); }

std::unique_ptr<PublishServer> CurlPublishLink::Connect(const PublishTarget& target,
                                                        const ServerAccess& access,
                                                        const std::atomic<bool>& stop) {
    switch (target.protocol) {
        case PublishProtocol::Sftp:
            return std::make_unique<SftpServer>(target, access, stop);
        case PublishProtocol::Ftp:
        case PublishProtocol::Ftps:
            return std::make_unique<FtpServer>(target, access, stop);
        case PublishProtocol::WebDav:
            return std::make_unique<WebDavServer>(target, access, stop);
        case PublishProtocol::S3:
            return std::make_unique<S3Server>(target, access, stop);
    }
    return nullptr;
}

std::unique_ptr<Sha256Sum> CurlPublishLink::NewSum() { return std::make_unique<OpenSslSum>(); }

Keyring& CurlPublishLink::DesktopKeyring() { return m_keyring; }

}  // namespace vistello
