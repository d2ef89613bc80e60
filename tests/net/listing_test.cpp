#include <gtest/gtest.h>

#include "net/mlsd_listing.h"
#include "net/s3_listing.h"
#include "net/sftp_listing.h"
#include "net/webdav_listing.h"

namespace vistello::testing {
namespace {

using Entries = std::vector<ListedEntry>;

// Names keep every space, leading ones too; folders are told from files; a link loses the
// target the library adds; the folder itself and its parent are left out.
TEST(ServerListingTest, SftpLongListingKeepsNamesWhole) {
    const Entries entries = ParseSftpListing(
        "drwxr-xr-x    3 user     group        4096 Jan  1 12:00 .\n"
        "drwxr-xr-x    3 user     group        4096 Jan  1 12:00 ..\n"
        "-rw-r--r--    1 user     group     1234567 Mar 15  2024 a b  #%?\xC3\xBC.jpg\n"
        "-rw-r--r--    1 user     group           5 Jan  1 12:00  leading space\n"
        "drwxr-xr-x    2 user     group        4096 Jan  1 12:00 album one\n"
        "lrwxrwxrwx    1 user     group          11 Jan  1 12:00 link -> target\n"
        "total 12\n"
        "-rw-r--r--    1 user     group          x5 Jan  1 12:00 bad size\n");
    EXPECT_EQ(entries, (Entries{{"a b  #%?\xC3\xBC.jpg", 1234567, false},
                                {" leading space", 5, false},
                                {"album one", 4096, true},
                                {"link", 11, false}}));
}

// Facts come in any order and case; "; " inside a name is part of it.
TEST(ServerListingTest, MlsdFactsAndNames) {
    const Entries entries = ParseMlsdListing(
        "type=cdir;perm=el; /site\r\n"
        "type=pdir;perm=el; /\r\n"
        "Type=File;Size=20480;Modify=20260101120000; a b; c.jpg\r\n"
        "size=7;type=file; plain.htm\n"
        "type=dir;sizd=4096; album one\r\n"
        "modify=20260101120000;type=file; no size\r\n"
        "type=OS.unix=slink:/etc; link\r\n"
        "no facts here\r\n");
    EXPECT_EQ(entries, (Entries{{"a b; c.jpg", 20480, false},
                                {"plain.htm", 7, false},
                                {"album one", 0, true},
                                {"no size", 0, false},
                                {"link", 0, false}}));
}

constexpr const char* kMultistatus = R"(<?xml version="1.0" encoding="utf-8"?>
<D:multistatus xmlns:D="DAV:">
 <D:response><D:href>/dav/my%20site/</D:href>
  <D:propstat><D:prop><D:resourcetype><D:collection/></D:resourcetype></D:prop></D:propstat>
 </D:response>
 <D:response><D:href>http://host:8080/dav/my%20site/a%20b%23%25%3F%C3%BC.jpg</D:href>
  <D:propstat><D:prop><D:resourcetype/><D:getcontentlength>20480</D:getcontentlength></D:prop>
  <D:status>HTTP/1.1 200 OK</D:status></D:propstat>
 </D:response>
 <response xmlns="DAV:"><href>/dav/my%20site/album/</href>
  <propstat><prop><resourcetype><collection/></resourcetype></prop></propstat>
 </response>
 <D:response><D:href>/dav/other/stray.jpg</D:href>
  <D:propstat><D:prop><D:getcontentlength>1</D:getcontentlength></D:prop></D:propstat>
 </D:response>
</D:multistatus>)";

// Hrefs come encoded, as paths or whole URLs, with any namespace prefix; the folder itself and
// whatever is not in it are left out.
TEST(ServerListingTest, WebDavMultistatusGivesTheFoldersChildren) {
    const auto entries = ParseMultistatus(kMultistatus, "/dav/my site/");
    ASSERT_TRUE(entries);
    EXPECT_EQ(*entries, (Entries{{"a b#%?\xC3\xBC.jpg", 20480, false}, {"album", 0, true}}));
    EXPECT_EQ(HrefPath("https://h/a%2Fb?x#y"), "/a/b");
    EXPECT_EQ(HrefPath("relative"), "");
    EXPECT_FALSE(ParseMultistatus("<multistatus", "/"));
    EXPECT_FALSE(ParseMultistatus("<!DOCTYPE x [<!ENTITY a \"aaaa\">]><x>&a;</x>", "/"));
}

TEST(ServerListingTest, S3PagesAndErrors) {
    const auto page = ParseS3Page(R"(<?xml version="1.0"?>
<ListBucketResult xmlns="http://s3.amazonaws.com/doc/2006-03-01/">
 <Name>b</Name><Prefix>site/</Prefix><KeyCount>2</KeyCount><IsTruncated>true</IsTruncated>
 <Contents><Key>site/a b &amp; c.jpg</Key><Size>20480</Size></Contents>
 <Contents><Key>site/x/y.htm</Key><Size>7</Size></Contents>
 <NextContinuationToken>tok/en==</NextContinuationToken>
</ListBucketResult>)");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->objects, (Entries{{"site/a b & c.jpg", 20480}, {"site/x/y.htm", 7}}));
    EXPECT_EQ(page->nextToken, "tok/en==");
    const auto last = ParseS3Page(
        "<ListBucketResult><IsTruncated>false</IsTruncated>"
        "<NextContinuationToken>stale</NextContinuationToken></ListBucketResult>");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->nextToken, "");
    EXPECT_FALSE(
        ParseS3Page("<ListBucketResult><IsTruncated>true</IsTruncated></ListBucketResult>"));
    const S3Error error = ParseS3Error(
        "<Error><Code>NoSuchKey</Code><Message>The key is not there.</Message></Error>");
    EXPECT_EQ(error.code, "NoSuchKey");
    EXPECT_EQ(error.message, "The key is not there.");
    EXPECT_EQ(ParseS3Error("<html>Bad Gateway").code, "");
}

}  // namespace
}  // namespace vistello::testing
