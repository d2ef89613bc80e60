#include "net/host_key.h"

#include <gtest/gtest.h>

#include "net/openssl_sum.h"

namespace vistello::testing {
namespace {

// An Ed25519 host key as known_hosts holds it, and its fingerprint as ssh-keygen -l prints it.
constexpr const char* kKey = "AAAAC3NzaC1lZDI1NTE5AAAAINfaymZ9uIvZ3bmBfVGHccD+nFd4UPN4LeE4cRoogCVf";
constexpr const char* kFingerprint = "SHA256:dKoPNza1t4n+BdccCT6m+oPnETaHE+hYUrqd91B69CE";

TEST(HostKeyTest, FingerprintAndTypeAreThoseSshShows) {
    const std::string blob = FromBase64(kKey);
    EXPECT_EQ(KeyFingerprint(blob), kFingerprint);
    EXPECT_EQ(KeyTypeOf(blob), "ssh-ed25519");
    EXPECT_EQ(Base64(blob), kKey);
    EXPECT_EQ(KeyTypeOf(""), "");
    EXPECT_EQ(KeyTypeOf(std::string("\0\0\0\x20short", 9)), "");
}

// The user's own lines stay as they were; the new one names the port as ssh does.
TEST(HostKeyTest, AcceptedKeyIsAppendedAsSshWritesIt) {
    const std::string blob = FromBase64(kKey);
    EXPECT_EQ(WithKnownHost("", "example.org", 0, blob),
              std::string("example.org ssh-ed25519 ") + kKey + "\n");
    EXPECT_EQ(WithKnownHost("|1|hashed ssh-rsa AAAA", "10.0.0.1", 2222, blob),
              std::string("|1|hashed ssh-rsa AAAA\n[10.0.0.1]:2222 ssh-ed25519 ") + kKey + "\n");
    EXPECT_EQ(KnownHostsName("[::1]", 22), "::1");
    EXPECT_EQ(KnownHostsName("[::1]", 2222), "[::1]:2222");
    EXPECT_EQ(WithKnownHost("kept\n", "h", 22, "not a key"), "");
}

// Only the very key the user accepted passes; only a host known_hosts does not name gains a
// line, never one whose key changed.
TEST(HostKeyTest, OnlyTheAcceptedKeyPassesAndOnlyANewHostIsKept) {
    using enum HostKeyVerdict;
    EXPECT_EQ(DecideHostKey(KnownHostMatch::Same, kFingerprint, "", true), Trusted);
    EXPECT_EQ(DecideHostKey(KnownHostMatch::None, kFingerprint, "", true), RefusedUnknown);
    EXPECT_EQ(DecideHostKey(KnownHostMatch::Other, kFingerprint, "", true), RefusedChanged);
    EXPECT_EQ(DecideHostKey(KnownHostMatch::None, kFingerprint, "SHA256:other", true),
              RefusedUnknown);
    EXPECT_EQ(DecideHostKey(KnownHostMatch::Other, kFingerprint, "SHA256:other", true),
              RefusedChanged);
    EXPECT_EQ(DecideHostKey(KnownHostMatch::None, kFingerprint, kFingerprint, true),
              AcceptedAndKept);
    EXPECT_EQ(DecideHostKey(KnownHostMatch::None, kFingerprint, kFingerprint, false), Accepted);
    EXPECT_EQ(DecideHostKey(KnownHostMatch::Other, kFingerprint, kFingerprint, true), Accepted);
}

TEST(Sha256SumTest, SumsAreSha256FedInAnyBlocks) {
    OpenSslSum whole;
    whole.Add("abc", 3);
    EXPECT_EQ(whole.Hex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    OpenSslSum parts;
    parts.Add("a", 1);
    parts.Add("", 0);
    parts.Add("bc", 2);
    EXPECT_EQ(parts.Hex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

}  // namespace
}  // namespace vistello::testing
