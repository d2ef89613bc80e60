#pragma once

#include <string>
#include <vector>

#include "files/file_ops.h"
#include "media/publish_link.h"
#include "net/curl_session.h"
#include "net/listed_entry.h"
#include "net/tls_trust.h"

namespace vistello {

// A site's folder on a WebDAV server, over HTTP or HTTPS, with Basic login.
class WebDavServer final : public PublishServer {
public:
    WebDavServer(const PublishTarget& target, const ServerAccess& access,
                 const std::atomic<bool>& stop);
    ServerAnswer Open() override;
    ServerAnswer Fetch(const std::string& name, std::string& bytes) override;
    ServerAnswer Send(const std::string& name, const SendSource& source,
                      const SendProgress& progress) override;
    ServerAnswer Remove(const std::string& name) override;
    ServerAnswer RemoveFolder(const std::string& name) override;
    ServerAnswer List(std::vector<ServerFile>& files) override;

private:
    // The site's folder with the name below it, decoded; with an end "/" for a folder.
    std::string PathOf(const std::string& name, bool folder) const;
    std::string UrlOf(const std::string& path) const;
    CURL* Begin(const std::string& path, const char* method);
    ServerAnswer Put(const std::string& path, SourceReader& reader, const SendProgress& progress,
                     bool& parentMissing);
    ServerAnswer Move(const std::string& from, const std::string& to);
    ServerAnswer Delete(const std::string& path);
    ServerAnswer MakeCollection(const std::string& path, int depth);
    ServerAnswer Entries(const std::string& path, int depth, std::vector<ListedEntry>& entries);

    PublishTarget m_target;
    ServerAccess m_access;
    RealFileOps m_files;
    CurlSession m_session;
    TlsTrust m_trust;
};

}  // namespace vistello
