// An album of 24 camera photos of 12 megapixels made for the web with the phone look (web copies
// of 2048 pixels, the ladder of smaller sizes in JPEG and WebP, thumbnails of 400), private against
// the same album public: from nothing, then again with nothing changed. Each reports the seconds of
// either and their ratio. The private album is made
// aside and sealed, its key wrapped anew from the password each time it is made from nothing. The
// photos are made once and kept in the build folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>
#include <vips/vips8>

#include "app/command_project.h"
#include "clip/ffmpeg_clip_maker.h"
#include "clip/ffprobe_clip_reader.h"
#include "crypto/openssl_album_cipher.h"
#include "images/heif_metadata.h"
#include "images/vips_image_maker.h"
#include "photo/exiv2_photo_reader.h"
#include "site/album_tree.h"
#include "site/site_writer.h"
#include "slides/media_reader.h"

namespace vistello::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kPhotos = 24;
const fs::path kScratch = VISTELLO_BENCH_PRIVATE;
const fs::path kTemplates = VISTELLO_TEMPLATES;

void MakePhoto(const fs::path& path, int seed) {
    using vips::VImage;
    VImage shapes =
        VImage::gaussnoise(500, 375, VImage::option()->set("sigma", 60)->set("seed", seed));
    shapes = shapes.bandjoin(shapes.rot180()).bandjoin(shapes.flip(VIPS_DIRECTION_HORIZONTAL));
    VImage photo = shapes.resize(8, VImage::option()->set("kernel", VIPS_KERNEL_CUBIC));
    photo.cast(VIPS_FORMAT_UCHAR).jpegsave(path.c_str(), VImage::option()->set("Q", 90));
}

// The photos, made when they are not all there yet, and the album's project naming them.
void MakeAlbum() {
    static const bool made = [] {
        VIPS_INIT("vistello_private_bench");
        fs::create_directories(kScratch / "photos");
        std::ofstream album(kScratch / "album.dat");
        for (int i = 0; i < kPhotos; ++i) {
            const fs::path photo = kScratch / "photos" / ("photo" + std::to_string(i) + ".jpg");
            if (!fs::exists(photo)) MakePhoto(photo, i + 1);
            album << "IMAGE=" << photo.string() << "\nTITLE=Photo " << i << "\n\n";
        }
        return true;
    }();
    (void)made;
}

// The readers and makers as the command line puts them together.
struct Tools {
    RealFileOps files;
    LibheifReader heif;
    Exiv2PhotoReader stills{files, heif};
    FfprobeClipReader clipReader;
    MediaReader photos{stills, clipReader};
    VipsImageMaker images;
    FfmpegClipMaker movies;
    OpenSslAlbumCipher cipher;
};

// A site in its own folder whose one album is the benchmark's, private or not.
struct SiteFolder {
    explicit SiteFolder(bool locked) : work(kScratch / (locked ? "private" : "public")) {
        MakeAlbum();
        fs::remove_all(work);
        fs::create_directories(work);
        std::stringstream text;
        text << std::ifstream(kScratch / "album.dat").rdbuf();
        std::ofstream(work / "album.dat") << (locked ? "PRIVATE=yes\n" : "") << text.str();
        std::ofstream(work / "site.dat")
            << "TEMPLATE=" << (kTemplates / "phone.htm").string()
            << "\nOUTPUT=web\nOVERVIEW=" << (kTemplates / "phone-overview.htm").string()
            << "\nWEBSIDE=2048\nTHUMBSIDE=400\nIMAGE=album.dat\nTITLE=The album\n";
    }

    // Empty folders for the site and what is sealed, nothing earlier still on its way to the disk.
    void Empty() {
        for (const char* folder : {"web", "cache"}) {
            fs::remove_all(work / folder);
            fs::create_directories(work / folder);
        }
        ::sync();
    }

    // Why the run failed, or nothing.
    std::string Generate() {
        const fs::path before = fs::current_path();
        fs::current_path(work);
        const std::string failure = GenerateHere();
        fs::current_path(before);
        return failure;
    }

    std::string GenerateHere() {
        ProjectFields fields;
        EntryList list;
        std::ostringstream err;
        if (!ReadCommandProject(tools.files, "site.dat", fields, list, err)) return err.str();
        const PreparedGenerate prepared = PrepareGenerate(tools.files, list, fields.templateFile,
                                                          fields.outputFolder, fields.web);
        const GenerateRequest& request = std::get<GenerateRequest>(prepared);
        const auto site = LoadSite(tools.files, request, "site.dat");
        SiteTools with;
        with.images = &tools.images;
        with.photos = &tools.photos;
        with.clips = &tools.movies;
        with.cipher = &tools.cipher;
        with.privateFolder = (work / "cache/").string();
        with.secretFor = [](const std::string&, const std::string&) {
            return AlbumSecret{std::string(32, 'k'), "a password of some length"};
        };
        const SiteResult made =
            WriteSite(tools.files, std::get<Site>(site), TagSet{}, request.outputFolder, with);
        if (!made.skipped.empty()) return made.skipped.front();
        if (!made.pages.failures.empty()) return made.pages.failures.front();
        return {};
    }

    Tools tools;
    fs::path work;
};

double SecondsOf(SiteFolder& site, benchmark::State& state) {
    const auto start = std::chrono::steady_clock::now();
    if (const std::string failure = site.Generate(); !failure.empty())
        state.SkipWithError(failure.c_str());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The two sites made in turn, the first of each round the other one than the round before, so
// that whatever else the machine does weighs on both alike.
void PrivateOfPublic(benchmark::State& state, bool fromNothing) {
    SiteFolder open(false);
    SiteFolder locked(true);
    for (SiteFolder* site : {&open, &locked}) {
        site->Empty();
        if (!fromNothing) SecondsOf(*site, state);
    }
    double openSeconds = 0;
    double lockedSeconds = 0;
    bool lockedFirst = false;
    for (auto _ : state) {
        if (fromNothing) {
            open.Empty();
            locked.Empty();
        }
        if (lockedFirst) lockedSeconds += SecondsOf(locked, state);
        openSeconds += SecondsOf(open, state);
        if (!lockedFirst) lockedSeconds += SecondsOf(locked, state);
        lockedFirst = !lockedFirst;
        state.SetIterationTime(lockedSeconds / (openSeconds > 0 ? openSeconds : 1));
    }
    state.counters["public_s"] = openSeconds / static_cast<double>(state.iterations());
    state.counters["private_s"] = lockedSeconds / static_cast<double>(state.iterations());
    state.counters["ratio"] = openSeconds > 0 ? lockedSeconds / openSeconds : 0;
}

BENCHMARK_CAPTURE(PrivateOfPublic, FromNothing, true)->Iterations(4)->UseManualTime();
BENCHMARK_CAPTURE(PrivateOfPublic, Unchanged, false)->Iterations(10)->UseManualTime();

}  // namespace
}  // namespace vistello::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf(
        "The ratio of a private album's Generate to the same album public is to be at "
        "most 1.1 from nothing.\n");
    return 0;
}
