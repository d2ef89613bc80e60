#include "net/answer_mapping.h"

#include <cctype>
#include <string>

namespace vistello {

namespace {

using Kind = ServerAnswer::Kind;

bool IsBrokenConnection(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_PARTIAL_FILE:
        case CURLE_GOT_NOTHING:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSH:
        case CURLE_AGAIN:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM:
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_FTP_ACCEPT_FAILED:
        case CURLE_FTP_ACCEPT_TIMEOUT:
        case CURLE_FTP_CANT_GET_HOST:
        case CURLE_FTP_WEIRD_PASV_REPLY:
        case CURLE_FTP_WEIRD_227_FORMAT:
        case CURLE_FTP_PORT_FAILED:
            return true;
        default:
            return false;
    }
}

// "550 Permission denied." as an FTP server words a refusal.
bool IsFtpRefusalLine(std::string_view line) {
    return line.size() >= 4 && (line[0] == '4' || line[0] == '5') &&
           std::isdigit(static_cast<unsigned char>(line[1])) != 0 &&
           std::isdigit(static_cast<unsigned char>(line[2])) != 0;
}

bool Holds(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

}  // namespace

ServerAnswer Answer(ServerAnswer::Kind kind, std::string_view reason) {
    ServerAnswer answer;
    answer.kind = kind;
    answer.reason = std::string(reason);
    return answer;
}

ServerAnswer::Kind ResultKind(CURLcode code) {
    if (code == CURLE_OK) return Kind::Done;
    if (IsBrokenConnection(code)) return Kind::Broken;
    switch (code) {
        case CURLE_LOGIN_DENIED:
            return Kind::LoginRefused;
        case CURLE_REMOTE_ACCESS_DENIED:
            return Kind::Denied;
        case CURLE_REMOTE_DISK_FULL:
            return Kind::Full;
        case CURLE_REMOTE_FILE_NOT_FOUND:
            return Kind::Missing;
        default:
            return Kind::Failed;
    }
}

ServerAnswer LibraryAnswer(const Exchange& exchange) {
    if (exchange.code == CURLE_OK) return {};
    if (exchange.stopped && exchange.code == CURLE_ABORTED_BY_CALLBACK)
        return Answer(Kind::Stopped, "stopped");
    const std::string& reason =
        exchange.error.empty() ? std::string(curl_easy_strerror(exchange.code)) : exchange.error;
    return Answer(ResultKind(exchange.code), reason);
}

ServerAnswer::Kind FtpReplyKind(long code) {
    switch (code) {
        case 421:
        case 425:
        case 426:
            return Kind::Broken;
        case 530:
            return Kind::LoginRefused;
        case 550:
        case 553:
            return Kind::Denied;
        case 452:
        case 552:
            return Kind::Full;
        default:
            return Kind::Failed;
    }
}

ServerAnswer FtpAnswer(const Exchange& exchange) {
    ServerAnswer answer = LibraryAnswer(exchange);
    if (answer.kind == Kind::Done || answer.kind == Kind::Stopped) return answer;
    // A server that refuses the rest of an upload ("452 No space left on device") leaves the
    // library with a partial file, which is no broken connection.
    const Kind replied = FtpReplyKind(exchange.response);
    if (answer.kind == Kind::Broken && (replied == Kind::Failed || replied == Kind::Broken))
        return answer;
    if (IsFtpRefusalLine(exchange.lastReply)) answer.reason = exchange.lastReply;
    if (answer.kind == Kind::Failed || answer.kind == Kind::Broken) answer.kind = replied;
    return answer;
}

ServerAnswer SftpAnswer(const Exchange& exchange) {
    ServerAnswer answer = LibraryAnswer(exchange);
    if (exchange.code != CURLE_QUOTE_ERROR) return answer;
    if (Holds(exchange.error, "No such file"))
        answer.kind = Kind::Missing;
    else if (Holds(exchange.error, "Permission denied") || Holds(exchange.error, "Write protected"))
        answer.kind = Kind::Denied;
    else if (Holds(exchange.error, "No space") || Holds(exchange.error, "Quota"))
        answer.kind = Kind::Full;
    // A command cut off with its connection says no status of the server's.
    else if (Holds(exchange.error, "Unknown error in libssh2") || Holds(exchange.error, "ocket"))
        answer.kind = Kind::Broken;
    return answer;
}

ServerAnswer::Kind HttpStatusKind(long status) {
    if (status < 300) return Kind::Done;
    switch (status) {
        case 401:
            return Kind::LoginRefused;
        case 403:
            return Kind::Denied;
        case 404:
        case 410:
            return Kind::Missing;
        case 507:
            return Kind::Full;
        case 408:
        case 429:
            return Kind::Broken;
        default:
            return status >= 500 ? Kind::Broken : Kind::Failed;
    }
}

ServerAnswer HttpAnswer(const Exchange& exchange) {
    if (exchange.code != CURLE_OK) return LibraryAnswer(exchange);
    const Kind kind = HttpStatusKind(exchange.response);
    if (kind == Kind::Done) return {};
    // "HTTP/1.1 403 Forbidden" says "403 Forbidden".
    const std::string& line = exchange.statusLine;
    const size_t space = line.find(' ');
    std::string reason = space == std::string::npos ? line : line.substr(space + 1);
    if (reason.empty()) reason = "HTTP status " + std::to_string(exchange.response);
    return Answer(kind, reason);
}

}  // namespace vistello
