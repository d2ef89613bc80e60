#include "qt/qt_md5.h"

#include <gtest/gtest.h>

namespace vistello::testing {
namespace {

// The thumbnail cache's names: the other programs of the desktop find a thumbnail only by them.
TEST(QtMd5Test, GivesTheSumAsLowerCaseHex) {
    EXPECT_EQ(QtMd5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(QtMd5Hex("file:///home/jens/photos/1.png"), "af2c9d253c608375eb540f852402229d");
    // Bytes, not text: a name that is no UTF-8 is summed as it is.
    EXPECT_EQ(QtMd5Hex("file:///tmp/\xff.jpg"), "d9501cf0b4455037e0fb13f7cec957a6");
}

}  // namespace
}  // namespace vistello::testing
