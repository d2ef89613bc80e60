#pragma once

#include <string>
#include <vector>

#include "files/file_ops.h"
#include "media/publish_link.h"
#include "net/curl_session.h"
#include "net/tls_trust.h"

namespace vistello {

// A site under a key prefix of an S3-compatible bucket, addressed by path (the bucket is the
// address's first step), signed with AWS signature version 4. A PUT is visible only whole, so a
// file is written straight to its name; there are no folders to make or remove.
class S3Server final : public PublishServer {
public:
    S3Server(const PublishTarget& target, const ServerAccess& access,
             const std::atomic<bool>& stop);
    ServerAnswer Open() override;
    ServerAnswer Fetch(const std::string& name, std::string& bytes) override;
    ServerAnswer Send(const std::string& name, const SendSource& source,
                      const SendProgress& progress) override;
    ServerAnswer Remove(const std::string& name) override;
    ServerAnswer RemoveFolder(const std::string& name) override;
    ServerAnswer List(std::vector<ServerFile>& files) override;

private:
    // `query` as the signature has it: its parameters in order by name, each value encoded.
    CURL* Begin(const std::string& key, const std::string& query, const std::string& payloadSum,
                const char* method);
    ServerAnswer ListPage(const std::string& query, std::vector<ServerFile>& files,
                          std::string& nextToken);

    PublishTarget m_target;
    ServerAccess m_access;
    RealFileOps m_files;
    CurlSession m_session;
    TlsTrust m_trust;
};

// The answer an S3 server gave: its error code decides where it names one, else the HTTP status.
ServerAnswer S3Answer(const Exchange& exchange);

// The sorted query of a ListObjectsV2 request for the keys under `prefix`.
std::string S3ListQuery(const std::string& prefix, const std::string& continuation, int most);

}  // namespace vistello
