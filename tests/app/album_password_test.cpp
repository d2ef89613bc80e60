#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "app/command_line.h"
#include "app/command_secrets.h"
#include "app/generate_command.h"
#include "output/owned_files.h"
#include "support/fake_clip_maker.h"
#include "support/fake_publish_link.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

// The option goes with --generate and takes a file; else the line is refused, to exit with 2.
TEST(AlbumPasswordTest, TheOptionNamesAFileAndGoesWithGenerate) {
    const StartOptions given =
        ParseCommandLine({"--generate", "site.dat", "--album-password-file", "pw.txt"});
    EXPECT_EQ(given.action, StartAction::Generate);
    EXPECT_EQ(given.projectFile + "|" + given.albumPasswordFile, "site.dat|pw.txt");
    EXPECT_EQ(ParseCommandLine({"--generate", "--album-password-file"}).action,
              StartAction::RejectUsage);
    for (const char* other : {"--publish", "--desktop"}) {
        const StartOptions refused = ParseCommandLine({other, "--album-password-file", "pw.txt"});
        EXPECT_EQ(refused.action, StartAction::RejectUsage);
        EXPECT_TRUE(
            refused.text.starts_with("vistello: needs --generate: '--album-password-file'\n"))
            << refused.text;
    }
}

// The file is read before anything is made: one that cannot be read, or that gives no password,
// stops the run with why; a pipe, as a password manager gives it, serves.
TEST(AlbumPasswordTest, AFileThatGivesNoPasswordStopsTheRunAndAPipeServes) {
    ScratchDir scratch;
    WriteBytes("t.htm", "<<IMAGETITLE>>");
    WriteMedia("a.jpg", "a");
    WriteBytes("site.dat", "TEMPLATE=t.htm\r\nIMAGE=a.jpg\r\nTITLE=A\r\n");
    WriteBytes("empty.txt", "\r\nsecond line\r\n");
    RealFileOps files;
    NoImageMaker images;
    NoPhotoReader photos;
    FakeClipMaker clips;
    const auto generate = [&](const std::string& passwordFile, std::string& said) {
        GenerateContext context;
        context.albumPasswordFile = passwordFile;
        std::ostringstream out, err;
        const int status =
            RunGenerateCommand(files, images, photos, clips, "site.dat", out, err, false, context);
        said = err.str();
        return status;
    };
    const std::set<std::string> before = scratch.Names();
    std::string said;
    EXPECT_EQ(generate("gone.txt", said), 1);
    EXPECT_EQ(said,
              "vistello: cannot read the album password file gone.txt: No such file or "
              "directory\n");
    EXPECT_EQ(generate("empty.txt", said), 1);
    EXPECT_EQ(said,
              "vistello: the album password file empty.txt gives no password: its first line is "
              "empty\n");
    EXPECT_EQ(scratch.Names(), before);

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "piped\r\n", 7), 7);
    EXPECT_EQ(generate("/dev/fd/" + std::to_string(ends[0]), said), 0) << said;
    ::close(ends[0]);
    ::close(ends[1]);
    EXPECT_NE(scratch.Names(), before);
}

// The keyring's secret comes first, else the password given; an album with neither is named,
// with what to give. The keyring is never written.
TEST(AlbumPasswordTest, TheKeyringComesFirstAndAnAlbumWithNoPasswordIsNamed) {
    FakeKeyring keyring;
    keyring.secrets["album:" + RecordKey("kept.dat")] = "\nkept";
    keyring.secrets["album:" + RecordKey("bad.dat")] = "not a secret";
    std::ostringstream err;
    const SecretSource given = CommandSecrets(&keyring, "given", err);
    EXPECT_EQ(given("kept.dat", "Kept"), (AlbumSecret{"", "kept"}));
    EXPECT_EQ(given("bad.dat", "Bad"), (AlbumSecret{"", "given"}));
    EXPECT_EQ(given("other.dat", "Other"), (AlbumSecret{"", "given"}));

    const SecretSource none = CommandSecrets(&keyring, std::nullopt, err);
    EXPECT_EQ(none("kept.dat", "Kept"), (AlbumSecret{"", "kept"}));
    EXPECT_EQ(none("italy.dat", "Italy\x1b[2J"), std::nullopt);
    EXPECT_EQ(err.str(),
              "vistello: private album Italy\xE2\x90\x9B[2J (italy.dat) needs a password: give "
              "--album-password-file\n");
    EXPECT_EQ(keyring.keeps, 0);
}

}  // namespace
}  // namespace vistello::testing
