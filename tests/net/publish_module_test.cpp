#include "net/publish_module.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>

namespace vistello::testing {
namespace {

// Without its module the program still runs: each server says why it cannot publish.
TEST(PublishModuleTest, MissingModuleAnswersWhy) {
    PublishModule link({"/nonexistent/vistello-publish.so"});
    const std::atomic<bool> stop{false};
    const auto server = link.Connect(PublishTarget(), ServerAccess(), stop);
    const ServerAnswer answer = server->Open();
    EXPECT_EQ(answer.kind, ServerAnswer::Kind::Failed);
    EXPECT_EQ(answer.reason.rfind("the network library could not be loaded: ", 0), 0u);
    EXPECT_NE(answer.reason.find("/nonexistent/vistello-publish.so"), std::string::npos);
    std::string failure;
    EXPECT_FALSE(link.DesktopKeyring().Keep("k", "label", "secret", failure));
    EXPECT_EQ(failure, answer.reason);
}

TEST(PublishModuleTest, ModuleSumsAndAnswersWithoutAKeyring) {
    PublishModule link({"/nonexistent/vistello-publish.so", VISTELLO_PUBLISH_MODULE});
    const auto sum = link.NewSum();
    sum->Add("abc", 3);
    EXPECT_EQ(sum->Hex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // A desktop whose keyring is gone answers at once.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.DesktopKeyring().Find("sftp://user@host/site"), std::nullopt);
    std::string failure;
    EXPECT_FALSE(link.DesktopKeyring().Keep("k", "label", "secret", failure));
    EXPECT_FALSE(failure.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(9));
}

}  // namespace
}  // namespace vistello::testing
