#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <utility>

#include "app/generate_command.h"
#include "crypto/openssl_album_cipher.h"
#include "files/leftovers.h"
#include "support/fake_clip_maker.h"
#include "support/fake_image_maker.h"
#include "support/fake_photo_reader.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;

// A run cut short, as a signal would end the program: raised on a blob's way into place, its
// temporary left as a process that no longer runs leaves it.
struct Cut {};

class CuttingFileOps : public RealFileOps {
public:
    explicit CuttingFileOps(int blobs) : m_blobs(blobs) {}
    int Rename(const std::string& from, const std::string& to) override {
        if (!to.ends_with(".js") || !to.starts_with("out/") || --m_blobs >= 0)
            return RealFileOps::Rename(from, to);
        RealFileOps::Rename(from,
                            to.substr(0, to.rfind('/') + 1) + TemporaryName("abcdefghijk", kGone));
        throw Cut{};
    }

private:
    // Above any process number the system gives.
    static constexpr pid_t kGone = 0x3FFFFFFF;
    int m_blobs;
};

// A site of a public top holding the private album "Family", which may hold the album "Trip",
// made from the command line with the password in a file and the cache in the scratch folder.
class PrivateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CACHE_HOME", (m_dir / "cache").c_str(), 1);
        WriteBytes("t.htm", "<<IMAGETITLE>> <<MEDIA>>");
        WriteBytes("o.htm", "<<ALBUMS>><<ALBUMPAGE>> <<ALBUMTITLE>>;<<ENDALBUMS>>");
        WriteBytes("pw", "secret words\n");
        for (const char* photo : {"a.jpg", "c.jpg"}) WriteMedia(photo, photo);
        WriteBytes("trip.dat", "IMAGE=c.jpg\r\nTITLE=C\r\n");
        WriteBytes("top.dat",
                   "TEMPLATE=t.htm\r\nOVERVIEW=o.htm\r\nOUTPUT=out\r\nWEBSIDE=100\r\n"
                   "THUMBSIDE=50\r\nIMAGE=family.dat\r\nTITLE=Family\r\n");
        fs::create_directories("out");
    }
    void TearDown() override { unsetenv("XDG_CACHE_HOME"); }

    void Family(bool trip) {
        WriteBytes("family.dat", std::string("PRIVATE=yes\r\nIMAGE=a.jpg\r\nTITLE=A\r\n") +
                                     (trip ? "IMAGE=trip.dat\r\nTITLE=Trip\r\n" : ""));
    }
    int Generate(FileOps& files, std::string* said = nullptr) {
        GenerateContext context;
        context.cipher = [this](std::string&) { return &m_cipher; };
        context.albumPasswordFile = "pw";
        std::ostringstream out, err;
        const int status = RunGenerateCommand(files, m_images, m_photos, m_clips, "top.dat", out,
                                              err, false, context);
        if (said) *said = err.str();
        return status;
    }
    // The sealed folders in the output folder, and how many files each holds.
    std::map<std::string, size_t> Sealed() const {
        std::map<std::string, size_t> folders;
        for (const auto& entry : fs::directory_iterator("out")) {
            if (!entry.is_directory() || entry.path().filename().string().starts_with('.'))
                continue;
            const auto files = fs::directory_iterator(entry.path());
            folders[entry.path().filename()] =
                static_cast<size_t>(std::distance(fs::begin(files), fs::end(files)));
        }
        return folders;
    }

    ScratchDir m_dir;
    OpenSslAlbumCipher m_cipher;
    FakeImageMaker m_images;
    FakePhotoReader m_photos;
    FakeClipMaker m_clips;
    RealFileOps m_files;
};

// An album taken out of a private album leaves its seal, as it leaves a public one's folder:
// none of its files is published any longer, nor kept unsealed.
TEST_F(PrivateCommandTest, AnAlbumTakenOutOfAPrivateOneLeavesItsSeal) {
    Family(false);
    ASSERT_EQ(Generate(m_files), 0);
    const std::map<std::string, size_t> alone = Sealed();
    Family(true);
    ASSERT_EQ(Generate(m_files), 0);
    ASSERT_EQ(Sealed().size(), 1u);
    EXPECT_GT(Sealed().begin()->second, alone.begin()->second);
    Family(false);
    ASSERT_EQ(Generate(m_files), 0);
    EXPECT_EQ(Sealed(), alone);
    for (const auto& entry : fs::recursive_directory_iterator("cache"))
        EXPECT_NE(entry.path().filename(), "trip") << entry.path();
}

// A seal cut short is taken up again by the next run under the same key, into the same folder;
// one cut short before its key file was written leaves no folder behind.
TEST_F(PrivateCommandTest, ASealCutShortIsTakenUpAgain) {
    Family(true);
    for (const int blobs : {3, 0}) {
        fs::remove_all("out");
        fs::create_directories("out");
        CuttingFileOps cutting(blobs);
        EXPECT_THROW(Generate(cutting), Cut);
        ASSERT_EQ(Sealed().size(), 1u);
        ASSERT_EQ(Generate(m_files), 0);
        const std::map<std::string, size_t> whole = Sealed();
        EXPECT_EQ(whole.size(), 1u) << blobs;
        // No temporary is left: its name follows the prefix with the number of its process.
        for (const auto& entry : fs::recursive_directory_iterator("out")) {
            const std::string name = entry.path().filename();
            EXPECT_FALSE(name.starts_with(".vistello-") && std::isdigit(name[10])) << name;
        }
        ASSERT_EQ(Generate(m_files), 0);
        EXPECT_EQ(Sealed(), whole);
    }
}

// A cache folder inside the output folder would publish the album before it is sealed: the
// album is left out and nothing of it is written there.
TEST_F(PrivateCommandTest, NoAlbumIsMadeInsideTheOutputFolder) {
    setenv("XDG_CACHE_HOME", (m_dir / "out/.cache").c_str(), 1);
    Family(true);
    std::string said;
    EXPECT_EQ(Generate(m_files, &said), 1);
    EXPECT_NE(said.find("inside the output folder"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists("out/.cache/vistello/private"));
    EXPECT_TRUE(Sealed().empty());
}

// The password is one a browser can type: a file's byte order mark is no part of it, and bytes
// that are no UTF-8 are refused before anything is written.
TEST_F(PrivateCommandTest, APasswordFileGivesWhatABrowserTypes) {
    Family(false);
    WriteBytes("pw", "\xEF\xBB\xBFsecret words\n");
    ASSERT_EQ(Generate(m_files), 0);
    const std::map<std::string, size_t> sealed = Sealed();
    WriteBytes("pw", "secret words\n");
    EXPECT_EQ(Generate(m_files), 0);
    EXPECT_EQ(Sealed(), sealed);
    fs::remove_all("out");
    fs::create_directories("out");
    WriteBytes("pw", "caf\xE9\n");
    std::string said;
    EXPECT_EQ(Generate(m_files, &said), 1);
    EXPECT_NE(said.find("no UTF-8"), std::string::npos) << said;
    EXPECT_TRUE(fs::is_empty("out"));
}

// An album's own choice alone shows its title above it: a top's is no album's.
TEST_F(PrivateCommandTest, OnlyItsOwnChoiceShowsAPrivateAlbumsTitle) {
    Family(false);
    WriteBytes("top.dat", "PRIVATE_TITLE=yes\r\n" + ReadBytes("top.dat"));
    ASSERT_EQ(Generate(m_files), 0);
    EXPECT_NE(ReadBytes("out/index.htm").find(" Private album;"), std::string::npos);
    EXPECT_EQ(ReadBytes("out/index.htm").find("Family"), std::string::npos);
}

// A sealed folder kept for a file the user changed in it, once the album went to another folder
// under a new key, never takes with it the record of the album's seal as it stands: what did not
// change is not sealed again.
TEST_F(PrivateCommandTest, AFolderKeptUnderAnOldKeyLeavesTheSealAsItStands) {
    Family(false);
    ASSERT_EQ(Generate(m_files), 0);
    const std::string old = "out/" + Sealed().begin()->first + "/";
    WriteBytes(old + "index.html", "mine");
    WriteBytes(old + "vistello-key.js", "damaged");
    ASSERT_EQ(Generate(m_files), 0);
    ASSERT_EQ(Sealed().size(), 2u);
    ASSERT_EQ(Generate(m_files), 0);
    std::map<std::string, std::string> sealed;
    for (const auto& [folder, files] : Sealed()) {
        if ("out/" + folder + "/" == old) continue;
        for (const auto& entry : fs::directory_iterator("out/" + folder))
            sealed[entry.path()] = ReadBytes(entry.path());
    }
    // The album made again with an album added, only its overview's blob is new of what it held.
    Family(true);
    ASSERT_EQ(Generate(m_files), 0);
    std::vector<std::string> changed;
    for (const auto& [path, bytes] : sealed) {
        if (ReadBytes(path) != bytes) changed.push_back(path);
    }
    EXPECT_EQ(changed.size(), 1u) << ::testing::PrintToString(changed) << sealed.size();
}

// A second run started while the first seals a new album waits for no key of its own: it leaves
// the album out, saying why, and the album keeps the one folder under the first run's key.
TEST_F(PrivateCommandTest, TwoRunsAtOnceSealUnderOneKey) {
    Family(false);
    struct Meanwhile : RealFileOps {
        std::function<void()> run;
        int Rename(const std::string& from, const std::string& to) override {
            if (run && to.ends_with(".js") && to.starts_with("out/")) std::exchange(run, {})();
            return RealFileOps::Rename(from, to);
        }
    } first;
    int status = 0;
    std::string said;
    first.run = [&] { status = Generate(m_files, &said); };
    ASSERT_EQ(Generate(first), 0);
    EXPECT_EQ(status, 1);
    EXPECT_NE(said.find("another run is making it now"), std::string::npos) << said;
    const std::map<std::string, size_t> sealed = Sealed();
    EXPECT_EQ(sealed.size(), 1u);
    ASSERT_EQ(Generate(m_files), 0);
    EXPECT_EQ(Sealed(), sealed);
}

// A run making an album public while another seals it leaves the seal and the staging folder to
// that run; the next run takes them away.
TEST_F(PrivateCommandTest, AnAlbumMadePublicWhileAnotherRunSealsItWaits) {
    Family(false);
    ASSERT_EQ(Generate(m_files), 0);
    Family(true);
    struct Meanwhile : RealFileOps {
        std::function<void()> run;
        int Rename(const std::string& from, const std::string& to) override {
            if (run && to.ends_with(".js") && to.starts_with("out/")) std::exchange(run, {})();
            return RealFileOps::Rename(from, to);
        }
    } first;
    std::string said;
    first.run = [&] {
        WriteBytes("family.dat", "IMAGE=a.jpg\r\nTITLE=A\r\n");
        Generate(m_files, &said);
    };
    ASSERT_EQ(Generate(first), 0);
    EXPECT_NE(said.find("kept, another run is making its album now"), std::string::npos) << said;
    ASSERT_EQ(Sealed().size(), 2u);
    ASSERT_EQ(Generate(m_files), 0);
    EXPECT_EQ(Sealed().size(), 1u);
}

// The same private album twice in one site would be staged twice in one folder: it is made once,
// and the run says why the other is not.
TEST_F(PrivateCommandTest, APrivateAlbumTwiceInASiteIsMadeOnce) {
    Family(false);
    WriteBytes("top.dat",
               "TEMPLATE=t.htm\r\nOVERVIEW=o.htm\r\nOUTPUT=out\r\nIMAGE=family.dat\r\n"
               "TITLE=Family\r\nIMAGE=family.dat\r\nTITLE=Again\r\n");
    std::string said;
    EXPECT_EQ(Generate(m_files, &said), 1);
    EXPECT_NE(said.find("a private album is made in one place only"), std::string::npos) << said;
    EXPECT_EQ(Sealed().size(), 1u);
}

// A clip too large for a browser to open is not sealed for nothing: the run says so and fails,
// and the album goes out without it, even where it grew after it was looked at.
TEST_F(PrivateCommandTest, AClipNoBrowserOpensIsLeftOutOfTheSeal) {
    struct Growing : RealFileOps {
        int Lstat(const std::string& path, struct stat& info) override {
            const int status = RealFileOps::Lstat(path, info);
            if (info.st_size > 100'000'000) info.st_size = 1;
            return status;
        }
    } growing;
    WriteMedia("h.mov", "huge");
    WriteBytes("family.dat", "PRIVATE=yes\r\nIMAGE=a.jpg\r\nTITLE=A\r\nIMAGE=h.mov\r\n");
    for (RealFileOps* files : {&m_files, static_cast<RealFileOps*>(&growing)}) {
        std::string said;
        EXPECT_EQ(Generate(*files, &said), 1);
        EXPECT_NE(said.find("left out: at 600 MB it is more than a browser opens"),
                  std::string::npos)
            << said;
        ASSERT_EQ(Sealed().size(), 1u);
        for (const auto& entry : fs::recursive_directory_iterator("out"))
            EXPECT_LT(entry.is_regular_file() ? entry.file_size() : 0, 1'000'000u) << entry.path();
    }
}

}  // namespace
}  // namespace vistello::testing
