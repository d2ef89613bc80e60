#include "app/publish_places.h"

#include <gtest/gtest.h>

namespace vistello::testing {
namespace {

// The records follow the state home, else the home; only absolute paths count, so a login never
// reads keys or certificates from whatever folder the program was started in.
TEST(PublishPlacesTest, FollowTheStateHomeAndTakeAbsolutePathsOnly) {
    EXPECT_EQ(PublishedFolder("/state", "/home/ann"), "/state/vistello/published");
    EXPECT_EQ(PublishedFolder("state", "/home/ann"), "/home/ann/.local/state/vistello/published");
    EXPECT_EQ(PublishedFolder(nullptr, "home"), "");
    const ServerAccess access = MachineAccess("/home/ann", "/run/agent", "certs.pem");
    EXPECT_EQ(access.sshFolder, "/home/ann/.ssh");
    EXPECT_EQ(access.agentSocket, "/run/agent");
    EXPECT_EQ(access.caFile, "");
    EXPECT_EQ(MachineAccess(nullptr, nullptr, "/etc/certs.pem").sshFolder, "");
    EXPECT_EQ(MachineAccess(nullptr, nullptr, "/etc/certs.pem").caFile, "/etc/certs.pem");
}

}  // namespace
}  // namespace vistello::testing
