#pragma once

#include <string>
#include <vector>

#include "files/file_ops.h"
#include "media/publish_link.h"
#include "net/curl_session.h"
#include "net/listed_entry.h"
#include "net/tls_trust.h"

namespace vistello {

// A site's folder on an FTP server, plain or with explicit TLS. As in every ftp:// address, the
// folder is taken from the folder the login starts in.
class FtpServer final : public PublishServer {
public:
    FtpServer(const PublishTarget& target, const ServerAccess& access,
              const std::atomic<bool>& stop);
    ServerAnswer Open() override;
    ServerAnswer Fetch(const std::string& name, std::string& bytes) override;
    ServerAnswer Send(const std::string& name, const SendSource& source,
                      const SendProgress& progress) override;
    ServerAnswer Remove(const std::string& name) override;
    ServerAnswer RemoveFolder(const std::string& name) override;
    ServerAnswer List(std::vector<ServerFile>& files) override;

private:
    CURL* Begin(const std::string& name, bool folder);
    ServerAnswer Command(const std::vector<std::string>& commands);
    // Takes away the temporary a failed or stopped upload left, stopped or not.
    void Tidy(const std::string& temporary);
    ServerAnswer Entries(const std::string& folder, std::vector<ListedEntry>& entries);
    bool IsListed(const std::string& name);
    // The name as a command names it: from the folder the login starts in, which holds for every
    // command whatever folder the connection was left in.
    std::string CommandPath(const std::string& name) const;

    PublishTarget m_target;
    ServerAccess m_access;
    RealFileOps m_files;
    CurlSession m_session;
    TlsTrust m_trust;
    std::string m_entryPath;
};

}  // namespace vistello
