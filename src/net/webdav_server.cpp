#include "net/webdav_server.h"

#include "net/answer_mapping.h"
#include "net/folder_tree.h"
#include "net/remote_names.h"
#include "net/webdav_listing.h"

namespace vistello {

namespace {

using Kind = ServerAnswer::Kind;

// Deeper than any site; a server that asks for folders above without end is stopped there.
constexpr int kDeepestFolder = 64;

constexpr const char* kPropfind =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<propfind xmlns=\"DAV:\"><prop><resourcetype/><getcontentlength/></prop></propfind>\n";

ServerAnswer Unsendable() { return Answer(Kind::Failed, "a name no server takes"); }

// The folder above a path, with its end "/": "/a/b/" and "/a/b" are in "/a/".
std::string FolderAbove(const std::string& path) {
    std::string trimmed = path;
    if (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    return trimmed.substr(0, trimmed.rfind('/') + 1);
}

}  // namespace

WebDavServer::WebDavServer(const PublishTarget& target, const ServerAccess& access,
                           const std::atomic<bool>& stop)
    : m_target(target), m_access(access), m_session(stop), m_trust(access.caFile) {}

std::string WebDavServer::PathOf(const std::string& name, bool folder) const {
    std::string path = name.empty() ? m_target.folder : JoinPath(m_target.folder, name);
    if (folder && path.back() != '/') path += '/';
    return path;
}

std::string WebDavServer::UrlOf(const std::string& path) const {
    std::string url = ServerUrl(m_target.secure ? "https" : "http", m_target.host, m_target.port);
    return url + EncodePath(path);
}

CURL* WebDavServer::Begin(const std::string& path, const char* method) {
    CURL* handle = m_session.Begin(UrlOf(path));
    if (method != nullptr) curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, method);
    if (!m_target.user.empty()) {
        curl_easy_setopt(handle, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(handle, CURLOPT_USERNAME, m_target.user.c_str());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, m_access.password.c_str());
    }
    if (m_target.secure) m_trust.Apply(handle);
    return handle;
}

ServerAnswer WebDavServer::Open() {
    if (!m_trust.Failure().empty()) return Answer(Kind::Failed, m_trust.Failure());
    std::vector<ListedEntry> entries;
    const ServerAnswer answer = Entries(PathOf("", true), 0, entries);
    if (answer.kind != Kind::Missing) return answer;
    return MakeCollection(PathOf("", true), 0);
}

// Only the folders that are missing are made: from the deepest one up until one exists, then
// down again.
ServerAnswer WebDavServer::MakeCollection(const std::string& path, int depth) {
    if (path == "/" || depth > kDeepestFolder)
        return Answer(Kind::Failed, "the server makes no folder " + path);
    Begin(path, "MKCOL");
    Exchange exchange = m_session.Perform();
    if (exchange.code == CURLE_OK && exchange.response == 409) {
        if (ServerAnswer above = MakeCollection(FolderAbove(path), depth + 1); !above.Ok())
            return above;
        Begin(path, "MKCOL");
        exchange = m_session.Perform();
    }
    // 405: the collection is there already.
    if (exchange.code == CURLE_OK && exchange.response == 405) return {};
    return HttpAnswer(exchange);
}

ServerAnswer WebDavServer::Fetch(const std::string& name, std::string& bytes) {
    if (!IsSendableName(name)) return Unsendable();
    Begin(PathOf(name, false), nullptr);
    const Exchange exchange = m_session.Perform();
    const ServerAnswer answer = HttpAnswer(exchange);
    if (answer.Ok()) bytes = exchange.body;
    return answer;
}

ServerAnswer WebDavServer::Send(const std::string& name, const SendSource& source,
                                const SendProgress& progress) {
    if (!IsSendableName(name)) return Unsendable();
    SourceReader reader(m_files, source);
    if (!reader.Failure().empty()) return Answer(Kind::Failed, reader.Failure());
    const std::string parent = ParentOf(name);
    const std::string leaf = UploadTemporaryLeaf();
    const std::string temporary = PathOf(parent.empty() ? leaf : parent + "/" + leaf, false);
    bool parentMissing = false;
    ServerAnswer answer = Put(temporary, reader, progress, parentMissing);
    if (parentMissing) {
        answer = MakeCollection(FolderAbove(temporary), 0);
        if (answer.Ok() && reader.Rewind())
            answer = Put(temporary, reader, progress, parentMissing);
    }
    if (answer.Ok()) answer = Move(temporary, PathOf(name, false));
    if (!answer.Ok()) {
        Begin(temporary, "DELETE");
        m_session.Regardless();
        m_session.Perform();
    }
    return answer;
}

// A PUT into a collection that is not there is answered 409 Conflict.
ServerAnswer WebDavServer::Put(const std::string& path, SourceReader& reader,
                               const SendProgress& progress, bool& parentMissing) {
    Begin(path, nullptr);
    m_session.Upload(reader, &progress);
    m_session.List(CURLOPT_HTTPHEADER, {"Content-Type: application/octet-stream"});
    const Exchange exchange = m_session.Perform();
    parentMissing = exchange.code == CURLE_OK && exchange.response == 409;
    return HttpAnswer(exchange);
}

ServerAnswer WebDavServer::Move(const std::string& from, const std::string& to) {
    Begin(from, "MOVE");
    m_session.List(CURLOPT_HTTPHEADER, {"Destination: " + UrlOf(to), "Overwrite: T"});
    return HttpAnswer(m_session.Perform());
}

ServerAnswer WebDavServer::Delete(const std::string& path) {
    Begin(path, "DELETE");
    return HttpAnswer(m_session.Perform());
}

ServerAnswer WebDavServer::Remove(const std::string& name) {
    if (!IsSendableName(name)) return Unsendable();
    return Delete(PathOf(name, false));
}

// DELETE on a collection takes all it holds, so it is asked only of an empty one.
ServerAnswer WebDavServer::RemoveFolder(const std::string& name) {
    if (!IsSendableName(name)) return Unsendable();
    std::vector<ListedEntry> entries;
    if (ServerAnswer answer = Entries(PathOf(name, true), 1, entries); !answer.Ok()) return answer;
    if (!entries.empty()) return {};
    return Delete(PathOf(name, true));
}

ServerAnswer WebDavServer::Entries(const std::string& path, int depth,
                                   std::vector<ListedEntry>& entries) {
    Begin(path, "PROPFIND");
    m_session.Body(kPropfind);
    m_session.List(CURLOPT_HTTPHEADER, {"Depth: " + std::to_string(depth),
                                        "Content-Type: application/xml; charset=utf-8"});
    const Exchange exchange = m_session.Perform();
    if (ServerAnswer answer = HttpAnswer(exchange); !answer.Ok()) return answer;
    std::optional<std::vector<ListedEntry>> parsed = ParseMultistatus(exchange.body, path);
    if (!parsed) return Answer(Kind::Failed, "the server's listing of " + path + " is not WebDAV");
    entries = std::move(*parsed);
    return {};
}

ServerAnswer WebDavServer::List(std::vector<ServerFile>& files) {
    return ListTree(
        [this](const std::string& folder, std::vector<ListedEntry>& entries) {
            return Entries(PathOf(folder, true), 1, entries);
        },
        files);
}

}  // namespace vistello
