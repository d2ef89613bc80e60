#include <gtest/gtest.h>

#include "publish/site_publisher.h"

namespace vistello {
namespace {

// The user name goes to the server on a command line of its own: a line end decoded into it would
// have the server run what follows as a command of its own.
TEST(TargetAddressTest, AnAddressThatSmugglesALineEndIsRefused) {
    std::string failure;
    for (const char* address :
         {"ftp://me%0D%0ADELE%20index.htm@example.org/site", "sftp://me%0A@example.org/site",
          "ftp://me@example.org/site%0D%0ADELE%20x", "s3://KEY%7F@example.org/bucket"}) {
        EXPECT_FALSE(ParsePublishTarget(address, failure)) << address;
        EXPECT_FALSE(failure.empty());
    }
    const auto target = ParsePublishTarget("ftp://j%C3%B6rg%20m@example.org/my%20site", failure);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->user, "j\xC3\xB6rg m");
    EXPECT_EQ(target->folder, "/my site");
}

}  // namespace
}  // namespace vistello
