#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/fake_publish_link.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/publish_texts.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSftp = "sftp://me@example.org/www";
constexpr const char* kFtp = "ftp://me@example.org/www";

// The main window in a folder of its own whose output folder, site, holds a generated site, and
// a server in memory to publish it to.
class PublishWindowTest : public ::testing::Test {
protected:
    PublishWindowTest() {
        fs::create_directory("site");
        WriteBytes("site/.vistello-images", "");
        for (const char* name : {"index.htm", "a.htm", "b.htm"})
            WriteBytes("site/" + std::string(name), name);
        window.SetText(ids::kOutputFolder, "site");
    }

    // File > Publish, with the address typed unless empty, and then the button pressed; what the
    // field showed first is noted.
    void Publish(const std::string& address, int button = IDOK) {
        system.dialogScripts.push_front([this, address, button](FakeWindow& publish) {
            shownAddress = publish.GetText(ids::kPublishAddress);
            if (!address.empty()) publish.SetText(ids::kPublishAddress, address);
            publish.Press(button);
            ended = publish.result;
        });
        window.Press(ids::kMenuPublish);
    }
    // The password dialog's answer, run after the publish dialog's.
    void TypePassword(const std::string& secret, bool remember = true) {
        system.dialogScripts.push_back([secret, remember](FakeWindow& password) {
            EXPECT_TRUE(password.GetCheck(ids::kPasswordRemember));
            password.SetText(ids::kPasswordSecret, secret);
            password.SetCheck(ids::kPasswordRemember, remember);
            password.Press(IDOK);
        });
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ShownBox& box : system.boxes) texts.push_back(box.text);
        return texts;
    }
    std::string Saved() {
        window.Press(ids::kMenuSave);
        return ReadBytes("vistello.dat");
    }
    static ServerAccess Machine() {
        ServerAccess machine;
        machine.sshFolder = "/home/me/.ssh";
        machine.agentSocket = "/run/agent";
        return machine;
    }

    ScratchDir scratch;
    FakeWindowSystem system;
    FakePublishLink link;
    CMainDialog dialog;
    const bool linked = (dialog.UsePublishLink(link, Machine(), scratch / "published"), true);
    FakeWindow window{system, dialog};
    std::string shownAddress;
    std::optional<int> ended;
};

// A project without an address is written as before; an address a publish starts with is kept
// in the project and shown the next time, while one typed and closed with Escape is not. The
// publish shows files and bytes as it goes and ends with the report, closing the window.
TEST_F(PublishWindowTest, TheAddressPublishedToIsKeptInTheProject) {
    const std::string before = Saved();
    Publish(kSftp, IDCANCEL);
    EXPECT_EQ(Saved(), before);

    WriteBytes("site/big.jpg", std::string(1'500'000, 'x'));
    Publish(kSftp);
    EXPECT_EQ(ended, IDOK);
    EXPECT_EQ(Texts(),
              std::vector<std::string>{"Published 4 files (1.5 MB), removed 0, 0 unchanged"});
    EXPECT_EQ(link.server.files.at("a.htm"), "a.htm");
    EXPECT_EQ(link.login.offered.at(0).sshFolder, "/home/me/.ssh");
    EXPECT_EQ(link.login.offered.at(0).agentSocket, "/run/agent");
    EXPECT_EQ(system.progressLines.back(), "4 of 4 files, 1.5 of 1.5 MB");
    const std::string saved = Saved();
    const std::string line = "PUBLISH=sftp://me@example.org/www\r\n";
    std::string without = saved;
    ASSERT_NE(without.find(line), std::string::npos) << saved;
    EXPECT_EQ(without.erase(without.find(line), line.size()), before);

    Publish("sftp://me@elsewhere.org/www", IDCANCEL);
    EXPECT_EQ(shownAddress, kSftp);
    EXPECT_EQ(Saved(), saved);
}

// An address the program cannot publish to, and a folder Generate never wrote into, are each
// refused with why, and nothing is sent; only the address that reads is kept.
TEST_F(PublishWindowTest, ABadAddressOrAFolderWithoutASiteSendsNothing) {
    Publish("gopher://example.org/www");
    fs::remove("site/.vistello-images");
    Publish(kSftp);
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "Vistello cannot publish to this address: the address must begin with "
                           "sftp://, ftp://, ftps://, http://, https://, s3:// or s3+http://.",
                           "There is no generated site to publish in " + scratch / "site" +
                               "\r\nGenerate the slide show first."}));
    EXPECT_TRUE(link.targets.empty());
    EXPECT_NE(Saved().find("PUBLISH=sftp://"), std::string::npos);
    EXPECT_EQ(Saved().find("gopher"), std::string::npos);
}

// Inside an album, Publish goes back up to the project the user opened and offers its address.
TEST_F(PublishWindowTest, AnAlbumPublishesWithItsSite) {
    WriteBytes("top.dat",
               "OUTPUT=site\r\nPUBLISH=sftp://me@example.org/www\r\nIMAGE=album.dat\r\n");
    WriteBytes("album.dat", "IMAGE=a.jpg\r\nTITLE=a\r\n");
    system.pickerAnswers = {scratch / "top.dat"};
    window.Press(ids::kMenuOpen);
    window.DoubleClickRow(ids::kEntryList, 0);
    ASSERT_EQ(window.caption, "Vistello: " + scratch / "top.dat › album");
    Publish("", IDCANCEL);
    EXPECT_EQ(shownAddress, kSftp);
    EXPECT_EQ(window.caption, "Vistello: " + scratch / "top.dat");
}

// Test Connection logs in with the keyring's password and says so; a password the server
// refuses is asked for once, and a second refusal is told with the server's words.
TEST_F(PublishWindowTest, TestConnectionSaysWhatTheServerAnswered) {
    link.login.password = "right";
    link.keyring.secrets["publish " + std::string(kFtp)] = "right";
    Publish(kFtp, ids::kPublishTest);
    link.keyring.secrets["publish " + std::string(kFtp)] = "stale";
    TypePassword("wrong");
    Publish(kFtp, ids::kPublishTest);
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "Connected to ftp://me@example.org/www.",
                           "Could not connect to ftp://me@example.org/www:\r\nThe server refused "
                           "the login: 530 Login incorrect."}));
    EXPECT_EQ(link.login.offered.size(), 3u);
    EXPECT_EQ(link.keyring.keeps, 0);
    EXPECT_FALSE(ended);
}

// An unknown host key is asked about, naming the host and the key, and the run goes again with
// the key accepted and kept; a changed one is told as a possible attack, with No the default,
// and is trusted for the one run only.
TEST_F(PublishWindowTest, AHostKeyIsTrustedOnlyWhenTheUserSaysSo) {
    link.login.hostKey = "SHA256:abc";
    system.answers = {MsgAnswer::Yes};
    Publish(kSftp);
    ASSERT_EQ(system.boxes.size(), 2u);
    EXPECT_EQ(system.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_NE(system.boxes[0].text.find("example.org"), std::string::npos);
    EXPECT_NE(system.boxes[0].text.find("SHA256:abc"), std::string::npos);
    EXPECT_EQ(link.login.offered.front().acceptedFingerprint, "");
    EXPECT_EQ(link.login.offered.back().acceptedFingerprint, "SHA256:abc");
    EXPECT_TRUE(link.login.offered.back().keepAcceptedKey);
    EXPECT_EQ(ended, IDOK);

    link.login.hostKey = "SHA256:new";
    link.login.hostKeyChanged = true;
    link.login.offered.clear();
    system.boxes.clear();
    Publish(kSftp);
    ASSERT_EQ(system.boxes.size(), 1u);
    EXPECT_EQ(system.boxes[0].buttons, MsgButtons::YesNoSafe);
    EXPECT_NE(system.boxes[0].text.find("CHANGED"), std::string::npos);
    EXPECT_NE(system.boxes[0].text.find("attack"), std::string::npos);
    EXPECT_EQ(link.login.offered.size(), 1u);
    EXPECT_FALSE(ended);
    system.answers = {MsgAnswer::Yes};
    Publish(kSftp);
    EXPECT_EQ(link.login.offered.back().acceptedFingerprint, "SHA256:new");
    EXPECT_FALSE(link.login.offered.back().keepAcceptedKey);
    EXPECT_EQ(ended, IDOK);
}

// A refused login asks for the password; once the server takes it the keyring keeps it and the
// next publish asks nothing, unless the user would not have it kept. FTP asks before it logs in.
// A keyring that cannot keep it is named once, and the typed password serves the publish.
TEST_F(PublishWindowTest, ARefusedLoginAsksThePasswordAndTheKeyringKeepsIt) {
    link.login.password = "secret";
    TypePassword("secret");
    Publish(kSftp);
    EXPECT_EQ(link.keyring.secrets.at("publish " + std::string(kSftp)), "secret");
    EXPECT_EQ(link.keyring.labels.at(0).find("secret"), std::string::npos);
    EXPECT_EQ(ended, IDOK);
    WriteBytes("site/a.htm", "changed");
    Publish(kSftp);
    EXPECT_EQ(ended, IDOK);
    EXPECT_EQ(link.server.files.at("a.htm"), "changed");
    link.login.password = "new";
    TypePassword("new", false);
    Publish(kSftp);
    EXPECT_EQ(ended, IDOK);
    EXPECT_FALSE(link.keyring.secrets.contains("publish " + std::string(kSftp)));

    link.keyring.refuses = true;
    link.login.offered.clear();
    system.boxes.clear();
    TypePassword("new");
    TypePassword("new");
    Publish(kFtp);
    Publish(kFtp);
    for (const ServerAccess& offered : link.login.offered) EXPECT_EQ(offered.password, "new");
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{
                  "The keyring could not keep the password: no keyring answers\r\nIt was used "
                  "for this publish only.",
                  "Published 0 files (0.0 MB), removed 0, 3 unchanged",
                  "Published 0 files (0.0 MB), removed 0, 3 unchanged"}));
}

// More than a tenth of the site leaving the server is asked about first; No sends nothing, Yes
// removes them.
TEST_F(PublishWindowTest, RemovalsAreAskedAboutFirst) {
    Publish(kSftp);
    fs::remove("site/a.htm");
    system.boxes.clear();
    system.answers = {MsgAnswer::No, MsgAnswer::Yes};
    Publish(kSftp);
    EXPECT_TRUE(link.server.files.contains("a.htm"));
    Publish(kSftp);
    EXPECT_FALSE(link.server.files.contains("a.htm"));
    const std::string question =
        "Publishing removes 1 file from the server: Vistello sent it there before, and the site, "
        "now 2 files, no longer has it:\r\na.htm\r\n\r\nRemove it from the server?";
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{question, question,
                                        "Published 0 files (0.0 MB), removed 1, 2 unchanged"}));
}

// Cancel while the files go stops the publish, says what was sent and leaves the window open;
// the next publish sends the rest.
TEST_F(PublishWindowTest, CancelStopsThePublishAndTheNextSendsTheRest) {
    for (int i = 0; i < 20; ++i) WriteBytes("site/p" + std::to_string(i) + ".htm", "page");
    // From the press on, every file waits until the run has heard it.
    link.login.onSend = [this](const std::string& name, const std::atomic<bool>& stop) {
        if (name == "p3.htm") system.cancelNow = true;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (system.cancelNow && !stop && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    };
    Publish(kSftp);
    EXPECT_FALSE(ended);
    ASSERT_EQ(system.boxes.size(), 1u);
    EXPECT_TRUE(system.boxes[0].text.starts_with("Publishing stopped.\r\nPublished "));
    EXPECT_LT(link.server.files.size(), 23u);
    system.cancelNow = false;
    link.login.onSend = nullptr;
    Publish(kSftp);
    EXPECT_EQ(ended, IDOK);
    EXPECT_TRUE(link.server.files.contains("p19.htm"));
}

// Progress counts files and megabytes; a failure names the file it was about; differences
// beyond the first twenty are counted.
TEST(PublishTextsTest, ProgressCountsAndFailuresNameTheFileAndLongListsAreCut) {
    EXPECT_EQ(PublishProgressLine({12, 340, 3'450'000, 51'000'000}),
              "12 of 340 files, 3.4 of 51.0 MB");
    PublishReport failed;
    failed.outcome = PublishReport::Outcome::Failed;
    failed.failure = {ServerAnswer::Kind::Full, "552 Disk full", ""};
    failed.failedName = "pics/a.jpg";
    EXPECT_EQ(PublishReportText(failed),
              "Publishing failed: the server has no room left: 552 Disk full.\r\nFile: pics/a.jpg");
    PublishReport differs;
    differs.outcome = PublishReport::Outcome::Differs;
    for (int i = 0; i < 23; ++i) differs.differences.push_back(std::to_string(i));
    const std::string text = PublishReportText(differs);
    EXPECT_TRUE(text.starts_with(PublishSummary(differs) + "\r\n")) << text;
    EXPECT_TRUE(text.ends_with("\r\n18\r\n19\r\nand 3 more")) << text;
}

}  // namespace
}  // namespace vistello::testing
