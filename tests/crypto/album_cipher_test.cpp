#include <gtest/gtest.h>

#include <string>

#include "crypto/cipher_module.h"
#include "crypto/openssl_album_cipher.h"
#include "text/hex_bytes.h"

namespace vistello::testing {
namespace {

std::string Bytes(std::string_view hex) { return BytesOfHex(hex).value(); }

// The AES-256 case with additional data among GCM's published test vectors (test case 16).
const std::string kGcmKey =
    Bytes("feffe9928665731c6d6a8f9467308308feffe9928665731c6d6a8f9467308308");
const std::string kGcmNonce = Bytes("cafebabefacedbaddecaf888");
const std::string kGcmAad = Bytes("feedfacedeadbeeffeedfacedeadbeefabaddad2");
const std::string kGcmPlain = Bytes(
    "d9313225f88406e5a55909c5aff5269a86a7a9531534f7da2e4c303d8a318a721c3c0c95956809532fcf0e2449a6"
    "b525b16aedf5aa0de657ba637b39");
const std::string kGcmSealed = Bytes(
    "522dc1f099567d07f47f37a32a84427d643a8cdcbfe5c0c97598a2bd2555d1aa8cb08e48590dbb3da7b08b105682"
    "8838c5f61e6393ba7a0abcc9f662"
    "76fc6ece0f4e1768cddf8853bb2d551b");

// Known answers: the GCM vector both ways, with every part of it bound by the tag; PBKDF2-HMAC-
// SHA256 as RFC 7914 gives it; HMAC-SHA256 as RFC 4231 (case 2) gives it.
void ExpectKnownAnswers(AlbumCipher& cipher) {
    EXPECT_EQ(cipher.Seal(kGcmKey, kGcmNonce, kGcmAad, kGcmPlain), kGcmSealed);
    EXPECT_EQ(cipher.Open(kGcmKey, kGcmNonce, kGcmAad, kGcmSealed), kGcmPlain);
    for (const size_t at : {size_t{0}, kGcmPlain.size(), kGcmSealed.size() - 1}) {
        std::string changed = kGcmSealed;
        changed[at] ^= 1;
        EXPECT_EQ(cipher.Open(kGcmKey, kGcmNonce, kGcmAad, changed), std::nullopt) << at;
    }
    EXPECT_EQ(cipher.Open(kGcmKey, kGcmNonce, "other", kGcmSealed), std::nullopt);
    EXPECT_EQ(cipher.Open(kGcmKey, Bytes("cafebabefacedbaddecaf889"), kGcmAad, kGcmSealed),
              std::nullopt);
    EXPECT_EQ(cipher.Open(kGcmKey, kGcmNonce, kGcmAad, kGcmSealed.substr(0, 15)), std::nullopt);
    EXPECT_EQ(cipher.DeriveKey("passwd", "salt", 1),
              Bytes("55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"));
    EXPECT_EQ(cipher.DeriveKey("Password", "NaCl", 80000),
              Bytes("4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"));
    EXPECT_EQ(cipher.Hmac("Jefe", "what do ya want for nothing?"),
              Bytes("5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843"));
}

TEST(AlbumCipherTest, KnownAnswersAndFreshRandomBytes) {
    OpenSslAlbumCipher cipher;
    ExpectKnownAnswers(cipher);
    const std::optional<std::string> first = cipher.Random(32);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size(), 32u);
    EXPECT_NE(cipher.Random(32), first);
    EXPECT_EQ(cipher.Seal("short key", kGcmNonce, "", "x"), std::nullopt);
}

// The program finds the cipher in its module, which it loads only when asked.
TEST(AlbumCipherTest, TheModuleGivesTheSameCipher) {
    std::string failure;
    AlbumCipher* cipher =
        LoadAlbumCipher({"/nowhere/vistello-cipher.so", VISTELLO_CIPHER_MODULE}, failure);
    ASSERT_NE(cipher, nullptr) << failure;
    ExpectKnownAnswers(*cipher);
}

}  // namespace
}  // namespace vistello::testing
