#include "net/ftp_server.h"

#include "net/answer_mapping.h"
#include "net/folder_tree.h"
#include "net/mlsd_listing.h"
#include "net/remote_names.h"

namespace vistello {

namespace {

using Kind = ServerAnswer::Kind;

ServerAnswer Unsendable() { return Answer(Kind::Failed, "a name no server takes"); }

}  // namespace

FtpServer::FtpServer(const PublishTarget& target, const ServerAccess& access,
                     const std::atomic<bool>& stop)
    : m_target(target), m_access(access), m_session(stop), m_trust(access.caFile) {}

CURL* FtpServer::Begin(const std::string& name, bool folder) {
    std::string path = name.empty() ? m_target.folder : JoinPath(m_target.folder, name);
    if (folder && path.back() != '/') path += '/';
    const std::string url = ServerUrl("ftp", m_target.host, m_target.port);
    CURL* handle = m_session.Begin(url + EncodePath(path));
    if (!m_target.user.empty()) curl_easy_setopt(handle, CURLOPT_USERNAME, m_target.user.c_str());
    if (!m_access.password.empty())
        curl_easy_setopt(handle, CURLOPT_PASSWORD, m_access.password.c_str());
    if (m_target.protocol == PublishProtocol::Ftps) {
        curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        m_trust.Apply(handle);
    }
    return handle;
}

std::string FtpServer::CommandPath(const std::string& name) const {
    const std::string relative =
        (name.empty() ? m_target.folder : JoinPath(m_target.folder, name)).substr(1);
    if (m_entryPath.empty()) return relative;
    return JoinPath(m_entryPath, relative);
}

ServerAnswer FtpServer::Open() {
    if (!m_trust.Failure().empty()) return Answer(Kind::Failed, m_trust.Failure());
    CURL* handle = Begin("", true);
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_FTP_CREATE_MISSING_DIRS, CURLFTP_CREATE_DIR_RETRY);
    const ServerAnswer answer = FtpAnswer(m_session.Perform());
    const char* entry = nullptr;
    if (curl_easy_getinfo(handle, CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry != nullptr)
        m_entryPath = entry;
    return answer;
}

ServerAnswer FtpServer::Command(const std::vector<std::string>& commands) {
    CURL* handle = Begin("", true);
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    m_session.List(CURLOPT_QUOTE, commands);
    return FtpAnswer(m_session.Perform());
}

void FtpServer::Tidy(const std::string& temporary) {
    CURL* handle = Begin("", true);
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    m_session.Regardless();
    m_session.List(CURLOPT_QUOTE, {"DELE " + CommandPath(temporary)});
    m_session.Perform();
}

ServerAnswer FtpServer::Fetch(const std::string& name, std::string& bytes) {
    if (!IsSendableName(name)) return Unsendable();
    Begin(name, false);
    const Exchange exchange = m_session.Perform();
    const ServerAnswer answer = FtpAnswer(exchange);
    if (answer.Ok()) bytes = exchange.body;
    return answer;
}

ServerAnswer FtpServer::Send(const std::string& name, const SendSource& source,
                             const SendProgress& progress) {
    if (!IsSendableName(name)) return Unsendable();
    SourceReader reader(m_files, source);
    if (!reader.Failure().empty()) return Answer(Kind::Failed, reader.Failure());
    const std::string parent = ParentOf(name);
    const std::string leaf = UploadTemporaryLeaf();
    const std::string temporary = parent.empty() ? leaf : parent + "/" + leaf;
    CURL* handle = Begin(temporary, false);
    curl_easy_setopt(handle, CURLOPT_FTP_CREATE_MISSING_DIRS, CURLFTP_CREATE_DIR_RETRY);
    m_session.Upload(reader, &progress);
    m_session.List(CURLOPT_POSTQUOTE,
                   {"RNFR " + CommandPath(temporary), "RNTO " + CommandPath(name)});
    const ServerAnswer answer = FtpAnswer(m_session.Perform());
    if (!answer.Ok()) Tidy(temporary);
    return answer;
}

// Servers answer 550 both for a file that is not there and for one the user may not remove.
ServerAnswer FtpServer::Remove(const std::string& name) {
    if (!IsSendableName(name)) return Unsendable();
    ServerAnswer answer = Command({"DELE " + CommandPath(name)});
    if (answer.kind == Kind::Denied && !IsListed(name)) answer.kind = Kind::Missing;
    return answer;
}

// A folder that is not empty, or not there, is refused in the same words: both are left.
ServerAnswer FtpServer::RemoveFolder(const std::string& name) {
    if (!IsSendableName(name)) return Unsendable();
    const ServerAnswer answer = Command({"RMD " + CommandPath(name)});
    return answer.kind == Kind::Denied || answer.kind == Kind::Failed ? ServerAnswer() : answer;
}

bool FtpServer::IsListed(const std::string& name) {
    std::vector<ListedEntry> entries;
    if (!Entries(ParentOf(name), entries).Ok()) return true;
    const std::string leaf = LeafOf(name);
    for (const ListedEntry& entry : entries) {
        if (entry.name == leaf) return true;
    }
    return false;
}

ServerAnswer FtpServer::Entries(const std::string& folder, std::vector<ListedEntry>& entries) {
    CURL* handle = Begin(folder, true);
    curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, "MLSD");
    const Exchange exchange = m_session.Perform();
    const ServerAnswer answer = FtpAnswer(exchange);
    if (answer.Ok()) entries = ParseMlsdListing(exchange.body);
    return answer;
}

ServerAnswer FtpServer::List(std::vector<ServerFile>& files) {
    return ListTree([this](const std::string& folder,
                           std::vector<ListedEntry>& entries) { return Entries(folder, entries); },
                    files);
}

}  // namespace vistello
