#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <variant>

#include "app/command_project.h"
#include "app/generate_command.h"
#include "crypto/openssl_album_cipher.h"
#include "private/album_key_file.h"
#include "private/sealed_names.h"
#include "private/sealed_pages.h"
#include "site/album_tree.h"
#include "site/site_writer.h"
#include "support/fake_clip_maker.h"
#include "support/fake_image_maker.h"
#include "support/fake_photo_reader.h"
#include "support/sealed_reader.h"
#include "support/temp_dir.h"

namespace vistello::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kPage =
    "<<TRAIL>>|<<UP>>|<<BACK>>|<<NEXT>>|<<IMAGETITLE>>|<<DESCRIPTION>>|<<KEYWORDS>>|<<ALT>>|"
    "<<IMAGEPATH>>";
constexpr const char* kOverview =
    "<<TRAIL>>|<<SHOWTITLE>>\n<<ALBUMS>>[<<ALBUMPAGE>> <<ALBUMTITLE>> <<ALBUMCOVER>> "
    "<<ALBUMCOUNT>>; <<ALBUMDATES>>]\n<<ENDALBUMS>><<SLIDES>>(<<PAGE>> <<THUMBNAIL>>)<<ENDSLIDES>>";

// Everything the private album holds that a reader without its password must not learn.
const std::vector<std::string> kSecrets = {
    "Secret Garden", "secret_garden",  "secret.dat",   "Sunset Kiss", "sunset_kiss", "Honeymoon",
    "anniversary",   "couple at dusk", "Hidden Beach", "beachbytes",  "Clipzilla",   "clipbytes",
    "Inner Sanctum", "inner_sanctum",  "inner.dat",    "Deepest",     "deepbytes"};

// Each file below the folder by its path, with its bytes and when it was last written.
struct Snapshot {
    std::map<std::string, std::pair<std::string, long long>> files;
};

Snapshot Take(const std::string& folder) {
    Snapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        // The site's record notes how its top folder stood, which each run changes.
        if (!entry.is_regular_file() || entry.path().filename() == ".vistello-site") continue;
        struct stat info {};
        ::stat(entry.path().c_str(), &info);
        snapshot.files[fs::relative(entry.path(), folder).string()] = {
            ReadBytes(entry.path()), info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec};
    }
    return snapshot;
}

// The paths whose bytes or time differ, or that are in one only.
std::set<std::string> Changed(const Snapshot& before, const Snapshot& after) {
    std::set<std::string> changed;
    for (const auto& [path, file] : before.files) {
        const auto now = after.files.find(path);
        if (now == after.files.end() || now->second != file) changed.insert(path);
    }
    for (const auto& [path, file] : after.files)
        if (!before.files.contains(path)) changed.insert(path);
    return changed;
}

class PrivateSiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories("pics");
        fs::create_directories("web");
        for (const auto& [path, text] :
             std::map<std::string, std::string>{{"pics/top.jpg", "topbytes"},
                                                {"pics/park.jpg", "parkbytes"},
                                                {"pics/Hidden Beach.jpg", "beachbytes"},
                                                {"pics/Clipzilla.mov", "clipbytes"},
                                                {"pics/Deep.jpg", "deepbytes"}})
            WriteMedia(path, text);
        WriteBytes("page.htm", kPage);
        WriteBytes("over.htm", kOverview);
        WriteBytes("site.dat",
                   "TEMPLATE=page.htm\r\nOUTPUT=web\r\nOVERVIEW=over.htm\r\nTHUMBSIDE=50\r\n"
                   "IMAGE=pics/top.jpg\r\nTITLE=Top\r\n\r\nIMAGE=open.dat\r\nTITLE=Open Air\r\n");
        WriteBytes("open.dat",
                   "IMAGE=pics/park.jpg\r\nTITLE=Park\r\n\r\nIMAGE=secret.dat\r\n"
                   "TITLE=Secret Garden\r\n");
        // When a private photo was taken must not show above it either.
        photos.photos["pics/Hidden Beach.jpg"] = {"", "", "",
                                                  "", 0,  {"2026-05-14 10:00", "", "", ""}};
        WriteBytes("secret.dat", kSecretProject);
        WriteBytes("inner.dat", "IMAGE=pics/Deep.jpg\r\nTITLE=Deepest\r\n");
        tools.images = &images;
        tools.photos = &photos;
        tools.clips = &clips;
        tools.cipher = &cipher;
        ::setenv("XDG_CACHE_HOME", (scratch / "cache").c_str(), 1);
        tools.secretFor = [this](const std::string& project, const std::string&) {
            asked.push_back(project);
            return secret;
        };
        tools.onSecret = [this](const std::string&, const AlbumSecret& kept) { told = kept; };
    }

    SiteResult Generate() {
        ProjectFields fields;
        EntryList list;
        std::ostringstream err;
        EXPECT_TRUE(ReadCommandProject(files, "site.dat", fields, list, err)) << err.str();
        const PreparedGenerate prepared =
            PrepareGenerate(files, list, fields.templateFile, fields.outputFolder, fields.web);
        const GenerateRequest& request = std::get<GenerateRequest>(prepared);
        EXPECT_TRUE(IsMadeAsSite(files, request, "site.dat"));
        Site site = std::get<Site>(LoadSite(files, request, "site.dat"));
        asked.clear();
        return WriteSite(files, site, ReadCommandPreferences(files).tags, request.outputFolder,
                         tools);
    }

    // The sealed folder of the key last told, from the output folder.
    std::string Sealed() { return "web/open_air/" + SealedFolderName(cipher, told.key) + "/"; }
    // The staging folder of the private album.
    std::string Staging() const {
        for (const auto& entry : fs::directory_iterator(scratch / "cache/vistello/private"))
            return entry.path();
        return {};
    }

    // Every file of the album as made now is the blob of its path, holding it, and every page has
    // its stub: the names of those blobs and stubs.
    std::set<std::string> ExpectSealedAsMade(const std::string& key) {
        const std::string staging = Staging() + "/";
        const std::string sealed = "web/open_air/" + SealedFolderName(cipher, key) + "/";
        std::set<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(staging)) {
            const std::string path = fs::relative(entry.path(), staging).string();
            if (!entry.is_regular_file() || path.starts_with('.') || path.find("/.") != path.npos)
                continue;
            const std::string id = BlobId(cipher, key, path);
            names.insert(id + ".js");
            const std::optional<OpenedBlob> opened =
                OpenBlobText(cipher, key, id, ReadBytes(sealed + id + ".js"));
            EXPECT_TRUE(opened && opened->path == path && opened->data == ReadBytes(entry.path()))
                << path;
            if (IsPagePath(path)) {
                EXPECT_EQ(ReadBytes(sealed + id + ".html"), StubPage(id));
                names.insert(id + ".html");
            }
        }
        return names;
    }

    static constexpr const char* kSecretProject =
        "PRIVATE=yes\r\nIMAGE=pics/Hidden Beach.jpg\r\nTITLE=Sunset Kiss\r\n"
        "DESCRIPTION=Honeymoon in Bali\r\nKEYWORDS=anniversary\r\nALT=couple at dusk\r\n\r\n"
        "IMAGE=pics/Clipzilla.mov\r\nTITLE=Waves\r\n\r\nIMAGE=inner.dat\r\n"
        "TITLE=Inner Sanctum\r\n";

    ScratchDir scratch;
    RealFileOps files;
    FakePhotoReader photos;
    FakeImageMaker images;
    FakeClipMaker clips;
    OpenSslAlbumCipher cipher;
    SiteTools tools;
    std::optional<AlbumSecret> secret = AlbumSecret{"", "correct horse"};
    std::vector<std::string> asked;
    AlbumSecret told;
};

// A site with a public and a private album: the private one, its album inside it too, is one
// folder of meaningless names that gives away nothing, in any file of the output folder; each
// blob opens under the key to a file of the album as made, and the tile above shows only a lock.
TEST_F(PrivateSiteTest, APrivateAlbumGivesAwayNothingAndOpensWithItsKey) {
    const SiteResult made = Generate();
    EXPECT_THAT(made.skipped, IsEmpty());
    EXPECT_THAT(made.pages.failures, IsEmpty());
    EXPECT_EQ(asked, std::vector<std::string>{"secret.dat"});
    ASSERT_EQ(told.key.size(), 32u);
    EXPECT_EQ(told.password, "correct horse");
    const std::string sealed = Sealed();
    const std::string above = ReadBytes("web/open_air/index.htm");
    EXPECT_THAT(above, HasSubstr("[\"" + sealed.substr(13) + "index.html\" Private album <svg"));
    EXPECT_THAT(above, HasSubstr("aria-label=\"Private\""));
    EXPECT_THAT(above, HasSubstr("</svg> ; ]"));
    // Nothing of it is taken in above: no count, no day.
    EXPECT_THAT(ReadBytes("web/index.htm"),
                HasSubstr("[\"open_air/index.htm\" Open Air <picture>"));
    EXPECT_THAT(ReadBytes("web/index.htm"), HasSubstr(" 1 photo; ]"));
    for (const std::string& folder : {scratch / "cache/vistello/private", Staging()})
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all) << folder;

    for (const auto& entry : fs::recursive_directory_iterator("web")) {
        if (!entry.is_regular_file()) continue;
        const std::string bytes = ReadBytes(entry.path());
        for (const std::string& secretText : kSecrets)
            EXPECT_EQ(bytes.find(secretText), std::string::npos) << entry.path() << secretText;
        if (!entry.path().string().starts_with(sealed)) continue;
        EXPECT_TRUE(std::regex_match(entry.path().filename().string(),
                                     std::regex("[0-9a-f]{32}\\.(js|html)|index\\.html|"
                                                "vistello-(open|crypto|key)\\.js")))
            << entry.path();
        for (const std::string& signature : {std::string("\xFF\xD8\xFF"), std::string("\x89PNG"),
                                             std::string("WEBP"), std::string("ftyp")})
            EXPECT_EQ(bytes.find(signature), std::string::npos) << entry.path();
    }

    // Every file of the album as made is one blob, every page has its stub, and nothing else is
    // sealed.
    std::set<std::string> blobs = ExpectSealedAsMade(told.key);
    EXPECT_EQ(ReadBytes(sealed + "index.html"), StubPage(BlobId(cipher, told.key, "index.htm")));
    EXPECT_TRUE(fs::exists(Staging() + "/inner_sanctum/deepest.htm"));
    for (const char* fixed :
         {"index.html", "vistello-open.js", "vistello-crypto.js", "vistello-key.js"})
        blobs.insert(fixed);
    std::set<std::string> inFolder;
    for (const auto& entry : fs::directory_iterator(sealed))
        inFolder.insert(entry.path().filename().string());
    EXPECT_EQ(inFolder, blobs);
    const auto key = ReadKeyFile(ReadBytes(sealed + std::string(kKeyFileName)));
    ASSERT_TRUE(std::holds_alternative<WrappedKey>(key));
    EXPECT_EQ(UnwrapKey(cipher, std::get<WrappedKey>(key), "correct horse"), told.key);
}

// A second Generate writes nothing; a new password rewrites the key file alone; a machine that
// forgot the key reads it back from the album as published; a wrong password, no password or no
// cipher leaves the album out, as it was.
TEST_F(PrivateSiteTest, OnlyWhatChangedIsWrittenAndAPasswordChangeRewritesTheKeyFileAlone) {
    Generate();
    const AlbumSecret first = told;
    const std::string key = Sealed().substr(4) + std::string(kKeyFileName);
    const Snapshot made = Take("web");
    secret = first;
    EXPECT_THAT(Generate().skipped, IsEmpty());
    EXPECT_THAT(Changed(made, Take("web")), IsEmpty());

    // Made again after the album changed, the blobs of its files that did not change stay.
    WriteMedia("pics/Deep.jpg", "deepbytes2");
    EXPECT_THAT(Generate().skipped, IsEmpty());
    const Snapshot remade = Take("web");
    const std::set<std::string> changed = Changed(made, remade);
    EXPECT_LT(changed.size(), made.files.size() / 3) << changed.size();
    EXPECT_FALSE(changed.contains(key));
    ExpectSealedAsMade(first.key);

    secret = AlbumSecret{first.key, "new password"};
    EXPECT_THAT(Generate().skipped, IsEmpty());
    const Snapshot rewrapped = Take("web");
    EXPECT_EQ(Changed(remade, rewrapped), std::set<std::string>{key});
    const auto wrapped = ReadKeyFile(rewrapped.files.at(key).first);
    ASSERT_TRUE(std::holds_alternative<WrappedKey>(wrapped));
    EXPECT_EQ(UnwrapKey(cipher, std::get<WrappedKey>(wrapped), "new password"), first.key);

    secret = AlbumSecret{"", "new password"};
    told = {};
    EXPECT_THAT(Generate().skipped, IsEmpty());
    EXPECT_EQ(told.key, first.key);
    EXPECT_THAT(Changed(rewrapped, Take("web")), IsEmpty());

    secret = AlbumSecret{"", "correct horse"};
    EXPECT_EQ(Generate().skipped, std::vector<std::string>{"secret.dat: not written, the password "
                                                           "does not open the album as published"});
    secret = std::nullopt;
    EXPECT_EQ(Generate().skipped,
              std::vector<std::string>{"secret.dat: not written, no password was given for it"});
    tools.cipher = nullptr;
    tools.cipherFailure = "no such module";
    EXPECT_EQ(Generate().skipped,
              std::vector<std::string>{"secret.dat: not written, private albums are sealed with "
                                       "the crypto library, which could not be loaded: no such "
                                       "module"});
    EXPECT_THAT(asked, IsEmpty());
    const Snapshot kept = Take("web");
    for (const auto& [path, file] : rewrapped.files) {
        if (path.starts_with(Sealed().substr(4))) {
            EXPECT_EQ(kept.files.at(path), file) << path;
        }
    }
}

// A new key seals the album into a new folder and the old one goes; made public, its sealed
// folder and what it was made from go, and its pages stand in its own folder.
TEST_F(PrivateSiteTest, ANewKeyOrMakingItPublicTakesTheSealedFolderAway) {
    Generate();
    const std::string old = Sealed();
    secret = AlbumSecret{std::string(32, 'k'), "correct horse"};
    EXPECT_THAT(Generate().skipped, IsEmpty());
    EXPECT_FALSE(fs::exists(old));
    EXPECT_TRUE(fs::exists(Sealed() + "index.html"));
    EXPECT_THAT(ReadBytes("web/open_air/index.htm"), HasSubstr(Sealed().substr(13) + "index.html"));

    // A file changed since it was sealed is the user's now, and keeps its folder.
    WriteBytes(Sealed() + "index.html", "mine");
    std::string project = kSecretProject;
    WriteBytes("secret.dat", project.replace(0, 13, "PRIVATE_TITLE=yes\r\n"));
    const SiteResult made = Generate();
    EXPECT_THAT(made.skipped, IsEmpty());
    EXPECT_THAT(made.pages.kept,
                ElementsAre(Sealed() + "index.html: kept, it changed since it was sealed"));
    EXPECT_EQ(scratch.Names(Sealed()), std::set<std::string>{"index.html"});
    EXPECT_TRUE(fs::is_empty(scratch / "cache/vistello/private"));
    EXPECT_TRUE(fs::exists("web/open_air/secret_garden/inner_sanctum/deepest.htm"));
    EXPECT_THAT(ReadBytes("web/open_air/index.htm"), HasSubstr("secret_garden/index.htm"));
}

// A private top seals the whole site into the output folder, whose pages made public go; made
// public again, what was sealed goes.
TEST_F(PrivateSiteTest, APrivateTopSealsTheOutputFolderItself) {
    const std::string plain =
        "TEMPLATE=page.htm\r\nOUTPUT=web\r\nIMAGE=pics/top.jpg\r\nTITLE=Top\r\n";
    WriteBytes("site.dat", plain);
    std::ostringstream out, err;
    ASSERT_EQ(RunGenerateCommand(files, images, photos, clips, "site.dat", out, err), 0);
    EXPECT_TRUE(fs::exists("web/top.htm"));
    WriteBytes("site.dat",
               "PRIVATE=yes\r\nTEMPLATE=page.htm\r\nOUTPUT=web\r\nIMAGE=pics/Hidden Beach.jpg\r\n"
               "TITLE=Sunset Kiss\r\n\r\nIMAGE=pics/top.jpg\r\nTITLE=Top\r\n");
    // Without its password, the site stays as it was.
    secret = std::nullopt;
    EXPECT_THAT(Generate().skipped, ElementsAre(HasSubstr("no password")));
    EXPECT_TRUE(fs::exists("web/top.htm"));
    secret = AlbumSecret{"", "correct horse"};
    EXPECT_THAT(Generate().skipped, IsEmpty());
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator("web"))
        names.insert(entry.path().filename().string());
    // Two pages and two pictures, a stub for each page and the first, the scripts, the key, the
    // site's record.
    EXPECT_EQ(names.size(), 11u) << ::testing::PrintToString(names);
    EXPECT_TRUE(names.contains("index.html") && names.contains(".vistello-site"));
    EXPECT_EQ(ReadBytes("web/index.html"), StubPage(BlobId(cipher, told.key, "top.htm")));
    for (const auto& entry : fs::directory_iterator("web")) {
        for (const std::string& secretText : kSecrets)
            EXPECT_EQ(ReadBytes(entry.path()).find(secretText), std::string::npos);
    }

    WriteBytes("site.dat", plain);
    EXPECT_EQ(RunGenerateCommand(files, images, photos, clips, "site.dat", out, err), 0)
        << err.str();
    names.clear();
    for (const auto& entry : fs::directory_iterator("web"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names,
              (std::set<std::string>{".vistello-images", ".vistello-site", "top.htm", "top.jpg"}));
}

}  // namespace
}  // namespace vistello::testing
