#include "net/remote_names.h"

#include <gtest/gtest.h>

#include "net/s3_server.h"
#include "net/sftp_server.h"

namespace vistello::testing {
namespace {

// Every byte but the unreserved ones is encoded, in capitals, so the server gets the file's own
// name back and an S3 signature's canonical URI is the path as sent.
TEST(RemoteNamesTest, NamesReachTheServerAsTheirOwnBytes) {
    EXPECT_EQ(EncodePath("/site/a b/c #%?\xC3\xBC.jpg"), "/site/a%20b/c%20%23%25%3F%C3%BC.jpg");
    EXPECT_EQ(EncodePath("AZaz09-._~/+&=;,'\"\\"), "AZaz09-._~/%2B%26%3D%3B%2C%27%22%5C");
    EXPECT_EQ(EncodeStep("a/b c"), "a%2Fb%20c");
    EXPECT_EQ(JoinPath("/", "a/b"), "/a/b");
    EXPECT_EQ(JoinPath("/site", "a/b"), "/site/a/b");
    EXPECT_EQ(ParentOf("a/b/c.jpg"), "a/b");
    EXPECT_EQ(ParentOf("c.jpg"), "");
    EXPECT_EQ(LeafOf("a/b/c.jpg"), "c.jpg");
    EXPECT_EQ(ServerUrl("sftp", "[::1]", 2222), "sftp://[::1]:2222");
    EXPECT_EQ(ServerUrl("https", "example.org", 0), "https://example.org");
    EXPECT_EQ(UploadTemporaryLeaf().rfind(".vistello-up-", 0), 0u);
    EXPECT_NE(UploadTemporaryLeaf(), UploadTemporaryLeaf());
}

// A name that would end an FTP or SFTP command early, or climb out of the site's folder, is
// never given to a server.
TEST(RemoteNamesTest, OnlyNamesInsideTheSiteAreSent) {
    for (const char* good : {"a.jpg", "a b/c #%?.jpg", "deep/er/\xC3\xBC.htm", ".htaccess"})
        EXPECT_TRUE(IsSendableName(good)) << good;
    for (const char* bad :
         {"", "/a.jpg", "a/", "a//b", "../a", "a/../b", "a/./b", ".", "a\rb", "a\nDELE x"})
        EXPECT_FALSE(IsSendableName(bad)) << bad;
    EXPECT_FALSE(IsSendableName(std::string("a\0b", 3)));
}

// The library reads a quoted SFTP path up to the first bare quote, taking a backslash as an
// escape.
TEST(RemoteNamesTest, SftpCommandsQuoteTheWholePath) {
    EXPECT_EQ(QuotedSftpPath("/site/a b.jpg"), "\"/site/a b.jpg\"");
    EXPECT_EQ(QuotedSftpPath("/site/say \"hi\"\\.jpg"), "\"/site/say \\\"hi\\\"\\\\.jpg\"");
}

// The signature is made over the query as sent, so its parameters go in order by name and
// every value is encoded, "/" too.
TEST(RemoteNamesTest, S3ListingQueryIsInSignatureOrder) {
    EXPECT_EQ(S3ListQuery("my site/", "", 0), "list-type=2&prefix=my%20site%2F");
    EXPECT_EQ(S3ListQuery("", "a+b/c=", 1),
              "continuation-token=a%2Bb%2Fc%3D&list-type=2&max-keys=1&prefix=");
}

}  // namespace
}  // namespace vistello::testing
