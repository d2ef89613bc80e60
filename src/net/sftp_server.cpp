#include "net/sftp_server.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "net/answer_mapping.h"
#include "net/folder_tree.h"
#include "net/remote_names.h"
#include "net/sftp_listing.h"

namespace vistello {

namespace {

std::vector<std::string> ExistingKeys(FileOps& files, const std::string& sshFolder) {
    std::vector<std::string> keys;
    for (const char* leaf : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
        const std::string path = sshFolder + "/" + leaf;
        struct stat info {};
        if (files.Stat(path, info) == 0 && S_ISREG(info.st_mode)) keys.push_back(path);
    }
    return keys;
}

// ssh logs in as the local user when the address names none.
std::string LocalUser() {
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_name != nullptr ? user->pw_name : "";
}

}  // namespace

std::string QuotedSftpPath(const std::string& path) {
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

SftpServer::SftpServer(const PublishTarget& target, const ServerAccess& access,
                       const std::atomic<bool>& stop)
    : m_target(target),
      m_access(access),
      m_session(stop),
      m_hostCheck(m_target, m_access),
      m_keys(ExistingKeys(m_files, access.sshFolder)) {}

std::string SftpServer::PathOf(const std::string& name) const {
    return name.empty() ? m_target.folder : JoinPath(m_target.folder, name);
}

std::string SftpServer::FolderPath(const std::string& name) const {
    std::string path = PathOf(name);
    if (path.back() != '/') path += '/';
    return path;
}

CURL* SftpServer::Begin(const std::string& path) {
    const std::string url = ServerUrl("sftp", m_target.host, m_target.port);
    CURL* handle = m_session.Begin(url + EncodePath(path));
    const std::string user = m_target.user.empty() ? LocalUser() : m_target.user;
    curl_easy_setopt(handle, CURLOPT_USERNAME, user.c_str());
    long methods = 0;
    if (!m_access.agentSocket.empty()) methods |= CURLSSH_AUTH_AGENT;
    if (m_key < m_keys.size()) {
        methods |= CURLSSH_AUTH_PUBLICKEY;
        curl_easy_setopt(handle, CURLOPT_SSH_PRIVATE_KEYFILE, m_keys[m_key].c_str());
    }
    if (!m_access.password.empty()) {
        methods |= CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD;
        curl_easy_setopt(handle, CURLOPT_PASSWORD, m_access.password.c_str());
        curl_easy_setopt(handle, CURLOPT_KEYPASSWD, m_access.password.c_str());
    }
    curl_easy_setopt(handle, CURLOPT_SSH_AUTH_TYPES, methods);
    m_hostCheck.Apply(handle);
    return handle;
}

ServerAnswer SftpServer::Finish() {
    const Exchange exchange = m_session.Perform();
    if (!m_hostCheck.Refusal().Ok()) return m_hostCheck.Refusal();
    return SftpAnswer(exchange);
}

// The library offers one key file to a login; when the server refuses it, the next is tried on
// a new connection, as ssh tries each of the user's keys.
ServerAnswer SftpServer::Login() {
    while (true) {
        CURL* handle = Begin(FolderPath(""));
        curl_easy_setopt(handle, CURLOPT_DIRLISTONLY, 1L);
        const ServerAnswer answer = Finish();
        if (answer.kind != ServerAnswer::Kind::LoginRefused || m_key + 1 >= m_keys.size())
            return answer;
        ++m_key;
    }
}

ServerAnswer SftpServer::Open() {
    const ServerAnswer answer = Login();
    return answer.kind == ServerAnswer::Kind::Missing ? MakeSiteFolder() : answer;
}

// Each folder on the way is made where it is missing; only the last one's failure counts, since
// the ones above it may exist and be the user's to keep.
ServerAnswer SftpServer::MakeSiteFolder() {
    std::vector<std::string> commands;
    std::string path;
    size_t start = 1;
    while (start <= m_target.folder.size()) {
        size_t end = m_target.folder.find('/', start);
        if (end == std::string::npos) end = m_target.folder.size();
        path = m_target.folder.substr(0, end);
        if (path != "/~") commands.push_back("*mkdir " + QuotedSftpPath(path));
        start = end + 1;
    }
    if (commands.empty()) return {};
    commands.back().erase(0, 1);
    return Command(commands);
}

ServerAnswer SftpServer::Command(const std::vector<std::string>& commands) {
    CURL* handle = Begin("/");
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    m_session.List(CURLOPT_QUOTE, commands);
    return Finish();
}

void SftpServer::Tidy(const std::string& temporary) {
    CURL* handle = Begin("/");
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    m_session.Regardless();
    m_session.List(CURLOPT_QUOTE, {"rm " + QuotedSftpPath(temporary)});
    m_session.Perform();
}

ServerAnswer SftpServer::Fetch(const std::string& name, std::string& bytes) {
    if (!IsSendableName(name)) return Answer(ServerAnswer::Kind::Failed, "a name no server takes");
    Begin(PathOf(name));
    const Exchange exchange = m_session.Perform();
    if (!m_hostCheck.Refusal().Ok()) return m_hostCheck.Refusal();
    const ServerAnswer answer = SftpAnswer(exchange);
    if (answer.Ok()) bytes = exchange.body;
    return answer;
}

// OpenSSH's server renames only onto a free name, so a file already in place is removed just
// before the new one takes its name.
ServerAnswer SftpServer::Send(const std::string& name, const SendSource& source,
                              const SendProgress& progress) {
    if (!IsSendableName(name)) return Answer(ServerAnswer::Kind::Failed, "a name no server takes");
    SourceReader reader(m_files, source);
    if (!reader.Failure().empty()) return Answer(ServerAnswer::Kind::Failed, reader.Failure());
    const std::string parent = ParentOf(name);
    const std::string leaf = UploadTemporaryLeaf();
    const std::string temporary = PathOf(parent.empty() ? leaf : parent + "/" + leaf);
    CURL* handle = Begin(temporary);
    curl_easy_setopt(handle, CURLOPT_FTP_CREATE_MISSING_DIRS, CURLFTP_CREATE_DIR);
    m_session.Upload(reader, &progress);
    m_session.List(CURLOPT_POSTQUOTE,
                   {"*rm " + QuotedSftpPath(PathOf(name)),
                    "rename " + QuotedSftpPath(temporary) + " " + QuotedSftpPath(PathOf(name))});
    const ServerAnswer answer = Finish();
    if (!answer.Ok()) Tidy(temporary);
    return answer;
}

ServerAnswer SftpServer::Remove(const std::string& name) {
    if (!IsSendableName(name)) return Answer(ServerAnswer::Kind::Failed, "a name no server takes");
    return Command({"rm " + QuotedSftpPath(PathOf(name))});
}

// The server gives no reason of its own for a folder that is not empty: a failure that is not
// plainly a missing folder or a refusal is taken as one.
ServerAnswer SftpServer::RemoveFolder(const std::string& name) {
    if (!IsSendableName(name)) return Answer(ServerAnswer::Kind::Failed, "a name no server takes");
    const ServerAnswer answer = Command({"rmdir " + QuotedSftpPath(PathOf(name))});
    return answer.kind == ServerAnswer::Kind::Failed ? ServerAnswer() : answer;
}

ServerAnswer SftpServer::List(std::vector<ServerFile>& files) {
    return ListTree(
        [this](const std::string& folder, std::vector<ListedEntry>& entries) {
            Begin(FolderPath(folder));
            const Exchange exchange = m_session.Perform();
            if (!m_hostCheck.Refusal().Ok()) return m_hostCheck.Refusal();
            const ServerAnswer answer = SftpAnswer(exchange);
            if (answer.Ok()) entries = ParseSftpListing(exchange.body);
            return answer;
        },
        files);
}

}  // namespace vistello
