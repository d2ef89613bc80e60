#pragma once

#include <string>
#include <vector>

#include "files/file_ops.h"
#include "media/publish_link.h"
#include "net/curl_session.h"
#include "net/listed_entry.h"
#include "net/ssh_host_check.h"

namespace vistello {

// A site's folder on an SSH server, reached over SFTP with the user's keys as ssh uses them.
class SftpServer final : public PublishServer {
public:
    SftpServer(const PublishTarget& target, const ServerAccess& access,
               const std::atomic<bool>& stop);
    ServerAnswer Open() override;
    ServerAnswer Fetch(const std::string& name, std::string& bytes) override;
    ServerAnswer Send(const std::string& name, const SendSource& source,
                      const SendProgress& progress) override;
    ServerAnswer Remove(const std::string& name) override;
    ServerAnswer RemoveFolder(const std::string& name) override;
    ServerAnswer List(std::vector<ServerFile>& files) override;

private:
    CURL* Begin(const std::string& path);
    ServerAnswer Finish();
    ServerAnswer Login();
    ServerAnswer MakeSiteFolder();
    ServerAnswer Command(const std::vector<std::string>& commands);
    // Takes away the temporary a failed or stopped upload left, stopped or not.
    void Tidy(const std::string& temporary);
    std::string PathOf(const std::string& name) const;
    // The folder's path ending with "/", as the library lists a folder.
    std::string FolderPath(const std::string& name) const;

    PublishTarget m_target;
    ServerAccess m_access;
    RealFileOps m_files;
    CurlSession m_session;
    SshHostCheck m_hostCheck;
    // The user's keys that exist, in the order ssh tries them, and the one this login uses.
    std::vector<std::string> m_keys;
    size_t m_key = 0;
};

// A path as an SFTP command of the library takes it: in double quotes, with `"` and `\` escaped.
std::string QuotedSftpPath(const std::string& path);

}  // namespace vistello
