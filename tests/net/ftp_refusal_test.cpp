#include <gtest/gtest.h>

#include "net/answer_mapping.h"

namespace vistello {
namespace {

using Kind = ServerAnswer::Kind;

Exchange Ended(CURLcode code, long response, std::string lastReply) {
    Exchange exchange;
    exchange.code = code;
    exchange.response = response;
    exchange.error = "server did not report OK, got " + std::to_string(response);
    exchange.lastReply = std::move(lastReply);
    return exchange;
}

// An upload the server ends for want of room reaches the library as a file that arrived in part:
// the user hears the server's reason at once, not after tries that cannot help.
TEST(FtpRefusalTest, AnUploadCutShortByTheServerIsItsRefusalNotABreak) {
    const ServerAnswer full =
        FtpAnswer(Ended(CURLE_PARTIAL_FILE, 452, "452 No space left on device; transfer aborted."));
    EXPECT_EQ(full.kind, Kind::Full);
    EXPECT_EQ(full.reason, "452 No space left on device; transfer aborted.");
    EXPECT_EQ(FtpAnswer(Ended(CURLE_PARTIAL_FILE, 550, "550 Not enough privileges.")).kind,
              Kind::Denied);
    EXPECT_EQ(FtpAnswer(Ended(CURLE_PARTIAL_FILE, 226, "226 Transfer complete.")).kind,
              Kind::Broken);
}

}  // namespace
}  // namespace vistello
