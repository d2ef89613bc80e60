#include "site/album_keyring.h"

#include <gtest/gtest.h>

#include <string>

namespace vistello {
namespace {

// A secret reads back as written, with its key or before it has one; anything else the keyring
// holds under the name reads as no secret, so that the password is asked again.
TEST(AlbumKeyringTest, ReadsBackWhatItKeepsAndNothingElse) {
    std::string key;
    for (int at = 0; at < 32; ++at) key.push_back(static_cast<char>(at * 9));
    const std::string hex(64, 'a');
    const std::string kept = AlbumKeyringText({key, "pass word"});
    EXPECT_EQ(kept.substr(0, 10), "0009121b24");
    EXPECT_EQ(kept.size(), 64 + 1 + 9);
    EXPECT_EQ(ParseAlbumKeyringText(kept), (AlbumSecret{key, "pass word"}));
    EXPECT_EQ(AlbumKeyringText({"", "pw"}), "\npw");
    EXPECT_EQ(ParseAlbumKeyringText("\npw"), (AlbumSecret{"", "pw"}));
    for (const std::string& wrong :
         {std::string("pw"), std::string("\n"), hex + "\n", hex.substr(1) + "\npw", hex + "a\npw",
          std::string(64, 'A') + "\npw", std::string(63, 'a') + "g\npw"})
        EXPECT_EQ(ParseAlbumKeyringText(wrong), std::nullopt) << wrong;
}

}  // namespace
}  // namespace vistello
