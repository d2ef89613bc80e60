#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <variant>

#include "crypto/openssl_album_cipher.h"
#include "private/album_key_file.h"
#include "private/sealed_blob.h"
#include "private/sealed_names.h"
#include "private/sealed_pages.h"
#include "support/sealed_reader.h"
#include "text/base64.h"
#include "text/hex_bytes.h"

namespace vistello::testing {
namespace {

const std::string kKey(32, 'K');

TEST(SealedFormatTest, Base64IsStandardAndReadsOneWayOnly) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("f"), "Zg==");
    EXPECT_EQ(Base64Encode("fo"), "Zm8=");
    EXPECT_EQ(Base64Encode("foo"), "Zm9v");
    EXPECT_EQ(Base64Encode("\xff\xfe\xfd"), "//79");
    EXPECT_EQ(Base64Decode("Zm9vYg=="), "foob");
    for (const char* bad : {"Zm9", "Zg=", "Zh==", "Zm9v\n", "Z===", "=Zm9", "Zm=v", "Zm9-"})
        EXPECT_EQ(Base64Decode(bad), std::nullopt) << bad;
}

// Names come from the key alone, padding leaves only a size's top bits, and a blob holds its path
// and bytes under its own name: moved to another name, it does not open.
TEST(SealedFormatTest, NamesPaddingAndBlobsFollowTheFormat) {
    OpenSslAlbumCipher cipher;
    EXPECT_EQ(SealedFolderName(cipher, kKey),
              HexOfBytes(cipher.Hmac(kKey, "vistello-folder").substr(0, 10)));
    const std::string id = BlobId(cipher, kKey, "trip/a.htm");
    EXPECT_EQ(
        id,
        HexOfBytes(cipher.Hmac(kKey, std::string("vistello-name\0trip/a.htm", 24)).substr(0, 16)));
    EXPECT_NE(BlobId(cipher, std::string(32, 'L'), "trip/a.htm"), id);
    for (const auto& [length, padded] : {std::pair<uint64_t, uint64_t>{1, 1024},
                                         {1024, 1024},
                                         {1025, 1088},
                                         {1'000'000, 1'015'808},
                                         {123'456'789, 123'731'968}})
        EXPECT_EQ(PaddedLength(length), padded) << length;

    const std::string data = std::string("\xFF\xD8\xFF", 3) + std::string(5000, 'p');
    const std::optional<std::string> blob = SealBlob(cipher, kKey, id, "trip/a.htm", data);
    ASSERT_TRUE(blob);
    EXPECT_TRUE(std::regex_match(
        *blob, std::regex("vistello\\.put\\(\"" + id + "\",\"[A-Za-z0-9+/]+={0,2}\"\\);\n")));
    const std::optional<OpenedBlob> opened = OpenBlobText(cipher, kKey, id, *blob);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->path, "trip/a.htm");
    EXPECT_EQ(opened->data, data);
    EXPECT_EQ(opened->padded, PaddedLength(4 + 10 + 8 + data.size()));
    EXPECT_EQ(OpenBlobText(cipher, kKey, BlobId(cipher, kKey, "b.htm"), *blob), std::nullopt);
    EXPECT_NE(SealBlob(cipher, kKey, id, "trip/a.htm", data), blob);
    for (const size_t size : {0, 1100, 70'000})
        EXPECT_EQ(SealBlob(cipher, kKey, id, "a.mp4", std::string(size, 'v'))->size(),
                  BlobLength(id.size(), 5, size));

    EXPECT_TRUE(IsPagePath("a/B.HTML"));
    EXPECT_FALSE(IsPagePath("a.htm/b.jpg"));
    const std::string stub = StubPage(id);
    EXPECT_THAT(stub, ::testing::HasSubstr("content=\"" + id + "\""));
    EXPECT_EQ(stub.find("@ID@"), std::string::npos);
}

// A key file is written exactly as its readers expect, opens to the key under its password only,
// and any other text reads as none with why, never as a key.
TEST(SealedFormatTest, KeyFilesOpenUnderTheirPasswordAndHostileOnesReadAsNone) {
    OpenSslAlbumCipher cipher;
    const std::optional<std::string> text = MakeKeyFile(cipher, kKey, "pässword");
    ASSERT_TRUE(text);
    EXPECT_TRUE(std::regex_match(
        *text, std::regex("vistello\\.key\\(\\{\"v\":1,\"kdf\":\"pbkdf2-sha256\",\"iterations\":"
                          "600000,\"salt\":\"[A-Za-z0-9+/]{22}==\",\"nonce\":\"[A-Za-z0-9+/]{16}\","
                          "\"key\":\"[A-Za-z0-9+/]{64}\"\\}\\);\n")));
    EXPECT_NE(MakeKeyFile(cipher, kKey, "pässword"), text);
    const auto read = ReadKeyFile(*text);
    ASSERT_TRUE(std::holds_alternative<WrappedKey>(read));
    EXPECT_EQ(UnwrapKey(cipher, std::get<WrappedKey>(read), "pässword"), kKey);
    EXPECT_EQ(UnwrapKey(cipher, std::get<WrappedKey>(read), "password"), std::nullopt);

    const auto replaced = [&text](std::string_view from, std::string_view to) {
        std::string changed = *text;
        return changed.replace(changed.find(from), from.size(), to);
    };
    for (const std::string& hostile :
         {std::string(), text->substr(0, text->size() - 1), *text + " ", replaced("600000", "1"),
          replaced("600000", "2147483647"), replaced("600000", "0600000"),
          replaced("600000", "99999999999999999999"), replaced("\"salt\":\"", "\"salt\":\"A"),
          replaced("\"key\":\"", "\"key\":\"AAAA"), replaced("\"v\":1", "\"v\":2"),
          replaced("\"nonce\":\"", "\"nonce\":\"!"), std::string(5000, 'v'),
          replaced("\"});", "\",\"x\":1});")}) {
        const auto why = ReadKeyFile(hostile);
        ASSERT_TRUE(std::holds_alternative<std::string>(why)) << hostile;
        EXPECT_FALSE(std::get<std::string>(why).empty());
    }
}

}  // namespace
}  // namespace vistello::testing
