#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "output/owned_files.h"
#include "support/fake_publish_link.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/album_secrets.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello::testing {
namespace {

using Strings = std::vector<std::string>;

const std::string kSettings = "CREATOR=Vistello 1.0\r\nTEMPLATE=\r\nOUTPUT=\r\nWEBSIDE=1600\r\n";
const std::string kRows = "IMAGE=a.jpg\r\nTITLE=a\r\n\r\nIMAGE=b.jpg\r\nTITLE=b\r\n";
// A key the keyring already holds for an album, in hex, and as bytes.
const std::string kHex = std::string(62, 'b') + "0c";
const std::string kKey = std::string(31, '\xBB') + "\x0C";

// The window over a project with a photo and an album, Italy, whose project is album.dat, and
// the desktop's keyring in memory.
class PrivateAlbumsTest : public ::testing::Test {
protected:
    PrivateAlbumsTest() {
        WriteBytes("vistello.dat",
                   "OUTPUT=site\r\nIMAGE=album.dat\r\nTITLE=Italy\r\n\r\n"
                   "IMAGE=a.jpg\r\nTITLE=a\r\n");
        WriteBytes("album.dat", kSettings + kRows);
        dialog.UsePublishLink(link, {}, scratch / "published");
        window = std::make_unique<FakeWindow>(system, dialog);
    }

    void Select(const std::string& path) {
        const EntryList& rows = dialog.Inside().slides;
        for (int row = 0; row < rows.RowCount(); ++row)
            if (rows.Row(row).imagePath == path) window->ClickRow(ids::kEntryList, row);
    }
    // Make Album Private... with each pair typed in turn and OK pressed after each, the title
    // box as given; what the dialog showed first is noted.
    void MakePrivate(const std::vector<std::pair<std::string, std::string>>& typed,
                     bool showTitle = false) {
        system.dialogScripts.push_back([this, typed, showTitle](FakeWindow& password) {
            prompt = password.GetText(ids::kPrivatePrompt);
            titleShown = password.GetCheck(ids::kPrivateShowTitle);
            for (const auto& [first, again] : typed) {
                password.SetText(ids::kPrivatePassword, first);
                password.SetText(ids::kPrivateAgain, again);
                password.SetCheck(ids::kPrivateShowTitle, showTitle);
                password.Press(IDOK);
                if (password.result) break;
            }
            ended = password.result;
        });
        window->Press(ids::kMenuMakePrivate);
    }
    Strings Texts() const {
        Strings texts;
        for (const ShownBox& box : system.boxes) texts.push_back(box.text);
        return texts;
    }
    std::optional<std::string> Held(const std::string& project) {
        const auto held = link.keyring.secrets.find("album:" + RecordKey(project));
        if (held == link.keyring.secrets.end()) return std::nullopt;
        return held->second;
    }

    ScratchDir scratch;
    FakeWindowSystem system;
    FakePublishLink link;
    CMainDialog dialog;
    std::unique_ptr<FakeWindow> window;
    std::string prompt;
    bool titleShown = false;
    std::optional<int> ended;
};

// On an album's row: an empty password and two that differ are refused and the dialog stays;
// then the album's project gains its lines, and only them, and the keyring the password with no
// key yet. A new password keeps the key the keyring holds; Make Album Public asks, and on Yes
// takes the lines and the keyring's secret away. The project open in the window is untouched.
TEST_F(PrivateAlbumsTest, AnAlbumRowGainsAndLosesItsLinesAndTheKeyringItsSecret) {
    Select("album.dat");
    MakePrivate({{"", ""}, {"pass", "pasS"}, {"pass", "pass"}}, true);
    EXPECT_EQ(ended, IDOK);
    EXPECT_EQ(Texts(), (Strings{"Type a password: an album cannot be locked without one.",
                                "The two passwords differ. Type the same password in Password "
                                "and in Again."}));
    EXPECT_EQ(prompt,
              "Only readers with this password will open the album “Italy”, and every album in "
              "it.");
    EXPECT_FALSE(titleShown);
    EXPECT_EQ(ReadBytes("album.dat"), kSettings + "PRIVATE=yes\r\nPRIVATE_TITLE=yes\r\n" + kRows);
    EXPECT_EQ(Held("album.dat"), "\npass");
    EXPECT_EQ(link.keyring.labels.back().find("pass"), std::string::npos);

    link.keyring.secrets["album:" + RecordKey(scratch / "album.dat")] = kHex + "\npass";
    MakePrivate({{"new", "new"}});
    EXPECT_TRUE(titleShown);
    EXPECT_NE(prompt.find("It is private already"), std::string::npos) << prompt;
    EXPECT_EQ(ReadBytes("album.dat"), kSettings + "PRIVATE=yes\r\n" + kRows);
    EXPECT_EQ(Held("album.dat"), kHex + "\nnew");

    system.boxes.clear();
    system.answers = {MsgAnswer::No, MsgAnswer::Yes};
    window->Press(ids::kMenuMakePublic);
    EXPECT_EQ(ReadBytes("album.dat"), kSettings + "PRIVATE=yes\r\n" + kRows);
    window->Press(ids::kMenuMakePublic);
    EXPECT_EQ(ReadBytes("album.dat"), kSettings + kRows);
    EXPECT_EQ(Held("album.dat"), std::nullopt);
    EXPECT_EQ(system.boxes.at(0).buttons, MsgButtons::YesNoSafe);
    EXPECT_EQ(system.boxes.size(), 2u);

    window->Press(ids::kMenuSave);
    EXPECT_EQ(ReadBytes("vistello.dat").find("PRIVATE"), std::string::npos);
}

// With no row selected, or a photo's, the project open in the window is the one made private: a
// whole site. Cancel changes nothing; a keyring that cannot keep the new password says so and
// forgets the old one, which would lock the site under it at the next Generate.
TEST_F(PrivateAlbumsTest, WithoutAnAlbumRowTheOpenProjectIsMadePrivate) {
    system.dialogScripts.push_back([](FakeWindow& password) { password.Press(IDCANCEL); });
    window->Press(ids::kMenuMakePrivate);
    EXPECT_TRUE(link.keyring.secrets.empty());

    MakePrivate({{"site", "site"}});
    EXPECT_EQ(prompt, "Only readers with this password will open the site “vistello”: all of it.");
    EXPECT_EQ(Held("vistello.dat"), "\nsite");
    EXPECT_EQ(ReadBytes("album.dat"), kSettings + kRows);

    Select("a.jpg");
    link.keyring.refuses = true;
    system.boxes.clear();
    MakePrivate({{"other", "other"}});
    EXPECT_NE(prompt.find("site “vistello”"), std::string::npos) << prompt;
    EXPECT_EQ(Held("vistello.dat"), std::nullopt);
    EXPECT_EQ(Texts(), (Strings{"The album is private, but the keyring could not keep its "
                                "password: no keyring answers\r\nGenerate will ask for it."}));
}

// The open project's settings change, to be saved with it as any other setting is: its other
// settings stay, and Make Album Public brings back the file it had.
TEST_F(PrivateAlbumsTest, TheOpenProjectIsSavedPrivateWithItsOtherSettings) {
    dialog.Inside().web.largestSide = 1600;
    window->Press(ids::kMenuSave);
    const std::string before = ReadBytes("vistello.dat");
    MakePrivate({{"site", "site"}}, true);
    window->Press(ids::kMenuSave);
    std::string saved = ReadBytes("vistello.dat");
    for (const char* line : {"PRIVATE=yes\r\n", "PRIVATE_TITLE=yes\r\n"}) {
        ASSERT_NE(saved.find(line), std::string::npos) << saved;
        saved.erase(saved.find(line), std::string(line).size());
    }
    EXPECT_EQ(saved, before);
    system.answers = {MsgAnswer::Yes};
    window->Press(ids::kMenuMakePublic);
    window->Press(ids::kMenuSave);
    EXPECT_EQ(ReadBytes("vistello.dat"), before);
    EXPECT_EQ(Held("vistello.dat"), std::nullopt);
}

// At Generate, an album whose secret the keyring holds is asked nothing; another is asked by its
// title, and the keyring keeps what the album was made with when the user let it; Cancel, or
// nothing typed, leaves the album out. A keyring's text that is no secret is asked over.
TEST_F(PrivateAlbumsTest, GenerateAsksOnlyForWhatTheKeyringLacks) {
    bool told = false;
    WindowAlbumSecrets secrets(system, *window, &link.keyring, told);
    const auto type = [this](const std::string& password, bool remember) {
        system.dialogScripts.push_back([this, password, remember](FakeWindow& asked) {
            prompt = asked.GetText(ids::kPasswordPrompt);
            asked.SetText(ids::kPasswordSecret, password);
            asked.SetCheck(ids::kPasswordRemember, remember);
            asked.Press(IDOK);
        });
    };
    link.keyring.secrets["album:" + RecordKey("kept.dat")] = kHex + "\nkept";
    link.keyring.secrets["album:" + RecordKey("bad.dat")] = "bad";
    type("unused", true);
    EXPECT_EQ(secrets.For("kept.dat", "Kept"), (AlbumSecret{kKey, "kept"}));
    EXPECT_EQ(system.dialogScripts.size(), 1u);
    system.dialogScripts.clear();

    type("typed", true);
    EXPECT_EQ(secrets.For("italy.dat", "Italy"), (AlbumSecret{"", "typed"}));
    EXPECT_EQ(prompt, "Password for the private album “Italy”:");
    type("once", false);
    EXPECT_EQ(secrets.For("bad.dat", "Bad"), (AlbumSecret{"", "once"}));
    EXPECT_EQ(Held("bad.dat"), std::nullopt);
    type("", true);
    EXPECT_EQ(secrets.For("empty.dat", "Empty"), std::nullopt);
    EXPECT_EQ(secrets.For("gone.dat", "Gone"), std::nullopt);

    const int keeps = link.keyring.keeps;
    secrets.Kept("kept.dat", {kKey, "kept"});
    EXPECT_EQ(link.keyring.keeps, keeps);
    secrets.Kept("italy.dat", {kKey, "typed"});
    secrets.Kept("bad.dat", {kKey, "once"});
    EXPECT_EQ(Held("italy.dat"), kHex + "\ntyped");
    EXPECT_EQ(Held("bad.dat"), std::nullopt);

    link.keyring.refuses = true;
    secrets.Kept("kept.dat", {std::string(32, 'k'), "kept"});
    secrets.Kept("italy.dat", {std::string(32, 'k'), "typed"});
    EXPECT_EQ(Texts(), (Strings{"The keyring could not keep the album's password: no keyring "
                                "answers\r\nGenerate will ask for it again."}));
}

}  // namespace
}  // namespace vistello::testing
