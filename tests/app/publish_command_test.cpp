#include "app/publish_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "support/fake_publish_link.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

// A page whose name would work a terminal that printed it as it is.
const std::string kPage = "red\x1b[31m.htm";

class PublishCommandTest : public ::testing::Test {
protected:
    // The project's generated site, one page, published to `address`; the exit status.
    int Publish(const std::string& address, PublishContext context = {}) {
        WriteBytes(m_dir / "show.dat", "OUTPUT=show\r\nPUBLISH=" + address + "\r\n");
        std::filesystem::create_directories(m_dir / "show");
        WriteBytes(m_dir / "show/.vistello-images", "");
        WriteBytes(m_dir / ("show/" + kPage), "<p>hello</p>");
        context.manifestFolder = m_dir / "published";
        return RunPublishCommand(m_files, m_link, m_dir / "show.dat", context, m_out, m_err);
    }
    const ServerAccess& Offered() const { return m_link.login.offered.back(); }

    ScratchDir m_dir;
    RealFileOps m_files;
    FakePublishLink m_link;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

// A project may name anyone's server: the S3 secret of the environment goes to S3 alone, never
// as the password of another server. A password file written with CR LF gives the password.
TEST_F(PublishCommandTest, TheS3SecretGoesToS3OnlyAndAPasswordFileGivesItsFirstLine) {
    PublishContext context;
    context.accessKey = "AKIDEXAMPLE";
    context.secretKey = "s3-secret";
    for (const char* address : {"ftp://ann@example.org/site", "https://ann@example.org/dav",
                                "sftp://ann@example.org/site"}) {
        EXPECT_EQ(Publish(address, context), 0) << m_err.str();
        EXPECT_EQ(Offered().password, "") << address;
        EXPECT_EQ(Offered().accessKey, "") << address;
    }
    EXPECT_EQ(Publish("s3://example.org/bucket/site", context), 0);
    EXPECT_EQ(Offered().password, "s3-secret");
    EXPECT_EQ(Offered().accessKey, "AKIDEXAMPLE");

    WriteBytes(m_dir / "password", "ftp secret\r\nnext line\r\n");
    context.passwordFile = m_dir / "password";
    EXPECT_EQ(Publish("ftp://ann@example.org/site", context), 0);
    EXPECT_EQ(Offered().password, "ftp secret");
    // A pipe, as a password manager gives it, serves as well.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "piped secret\n", 13), 13);
    context.passwordFile = "/dev/fd/" + std::to_string(ends[0]);
    EXPECT_EQ(Publish("ftp://ann@example.org/site", context), 0);
    ::close(ends[0]);
    ::close(ends[1]);
    EXPECT_EQ(Offered().password, "piped secret");
}

// The exit status says whether the server holds the site; a name told shows its control
// characters rather than obeying them.
TEST_F(PublishCommandTest, AServerThatHoldsTheSiteOtherwiseFailsAndNamesAreShownNotObeyed) {
    EXPECT_EQ(Publish("ftp://ann@example.org/site"), 0);
    m_link.server.listedWrong = kPage;
    EXPECT_EQ(Publish("ftp://ann@example.org/site"), 1);
    EXPECT_EQ(m_err.str().find('\x1b'), std::string::npos) << m_err.str();
    EXPECT_NE(m_err.str().find("red\xE2\x90\x9B[31m.htm: 1 bytes on the server"), std::string::npos)
        << m_err.str();
}

}  // namespace
}  // namespace vistello::testing
