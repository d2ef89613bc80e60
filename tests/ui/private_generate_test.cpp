#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/generate_command.h"
#include "media/album_cipher.h"
#include "output/owned_files.h"
#include "support/fake_clip_maker.h"
#include "support/fake_publish_link.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "text/digest.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

// A cipher that keeps nothing secret, only the shapes a real one gives: enough for the window's
// part of a private album, whose bytes the crypto library's own tests look at.
class PlainCipher : public AlbumCipher {
public:
    std::optional<std::string> Random(size_t size) override {
        std::string bytes;
        while (bytes.size() < size) bytes += Digest(std::to_string(++m_drawn));
        return bytes.substr(0, size);
    }
    std::string Hmac(std::string_view key, std::string_view text) override {
        return Digest(std::string(key) + '\0' + std::string(text));
    }
    std::optional<std::string> DeriveKey(std::string_view password, std::string_view salt,
                                         int) override {
        return Hmac(password, salt);
    }
    std::optional<std::string> Seal(std::string_view key, std::string_view nonce,
                                    std::string_view aad, std::string_view plain) override {
        return std::string(plain) + Tag(key, nonce, aad, plain);
    }
    std::optional<std::string> Open(std::string_view key, std::string_view nonce,
                                    std::string_view aad, std::string_view sealed) override {
        if (sealed.size() < 16) return std::nullopt;
        const std::string_view plain = sealed.substr(0, sealed.size() - 16);
        if (sealed.substr(plain.size()) != Tag(key, nonce, aad, plain)) return std::nullopt;
        return std::string(plain);
    }

private:
    std::string Tag(std::string_view key, std::string_view nonce, std::string_view aad,
                    std::string_view plain) {
        return Hmac(key, std::string(nonce) + '\0' + std::string(aad) + '\0' + std::string(plain))
            .substr(0, 16);
    }
    int m_drawn = 0;
};

// A site whose top shows two private albums, Italy and Spain, generated from the window.
class PrivateGenerateTest : public ::testing::Test {
protected:
    PrivateGenerateTest() {
        setenv("XDG_CACHE_HOME", (scratch / "cache").c_str(), 1);
        WriteBytes("page.htm", "<<IMAGETITLE>>");
        WriteBytes("over.htm", "<<ALBUMS>><<ALBUMTITLE>>;<<ENDALBUMS>><<SLIDES>>.<<ENDSLIDES>>");
        WriteMedia("a.jpg", "a");
        WriteMedia("b.jpg", "b");
        WriteBytes("vistello.dat",
                   "TEMPLATE=page.htm\r\nOUTPUT=site\r\nOVERVIEW=over.htm\r\nIMAGE=spain.dat\r\n"
                   "TITLE=Spain\r\n\r\nIMAGE=italy.dat\r\nTITLE=Italy\r\n");
        WriteBytes("italy.dat", "PRIVATE=yes\r\nIMAGE=a.jpg\r\nTITLE=A\r\n");
        WriteBytes("spain.dat", "PRIVATE=yes\r\nIMAGE=b.jpg\r\nTITLE=B\r\n");
        std::filesystem::create_directory("site");
        dialog.UsePublishLink(link, {}, scratch / "published");
        dialog.UseAlbumCipher([this](std::string&) -> AlbumCipher* { return &cipher; });
        window = std::make_unique<FakeWindow>(system, dialog);
    }
    ~PrivateGenerateTest() override { unsetenv("XDG_CACHE_HOME"); }

    std::string& Held(const std::string& project) {
        return link.keyring.secrets["album:" + RecordKey(project)];
    }
    // The password question's answer; the prompts shown are noted.
    void Answer(const std::string& password, int button = IDOK) {
        system.dialogScripts.push_back([this, password, button](FakeWindow& asked) {
            prompts.push_back(asked.GetText(ids::kPasswordPrompt));
            asked.SetText(ids::kPasswordSecret, password);
            asked.Press(button);
        });
    }

    ScratchDir scratch;
    FakeWindowSystem system;
    FakePublishLink link;
    PlainCipher cipher;
    CMainDialog dialog;
    std::unique_ptr<FakeWindow> window;
    std::vector<std::string> prompts;
};

// An album the keyring knows is asked nothing; another is asked by its title, and Cancel leaves
// it out, named. The keyring then keeps each album made with its key and password, so that the
// next Generate asks nothing.
TEST_F(PrivateGenerateTest, OnlyWhatTheKeyringLacksIsAskedAndCancelLeavesTheAlbumOut) {
    Held("italy.dat") = "\nkept";
    Answer("", IDCANCEL);
    window->Press(ids::kGenerate);
    EXPECT_EQ(prompts, std::vector<std::string>{"Password for the private album “Spain”:"});
    ASSERT_FALSE(system.boxes.empty());
    EXPECT_NE(system.boxes.back().text.find("1 album was left out:"), std::string::npos)
        << system.boxes.back().text;
    EXPECT_NE(system.boxes.back().text.find("spain.dat"), std::string::npos);
    EXPECT_EQ(Held("italy.dat").size(), 64u + 1 + 4) << Held("italy.dat");
    EXPECT_TRUE(Held("italy.dat").ends_with("\nkept"));

    prompts.clear();
    system.boxes.clear();
    Answer("typed");
    window->Press(ids::kGenerate);
    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_TRUE(Held("spain.dat").ends_with("\ntyped"));
    EXPECT_EQ(Held("spain.dat").size(), 64u + 1 + 5);
    window->Press(ids::kGenerate);
    EXPECT_EQ(prompts.size(), 1u);
}

// On the command line an album with no password is left out with what to give, and the run
// fails; the keyring's secret, else the password file's, makes it, and the keyring is not
// written.
TEST_F(PrivateGenerateTest, TheCommandLineNamesAnAlbumWithNoPasswordAndFails) {
    window.reset();
    Held("italy.dat") = "\nkept";
    RealFileOps files;
    NoImageMaker images;
    NoPhotoReader photos;
    FakeClipMaker clips;
    GenerateContext context;
    context.cipher = [this](std::string&) -> AlbumCipher* { return &cipher; };
    context.keyring = &link.keyring;
    std::ostringstream out, err;
    EXPECT_EQ(
        RunGenerateCommand(files, images, photos, clips, "vistello.dat", out, err, false, context),
        1);
    EXPECT_NE(err.str().find("vistello: private album Spain (spain.dat) needs a password: give "
                             "--album-password-file\n"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(err.str().find("Italy"), std::string::npos) << err.str();
    WriteBytes("pw", "given\n");
    context.albumPasswordFile = "pw";
    err.str("");
    EXPECT_EQ(
        RunGenerateCommand(files, images, photos, clips, "vistello.dat", out, err, false, context),
        0)
        << err.str();
    EXPECT_EQ(link.keyring.keeps, 0);
    EXPECT_EQ(Held("italy.dat"), "\nkept");
}

}  // namespace
}  // namespace vistello::testing
