#include "app/publish_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

// A server that refuses the login with the words it is given, and notes what it was given.
class RefusingServer final : public PublishServer {
public:
    explicit RefusingServer(std::string words) : m_words(std::move(words)) {}
    ServerAnswer Open() override { return {ServerAnswer::Kind::LoginRefused, m_words, {}}; }
    ServerAnswer Fetch(const std::string&, std::string&) override { return Refused(); }
    ServerAnswer Send(const std::string&, const SendSource&, const SendProgress&) override {
        return Refused();
    }
    ServerAnswer Remove(const std::string&) override { return Refused(); }
    ServerAnswer RemoveFolder(const std::string&) override { return Refused(); }
    ServerAnswer List(std::vector<ServerFile>&) override { return Refused(); }

private:
    ServerAnswer Refused() const { return {ServerAnswer::Kind::Failed, m_words, {}}; }
    std::string m_words;
};

class NoSum final : public Sha256Sum {
public:
    void Add(const char*, std::size_t) override {}
    std::string Hex() override { return std::string(64, '0'); }
};

class NoKeyring final : public Keyring {
public:
    std::optional<std::string> Find(const std::string&) override { return std::nullopt; }
    bool Keep(const std::string&, const std::string&, const std::string&, std::string&) override {
        return false;
    }
    void Forget(const std::string&) override {}
};

class NotingLink final : public PublishLink {
public:
    std::unique_ptr<PublishServer> Connect(const PublishTarget&, const ServerAccess& access,
                                           const std::atomic<bool>&) override {
        given = access;
        return std::make_unique<RefusingServer>(words);
    }
    std::unique_ptr<Sha256Sum> NewSum() override { return std::make_unique<NoSum>(); }
    Keyring& DesktopKeyring() override { return m_keyring; }

    std::string words = "530 Login incorrect.";
    ServerAccess given;

private:
    NoKeyring m_keyring;
};

class PublishCommandTest : public ::testing::Test {
protected:
    // A project whose generated site is one page, published to `address`.
    int Publish(const std::string& address, const PublishContext& context) {
        WriteBytes(m_dir / "show.dat",
                   "CREATOR=Vistello 1.0\r\nOUTPUT=show\r\nPUBLISH=" + address + "\r\n");
        std::filesystem::create_directory(m_dir / "show");
        WriteBytes(m_dir / "show/.vistello-images", "");
        WriteBytes(m_dir / "show/index.htm", "<p>hello</p>");
        PublishContext withPlaces = context;
        withPlaces.manifestFolder = m_dir / "published";
        return RunPublishCommand(m_files, m_link, m_dir / "show.dat", withPlaces, m_out, m_err);
    }

    ScratchDir m_dir;
    RealFileOps m_files;
    NotingLink m_link;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

// A project may name anyone's server: the S3 secret of the environment is handed to S3 alone, never
// as the password of an FTP, WebDAV or SFTP server.
TEST_F(PublishCommandTest, TheEnvironmentsS3SecretGoesToS3Only) {
    PublishContext context;
    context.accessKey = "AKIDEXAMPLE";
    context.secretKey = "s3-secret";
    for (const char* address : {"ftp://ann@example.org/site", "https://ann@example.org/dav",
                                "sftp://ann@example.org/site"}) {
        EXPECT_EQ(Publish(address, context), 1);
        EXPECT_EQ(m_link.given.password, "") << address;
        EXPECT_EQ(m_link.given.accessKey, "") << address;
    }
    EXPECT_EQ(Publish("s3://example.org/bucket/site", context), 1);
    EXPECT_EQ(m_link.given.password, "s3-secret");
    EXPECT_EQ(m_link.given.accessKey, "AKIDEXAMPLE");
}

// The server's words reach a terminal: its control characters are shown, never obeyed.
TEST_F(PublishCommandTest, AServersReasonCannotWorkTheTerminal) {
    m_link.words = "530 \x1b]0;owned\x07no";
    EXPECT_EQ(Publish("ftp://ann@example.org/site", {}), 1);
    EXPECT_EQ(m_err.str().find('\x1b'), std::string::npos) << m_err.str();
    EXPECT_NE(m_err.str().find("530 \xE2\x90\x9B]0;owned\xE2\x90\x87no"), std::string::npos)
        << m_err.str();
}

}  // namespace
}  // namespace vistello::testing
