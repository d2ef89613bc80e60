#include "platform/lossless_utf8.h"

#include <gtest/gtest.h>

namespace vistello {
namespace {

TEST(LosslessUtf8Test, EveryByteStringComesBackUnchanged) {
    const std::string samples[] = {
        "",
        "plain",
        "\xc3\xa9t\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\xb7",
        "a\xff\xfe"
        "b\xc3",
        "\xc0\xaf overlong",
        "\xed\xa0\x80 encoded surrogate",
        "\xf4\x90\x80\x80 beyond U+10FFFF",
        "\x80\x80\xbf",
        std::string("nul\0inside", 10),
    };
    for (const std::string& bytes : samples) {
        EXPECT_EQ(EncodeLossless(DecodeLossless(bytes)), bytes);
    }
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(EncodeLossless(DecodeLossless(all)), all);
}

TEST(LosslessUtf8Test, ValidTextDecodesToItsCharacters) {
    EXPECT_EQ(DecodeLossless("\xc3\xa9\xf0\x9f\x93\xb7"), u"\u00e9\U0001F4F7");
    EXPECT_EQ(DecodeLossless("a\xff"), std::u16string(u"a") + char16_t(0xDCFF));
}

}  // namespace
}  // namespace vistello
