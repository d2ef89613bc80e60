// Web copies (2048 pixels) and thumbnails (400) of 200 photos of 24 megapixels, against the floor
// of the image library's own command-line thumbnailer making the same two sizes of the same files
// with as many processes as cores; then a Generate after one title changed, against the first.
// Then the same with the whole ladder a picture element offers (every smaller size, JPEG and
// WebP) and thumbnails twice as sharp, against the thumbnailer making those files.
// Also 50 HEIC photos of 12 megapixels made into full-size JPEGs, as a show without web settings
// publishes them, against the library's own `vips copy` doing the same in as many processes as
// cores. The photos are made once and kept in the build folder; the peak memory of this process,
// which makes the images in the same way as the window, is printed at the end.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>
#include <vips/vips8>

#include "generator/page_set.h"
#include "images/vips_image_maker.h"
#include "photo_tree.h"
#include "pictures/parallel_run.h"

namespace vistello {
namespace {

namespace fs = std::filesystem;

constexpr int kPhotos = 200;
constexpr int kHeicPhotos = 50;
const fs::path kPhotoFolder = VISTELLO_BENCH_PHOTOS;
const fs::path kHeicFolder = kPhotoFolder / "heic";

// Soft shapes with grain, so each photo costs what a camera's would to decode.
void MakePhoto(const fs::path& path, int seed) {
    using vips::VImage;
    VImage shapes =
        VImage::gaussnoise(750, 500, VImage::option()->set("sigma", 60)->set("seed", seed));
    // Member bandjoin, not the static one of a list, which would leave the photo itself out.
    shapes = shapes.bandjoin(shapes.rot180()).bandjoin(shapes.flip(VIPS_DIRECTION_HORIZONTAL));
    VImage photo = shapes.resize(8, VImage::option()->set("kernel", VIPS_KERNEL_CUBIC));
    // Grain around nothing, or the photo would be lifted to white.
    photo = photo +
            VImage::gaussnoise(
                6000, 4000, VImage::option()->set("mean", 0)->set("sigma", 6)->set("seed", seed));
    photo.cast(VIPS_FORMAT_UCHAR).jpegsave(path.c_str(), VImage::option()->set("Q", 90));
}

// A phone's photo: 4000 by 3000 pixels, HEIC.
void MakeHeicPhoto(const fs::path& path, int seed) {
    using vips::VImage;
    VImage shapes =
        VImage::gaussnoise(500, 375, VImage::option()->set("sigma", 60)->set("seed", seed));
    shapes = shapes.bandjoin(shapes.rot180()).bandjoin(shapes.flip(VIPS_DIRECTION_HORIZONTAL));
    VImage photo = shapes.resize(8, VImage::option()->set("kernel", VIPS_KERNEL_CUBIC));
    photo.cast(VIPS_FORMAT_UCHAR)
        .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
        .heifsave(path.c_str(), VImage::option()->set("Q", 80));
}

// In a child process, so that making the photos does not count towards this one's memory.
void MakeOnce(const fs::path& folder, int count, void (*make)(const fs::path&, int),
              const std::string& extension) {
    if (fs::exists(folder / "done")) return;
    const pid_t child = ::fork();
    if (child == 0) {
        VIPS_INIT("bench");
        fs::create_directories(folder);
        bench::OnEveryCore(
            count, [&](int i) { make(folder / ("photo_" + std::to_string(i) + extension), i); });
        std::fclose(std::fopen((folder / "done").c_str(), "w"));
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
}

// A show of the photos in a folder, without web settings until they are set.
struct Show {
    Show(const fs::path& folder, int count, const std::string& extension) {
        for (int i = 0; i < count; ++i) {
            const std::string name = "photo_" + std::to_string(i) + extension;
            entries.push_back(
                {"Photo " + std::to_string(i), "", "", "", "", "", "", (folder / name).string()});
        }
        for (const ImageEntry& entry : entries) rows.push_back(&entry);
        web.maker = &maker;
    }

    PageSetResult Generate(const std::string& folder,
                           std::string_view page = "<<IMAGETITLE>><<IMAGEPATH>>") {
        return WritePageSet(ops, rows, page, tags, folder, {}, nullptr, &web);
    }

    RealFileOps ops;
    VipsImageMaker maker;
    TagSet tags;
    std::vector<ImageEntry> entries;
    std::vector<const ImageEntry*> rows;
    WebShow web;
};

Show& SharedShow() {
    static Show show = [] {
        MakeOnce(kPhotoFolder, kPhotos, MakePhoto, ".jpg");
        return Show(kPhotoFolder, kPhotos, ".jpg");
    }();
    show.web.settings.largestSide = 2048;
    show.web.settings.thumbnailSide = 400;
    return show;
}

// As a phone's show is published: without web settings.
Show& HeicShow() {
    static Show show = [] {
        MakeOnce(kHeicFolder, kHeicPhotos, MakeHeicPhoto, ".heic");
        return Show(kHeicFolder, kHeicPhotos, ".heic");
    }();
    return show;
}

const fs::path kOut = fs::temp_directory_path() / "vistello-web-bench";

void Fresh(const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder / "thumbs");
}

void Vipsthumbnail(benchmark::State& state) {
    SharedShow();
    const std::string cores = std::to_string(CoreCount());
    for (auto _ : state) {
        state.PauseTiming();
        Fresh(kOut / "floor");
        state.ResumeTiming();
        for (const char* size : {"2048", "400"}) {
            const std::string into = std::string(size) == "400" ? "floor/thumbs" : "floor";
            const std::string command = "ls " + kPhotoFolder.string() + "/photo_*.jpg | xargs -P " +
                                        cores + " -n 10 vipsthumbnail -s " + size + " -o " +
                                        (kOut / into).string() + "/%s.jpg[Q=85,strip]";
            if (std::system(command.c_str()) != 0) state.SkipWithError("vipsthumbnail failed");
        }
    }
}

void WebCopiesAndThumbnails(benchmark::State& state) {
    Show& show = SharedShow();
    for (auto _ : state) {
        state.PauseTiming();
        Fresh(kOut / "show");
        state.ResumeTiming();
        if (!show.Generate((kOut / "show/").string()).failures.empty())
            state.SkipWithError("images failed");
    }
}

// Each size in each format is a run of its own over every photo, as the thumbnailer makes one
// file per photo and run.
void VipsthumbnailLadder(benchmark::State& state) {
    SharedShow();
    const std::string cores = std::to_string(CoreCount());
    std::vector<std::pair<std::string, std::string>> runs;
    // The photos are wide, so the ladder's widths are their longer sides; WebP at the quality that
    // looks as a JPEG of 85 does.
    for (const char* size : {"2048", "1600", "1290", "1125", "750", "480"}) {
        runs.emplace_back(size, std::string("%s-") + size + ".jpg[Q=85,strip,optimize_coding]");
        runs.emplace_back(size, std::string("%s-") + size + ".webp[Q=78,strip]");
    }
    runs.emplace_back("400", "thumbs/%s.jpg[Q=85,strip,optimize_coding]");
    runs.emplace_back("800", "thumbs/%s-2x.jpg[Q=85,strip,optimize_coding]");
    for (auto _ : state) {
        state.PauseTiming();
        Fresh(kOut / "ladder-floor");
        state.ResumeTiming();
        for (const auto& [size, output] : runs) {
            const std::string command = "ls " + kPhotoFolder.string() + "/photo_*.jpg | xargs -P " +
                                        cores + " -n 10 vipsthumbnail -s " + size + " -o " +
                                        (kOut / "ladder-floor").string() + "/" + output;
            if (std::system(command.c_str()) != 0) state.SkipWithError("vipsthumbnail failed");
        }
    }
}

void LadderAndSharpThumbnails(benchmark::State& state) {
    Show& show = SharedShow();
    show.web.overviewText = "<<SLIDES>><<THUMBNAIL>><<ENDSLIDES>>";
    for (auto _ : state) {
        state.PauseTiming();
        Fresh(kOut / "ladder");
        state.ResumeTiming();
        if (!show.Generate((kOut / "ladder/").string(), "<<MEDIA>>").failures.empty())
            state.SkipWithError("images failed");
    }
    show.web.overviewText.clear();
}

void RegenerateAfterOneTitle(benchmark::State& state) {
    Show& show = SharedShow();
    Fresh(kOut / "again");
    show.Generate((kOut / "again/").string());
    int round = 0;
    for (auto _ : state) {
        show.entries[100].title = "Changed " + std::to_string(++round);
        if (!show.Generate((kOut / "again/").string()).failures.empty())
            state.SkipWithError("pages failed");
    }
}

void VipsCopyHeic(benchmark::State& state) {
    HeicShow();
    const std::string cores = std::to_string(CoreCount());
    for (auto _ : state) {
        state.PauseTiming();
        Fresh(kOut / "copies");
        state.ResumeTiming();
        const std::string command = "ls " + kHeicFolder.string() + "/*.heic | xargs -P " + cores +
                                    " -I@ sh -c 'vips copy @ " + (kOut / "copies").string() +
                                    "/$(basename @ .heic).jpg[Q=85,strip,optimize_coding]'";
        if (std::system(command.c_str()) != 0) state.SkipWithError("vips copy failed");
    }
}

void ConvertHeic(benchmark::State& state) {
    Show& show = HeicShow();
    for (auto _ : state) {
        state.PauseTiming();
        Fresh(kOut / "heic");
        state.ResumeTiming();
        const PageSetResult result = show.Generate((kOut / "heic/").string());
        if (result.converted != kHeicPhotos || !result.failures.empty())
            state.SkipWithError("photos were not converted");
    }
}

BENCHMARK(Vipsthumbnail)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();
BENCHMARK(WebCopiesAndThumbnails)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();
BENCHMARK(RegenerateAfterOneTitle)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(VipsthumbnailLadder)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(LadderAndSharpThumbnails)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(VipsCopyHeic)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();
BENCHMARK(ConvertHeic)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();

class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    double Seconds(const std::string& prefix) const {
        for (const auto& [name, time] : seconds)
            if (name.starts_with(prefix)) return time;
        return 0;
    }
    std::map<std::string, double> seconds;
};

}  // namespace
}  // namespace vistello

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vistello::Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double floor = reporter.Seconds("Vipsthumbnail/");
    const double made = reporter.Seconds("WebCopiesAndThumbnails");
    const double again = reporter.Seconds("RegenerateAfterOneTitle") / 1000;
    if (floor > 0 && made > 0) {
        std::printf("Web copies and thumbnails: %.2f of the floor (target at most 1.2)\n",
                    made / floor);
        std::printf("Regenerate after one title: %.4f of the first run (target at most 0.1)\n",
                    again / made);
    }
    const double ladderFloor = reporter.Seconds("VipsthumbnailLadder");
    const double ladder = reporter.Seconds("LadderAndSharpThumbnails");
    if (ladderFloor > 0 && ladder > 0) {
        std::printf("Ladder and sharp thumbnails: %.2f of the floor (target at most 1.2)\n",
                    ladder / ladderFloor);
    }
    const double copied = reporter.Seconds("VipsCopyHeic");
    const double converted = reporter.Seconds("ConvertHeic");
    if (copied > 0 && converted > 0) {
        std::printf("HEIC to full-size JPEG: %.2f of vips copy (target at most 1.2)\n",
                    converted / copied);
    }
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("Peak memory: %ld MB (target at most 400)\n", usage.ru_maxrss / 1024);
    std::filesystem::remove_all(vistello::kOut);
    benchmark::Shutdown();
    return 0;
}
