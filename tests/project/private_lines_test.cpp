#include "project/private_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace vistello {
namespace {

// The lines come in before the first row and go from wherever they stood; every other byte
// stays: a hand-edited LF line, a last line without its end, what follows a Ctrl-Z.
TEST(PrivateLinesTest, OnlyThePrivacyLinesChange) {
    const std::string rows = "IMAGE=a.jpg\r\nTITLE=a\r\n\r\nIMAGE=b.jpg\r\nTITLE=b";
    const std::string head = "CREATOR=Vistello 1.0\r\nOUTPUT=site\nWEBSIDE=1600\r\n";
    const std::string tail =
        "\x1A"
        "PRIVATE=yes\r\n";
    const std::string file = head + rows + tail;
    EXPECT_EQ(PrivacyOf(file), Privacy{});

    const std::string locked = WithPrivacyLines(file, {true, false});
    EXPECT_EQ(locked, head + "PRIVATE=yes\r\n" + rows + tail);
    EXPECT_EQ(PrivacyOf(locked), (Privacy{true, false}));
    const std::string titled = WithPrivacyLines(locked, {true, true});
    EXPECT_EQ(titled, head + "PRIVATE=yes\r\nPRIVATE_TITLE=yes\r\n" + rows + tail);
    EXPECT_EQ(PrivacyOf(titled), (Privacy{true, true}));
    EXPECT_EQ(WithPrivacyLines(titled, {}), file);

    // Lines a hand put anywhere, with white space after them, go as well.
    EXPECT_EQ(WithPrivacyLines("PRIVATE=yes \r\nIMAGE=a.jpg\r\nPRIVATE_TITLE=yes\n", {}),
              "IMAGE=a.jpg\r\n");
    // A project with no rows takes them at its end, after a line end of its own.
    EXPECT_EQ(WithPrivacyLines("OUTPUT=site", {true, false}), "OUTPUT=site\r\nPRIVATE=yes\r\n");
    EXPECT_EQ(WithPrivacyLines("", {true, false}), "PRIVATE=yes\r\n");
}

}  // namespace
}  // namespace vistello
