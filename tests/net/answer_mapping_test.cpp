#include "net/answer_mapping.h"

#include <gtest/gtest.h>

#include "net/s3_server.h"

namespace vistello::testing {
namespace {

using Kind = ServerAnswer::Kind;

Exchange Failed(CURLcode code, std::string error = "library words", long response = 0,
                std::string lastReply = "") {
    Exchange exchange;
    exchange.code = code;
    exchange.error = std::move(error);
    exchange.response = response;
    exchange.lastReply = std::move(lastReply);
    return exchange;
}

Exchange Http(long status, std::string statusLine, std::string body = "") {
    Exchange exchange;
    exchange.response = status;
    exchange.statusLine = std::move(statusLine);
    exchange.body = std::move(body);
    return exchange;
}

// What breaks the connection is worth trying again; what the server refuses is not.
TEST(ServerAnswerTest, LibraryResultsSayWhatWentWrong) {
    EXPECT_EQ(ResultKind(CURLE_OK), Kind::Done);
    for (const CURLcode broken :
         {CURLE_COULDNT_CONNECT, CURLE_COULDNT_RESOLVE_HOST, CURLE_SEND_ERROR, CURLE_RECV_ERROR,
          CURLE_OPERATION_TIMEDOUT, CURLE_PARTIAL_FILE, CURLE_GOT_NOTHING, CURLE_SSH})
        EXPECT_EQ(ResultKind(broken), Kind::Broken) << broken;
    EXPECT_EQ(ResultKind(CURLE_LOGIN_DENIED), Kind::LoginRefused);
    EXPECT_EQ(ResultKind(CURLE_REMOTE_ACCESS_DENIED), Kind::Denied);
    EXPECT_EQ(ResultKind(CURLE_REMOTE_DISK_FULL), Kind::Full);
    EXPECT_EQ(ResultKind(CURLE_REMOTE_FILE_NOT_FOUND), Kind::Missing);
    EXPECT_EQ(ResultKind(CURLE_PEER_FAILED_VERIFICATION), Kind::Failed);
    // An abort is a stop only when the stop flag or the progress asked for it.
    Exchange stopped = Failed(CURLE_ABORTED_BY_CALLBACK);
    EXPECT_EQ(LibraryAnswer(stopped).kind, Kind::Failed);
    stopped.stopped = true;
    EXPECT_EQ(LibraryAnswer(stopped).kind, Kind::Stopped);
    const ServerAnswer broken = LibraryAnswer(Failed(CURLE_COULDNT_CONNECT, ""));
    EXPECT_EQ(broken.kind, Kind::Broken);
    EXPECT_FALSE(broken.reason.empty());
}

// The server's own reply is the reason; its code decides where the library only says that a
// command or an upload failed.
TEST(ServerAnswerTest, FtpRepliesDecide) {
    const ServerAnswer denied =
        FtpAnswer(Failed(CURLE_UPLOAD_FAILED, "Failed FTP upload: 553", 553, "553 Not allowed."));
    EXPECT_EQ(denied.kind, Kind::Denied);
    EXPECT_EQ(denied.reason, "553 Not allowed.");
    EXPECT_EQ(FtpAnswer(Failed(CURLE_UPLOAD_FAILED, "x", 552, "552 Quota exceeded.")).kind,
              Kind::Full);
    EXPECT_EQ(FtpAnswer(Failed(CURLE_QUOTE_ERROR, "x", 452, "452 No room.")).kind, Kind::Full);
    EXPECT_EQ(FtpAnswer(Failed(CURLE_QUOTE_ERROR, "x", 550, "550 No.")).kind, Kind::Denied);
    EXPECT_EQ(FtpAnswer(Failed(CURLE_QUOTE_ERROR, "x", 421, "421 Bye.")).kind, Kind::Broken);
    const ServerAnswer login =
        FtpAnswer(Failed(CURLE_LOGIN_DENIED, "Access denied: 530", 530, "530 Login incorrect."));
    EXPECT_EQ(login.kind, Kind::LoginRefused);
    EXPECT_EQ(login.reason, "530 Login incorrect.");
    // A connection that broke part-way keeps the library's words, not a reply from before.
    const ServerAnswer broken =
        FtpAnswer(Failed(CURLE_PARTIAL_FILE, "transfer closed", 150, "150 Ok to send data."));
    EXPECT_EQ(broken.kind, Kind::Broken);
    EXPECT_EQ(broken.reason, "transfer closed");
    // A server that refused the rest of the file for want of room is full, not gone.
    const ServerAnswer full =
        FtpAnswer(Failed(CURLE_PARTIAL_FILE, "got 452", 452, "452 No space left on device"));
    EXPECT_EQ(full.kind, Kind::Full);
    EXPECT_EQ(full.reason, "452 No space left on device");
    EXPECT_TRUE(FtpAnswer(Exchange()).Ok());
}

TEST(ServerAnswerTest, SftpCommandFailuresByTheirStatus) {
    EXPECT_EQ(
        SftpAnswer(Failed(CURLE_QUOTE_ERROR, "rm command failed: No such file or directory")).kind,
        Kind::Missing);
    EXPECT_EQ(
        SftpAnswer(Failed(CURLE_QUOTE_ERROR, "rename command failed: Permission denied")).kind,
        Kind::Denied);
    EXPECT_EQ(
        SftpAnswer(Failed(CURLE_QUOTE_ERROR, "rename command failed: No space on filesystem")).kind,
        Kind::Full);
    EXPECT_EQ(SftpAnswer(Failed(CURLE_QUOTE_ERROR, "rmdir command failed: Operation failed")).kind,
              Kind::Failed);
    EXPECT_EQ(
        SftpAnswer(Failed(CURLE_QUOTE_ERROR, "rename command failed: Unknown error in libssh2"))
            .kind,
        Kind::Broken);
}

TEST(ServerAnswerTest, HttpStatusesAndS3Codes) {
    EXPECT_TRUE(HttpAnswer(Http(207, "HTTP/1.1 207 Multi-Status")).Ok());
    const ServerAnswer refused = HttpAnswer(Http(401, "HTTP/1.1 401 Unauthorized"));
    EXPECT_EQ(refused.kind, Kind::LoginRefused);
    EXPECT_EQ(refused.reason, "401 Unauthorized");
    EXPECT_EQ(HttpAnswer(Http(403, "HTTP/1.1 403 Forbidden")).kind, Kind::Denied);
    EXPECT_EQ(HttpAnswer(Http(404, "HTTP/2 404")).kind, Kind::Missing);
    EXPECT_EQ(HttpAnswer(Http(507, "HTTP/1.1 507 Insufficient Storage")).kind, Kind::Full);
    EXPECT_EQ(HttpAnswer(Http(503, "HTTP/1.1 503 Service Unavailable")).kind, Kind::Broken);
    EXPECT_EQ(HttpAnswer(Http(409, "")).reason, "HTTP status 409");
    const auto s3 = [](long status, const char* code) {
        return S3Answer(
            Http(status, "HTTP/1.1 400 Bad Request",
                 std::string("<Error><Code>") + code + "</Code><Message>Words.</Message></Error>"));
    };
    EXPECT_EQ(s3(403, "SignatureDoesNotMatch").kind, Kind::LoginRefused);
    EXPECT_EQ(s3(403, "InvalidAccessKeyId").kind, Kind::LoginRefused);
    EXPECT_EQ(s3(403, "AccessDenied").kind, Kind::Denied);
    EXPECT_EQ(s3(404, "NoSuchKey").kind, Kind::Missing);
    EXPECT_EQ(s3(500, "InternalError").kind, Kind::Broken);
    EXPECT_EQ(s3(404, "NoSuchKey").reason, "Words. (NoSuchKey)");
}

}  // namespace
}  // namespace vistello::testing
