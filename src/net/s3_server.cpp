#include "net/s3_server.h"

#include "net/answer_mapping.h"
#include "net/openssl_sum.h"
#include "net/remote_names.h"
#include "net/s3_listing.h"

namespace vistello {

namespace {

using Kind = ServerAnswer::Kind;

ServerAnswer Unsendable() { return Answer(Kind::Failed, "a name no server takes"); }

// The signature covers the payload's own SHA-256, which the library takes from this header: it
// does not read an upload to sum it.
std::string PayloadSum(SourceReader& reader) {
    OpenSslSum sum;
    char block[64 * 1024];
    long read = 0;
    while ((read = reader.Read(block, sizeof block)) > 0) sum.Add(block, static_cast<size_t>(read));
    if (read < 0 || !reader.Rewind()) return {};
    return sum.Hex();
}

const std::string& EmptySum() {
    static const std::string sum = HexOf(Sha256Raw(""));
    return sum;
}

Kind ErrorCodeKind(const std::string& code, long status) {
    if (code == "InvalidAccessKeyId" || code == "SignatureDoesNotMatch") return Kind::LoginRefused;
    if (code == "AccessDenied") return Kind::Denied;
    if (code == "NoSuchKey" || code == "NoSuchBucket") return Kind::Missing;
    return HttpStatusKind(status);
}

}  // namespace

ServerAnswer S3Answer(const Exchange& exchange) {
    ServerAnswer answer = HttpAnswer(exchange);
    if (answer.Ok() || exchange.code != CURLE_OK) return answer;
    const S3Error error = ParseS3Error(exchange.body);
    if (error.code.empty()) return answer;
    answer.kind = ErrorCodeKind(error.code, exchange.response);
    answer.reason = error.message.empty() ? error.code : error.message + " (" + error.code + ")";
    return answer;
}

std::string S3ListQuery(const std::string& prefix, const std::string& continuation, int most) {
    std::string query;
    if (!continuation.empty()) query += "continuation-token=" + EncodeStep(continuation) + "&";
    query += "list-type=2&";
    if (most > 0) query += "max-keys=" + std::to_string(most) + "&";
    return query + "prefix=" + EncodeStep(prefix);
}

S3Server::S3Server(const PublishTarget& target, const ServerAccess& access,
                   const std::atomic<bool>& stop)
    : m_target(target), m_access(access), m_session(stop), m_trust(access.caFile) {}

CURL* S3Server::Begin(const std::string& key, const std::string& query,
                      const std::string& payloadSum, const char* method) {
    std::string url = ServerUrl(m_target.secure ? "https" : "http", m_target.host, m_target.port);
    url.append("/").append(EncodeStep(m_target.bucket));
    if (!key.empty()) url.append("/").append(EncodePath(key));
    if (!query.empty()) url.append("?").append(query);
    CURL* handle = m_session.Begin(url);
    if (method != nullptr) curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, method);
    const std::string region = m_target.region.empty() ? "us-east-1" : m_target.region;
    const std::string provider = "aws:amz:" + region + ":s3";
    curl_easy_setopt(handle, CURLOPT_AWS_SIGV4, provider.c_str());
    curl_easy_setopt(handle, CURLOPT_USERNAME, m_access.accessKey.c_str());
    curl_easy_setopt(handle, CURLOPT_PASSWORD, m_access.password.c_str());
    m_session.List(CURLOPT_HTTPHEADER, {"x-amz-content-sha256: " + payloadSum});
    if (m_target.secure) m_trust.Apply(handle);
    return handle;
}

// A one-key listing tells a refused key or a missing bucket before anything is sent.
ServerAnswer S3Server::Open() {
    if (!m_trust.Failure().empty()) return Answer(Kind::Failed, m_trust.Failure());
    Begin("", S3ListQuery(m_target.prefix, "", 1), EmptySum(), nullptr);
    return S3Answer(m_session.Perform());
}

ServerAnswer S3Server::Fetch(const std::string& name, std::string& bytes) {
    if (!IsSendableName(name)) return Unsendable();
    Begin(m_target.prefix + name, "", EmptySum(), nullptr);
    const Exchange exchange = m_session.Perform();
    const ServerAnswer answer = S3Answer(exchange);
    if (answer.Ok()) bytes = exchange.body;
    return answer;
}

ServerAnswer S3Server::Send(const std::string& name, const SendSource& source,
                            const SendProgress& progress) {
    if (!IsSendableName(name)) return Unsendable();
    SourceReader reader(m_files, source);
    const std::string sum = reader.Failure().empty() ? PayloadSum(reader) : "";
    if (sum.empty()) return Answer(Kind::Failed, reader.Failure());
    Begin(m_target.prefix + name, "", sum, nullptr);
    m_session.Upload(reader, &progress);
    return S3Answer(m_session.Perform());
}

// S3 answers a DELETE of a key it does not have as done.
ServerAnswer S3Server::Remove(const std::string& name) {
    if (!IsSendableName(name)) return Unsendable();
    Begin(m_target.prefix + name, "", EmptySum(), "DELETE");
    return S3Answer(m_session.Perform());
}

ServerAnswer S3Server::RemoveFolder(const std::string&) { return {}; }

ServerAnswer S3Server::List(std::vector<ServerFile>& files) {
    files.clear();
    std::string token;
    do {
        const std::string asked = token;
        if (ServerAnswer answer = ListPage(S3ListQuery(m_target.prefix, asked, 0), files, token);
            !answer.Ok())
            return answer;
        if (!token.empty() && token == asked)
            return Answer(Kind::Failed, "the server's listing does not go on");
    } while (!token.empty());
    return {};
}

ServerAnswer S3Server::ListPage(const std::string& query, std::vector<ServerFile>& files,
                                std::string& nextToken) {
    Begin("", query, EmptySum(), nullptr);
    const Exchange exchange = m_session.Perform();
    if (ServerAnswer answer = S3Answer(exchange); !answer.Ok()) return answer;
    std::optional<S3Page> page = ParseS3Page(exchange.body);
    if (!page) return Answer(Kind::Failed, "the server's listing is not an S3 listing");
    for (ListedEntry& object : page->objects) {
        if (object.name.compare(0, m_target.prefix.size(), m_target.prefix) == 0)
            files.push_back({object.name.substr(m_target.prefix.size()), object.size});
    }
    nextToken = page->nextToken;
    return {};
}

}  // namespace vistello
