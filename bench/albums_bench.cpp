// Albums from a tree of 20,000 small camera photos in 400 folders, as `--import TREE --albums` and
// `--generate` make them, with the readers and the image maker the program uses.
// The import is held against reading the first 64 KiB of each photo, the same files in the same
// order, in this one process. The site from nothing (a page per photo with when and how it was
// taken, a thumbnail of 300 pixels and an overview per album, the photos copied as they are) is
// held against the image library's own thumbnailer making the same thumbnails on every core, the
// photos copied by the kernel and the same page bytes written, each file beside its place, then
// renamed into it. Then the site made again by a new run after one photo changed, and again with
// nothing changed, each against the first. Both sides run with the photos in the page cache.
// The tree is made once in the build folder; the peak memory of the program itself on it is
// measured by albums_memory.sh.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/generate_command.h"
#include "app/import_command.h"
#include "clip/ffmpeg_clip_maker.h"
#include "clip/ffprobe_clip_reader.h"
#include "images/heif_metadata.h"
#include "images/vips_image_maker.h"
#include "photo/exiv2_photo_reader.h"
#include "photo_tree.h"
#include "pictures/parallel_run.h"
#include "slides/media_reader.h"

namespace vistello::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kPhotos = 20000;
constexpr int kFolders = 400;
constexpr int kThumbnailSide = 300;
const fs::path kScratch = VISTELLO_BENCH_TREES;
const fs::path kRuns = kScratch / "runs";
const fs::path kTemplates = VISTELLO_TEMPLATES;

const PhotoTree& Tree() {
    static const PhotoTree tree = CachedPhotoTree(kScratch, kPhotos, kFolders);
    return tree;
}

// The readers and makers as the command line puts them together.
struct Tools {
    RealFileOps files;
    LibheifReader heif;
    Exiv2PhotoReader stills{files, heif};
    FfprobeClipReader clips;
    MediaReader photos{stills, clips};
    VipsImageMaker images;
    FfmpegClipMaker movies;
};

// A project that makes its site into `web` with the light look.
void WriteProject(const fs::path& project, const fs::path& web) {
    std::ofstream(project) << "TEMPLATE=" << (kTemplates / "light.htm").string()
                           << "\nOUTPUT=" << web.string() << "\nTHUMBSIDE=" << kThumbnailSide
                           << "\nOVERVIEW=" << (kTemplates / "light-overview.htm").string() << "\n";
}

// An empty folder of that name under the runs' folder, with nothing of an earlier run on its way
// to the disk.
fs::path Fresh(const std::string& name) {
    const fs::path folder = kRuns / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    ::sync();
    return folder;
}

// Why a run failed, or nothing.
std::string Import(const fs::path& project) {
    Tools tools;
    std::ostringstream out, err;
    const int status = RunImportCommand(tools.files, tools.photos, Tree().root, project.string(),
                                        false, out, err, true);
    return status == 0 ? std::string() : err.str();
}

std::string Generate(const fs::path& project) {
    Tools tools;
    std::ostringstream out, err;
    const int status = RunGenerateCommand(tools.files, tools.images, tools.photos, tools.movies,
                                          project.string(), out, err);
    return status == 0 ? std::string() : err.str();
}

void ReadPhotoHeads(benchmark::State& state) {
    std::vector<char> head(64 * 1024);
    for (auto _ : state) {
        for (const std::string& path : Tree().photos) {
            const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (file < 0 || ::read(file, head.data(), head.size()) <= 0)
                state.SkipWithError(("cannot read " + path).c_str());
            ::close(file);
        }
    }
}

void ImportTreeAsAlbums(benchmark::State& state) {
    Tree();
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path work = Fresh("import");
        WriteProject(work / "site.dat", work / "web");
        state.ResumeTiming();
        if (const std::string failure = Import(work / "site.dat"); !failure.empty())
            state.SkipWithError(failure.c_str());
    }
}

// The tree imported once, its site made into web/ by each round of the site's benchmarks.
struct SiteProject {
    SiteProject() : work(Fresh("site")) {
        WriteProject(project, web);
        failure = Import(project);
    }
    // The web folder empty, what earlier rounds made put aside until the next run of the program.
    void EmptyWeb() {
        if (fs::exists(web)) fs::rename(web, work / ("old" + std::to_string(++rounds)));
        fs::create_directories(web);
        ::sync();
    }

    fs::path work;
    fs::path project = work / "site.dat";
    fs::path web = work / "web";
    std::string failure;
    int rounds = 0;
};

SiteProject& Site() {
    static SiteProject site;
    return site;
}

void GenerateSite(benchmark::State& state) {
    SiteProject& site = Site();
    if (!site.failure.empty()) state.SkipWithError(site.failure.c_str());
    for (auto _ : state) {
        state.PauseTiming();
        site.EmptyWeb();
        state.ResumeTiming();
        if (const std::string failure = Generate(site.project); !failure.empty())
            state.SkipWithError(failure.c_str());
    }
}

// Fills a new temporary beside `to` from `from` and renames it into place.
bool KernelCopy(const fs::path& from, const fs::path& to) {
    const std::string temp = to.string() + ".tmp";
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    ssize_t step = in >= 0 && out >= 0 ? 1 : -1;
    while (step > 0) step = ::copy_file_range(in, nullptr, out, nullptr, size_t{1} << 30, 0);
    ::close(in);
    return ::close(out) == 0 && step == 0 && ::rename(temp.c_str(), to.c_str()) == 0;
}

// What the site holds besides thumbnails, by its place in the site: pages and photos.
std::map<fs::path, fs::path> PagesAndPhotos(const fs::path& web) {
    std::map<fs::path, fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(web)) {
        const fs::path& path = entry.path();
        if (entry.is_regular_file() && path.parent_path().filename() != "thumbs" &&
            (path.extension() == ".htm" || path.extension() == ".jpg"))
            files.emplace(path.lexically_relative(web), path);
    }
    return files;
}

void ThumbnailerAndCopies(benchmark::State& state) {
    SiteProject& site = Site();
    if (!fs::exists(site.web / "index.htm")) site.failure = Generate(site.project);
    if (!site.failure.empty()) state.SkipWithError(site.failure.c_str());
    const std::map<fs::path, fs::path> files = PagesAndPhotos(site.web);
    const fs::path list = site.work / "photos.txt";
    std::ofstream listed(list);
    for (const std::string& photo : Tree().photos) listed << photo << "\n";
    listed.close();
    const std::string thumbnail = "xargs -d '\\n' -P " + std::to_string(CoreCount()) +
                                  " -n 50 vipsthumbnail -s " + std::to_string(kThumbnailSide) +
                                  " -o ";
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path floor = Fresh("floor");
        for (const auto& [place, made] : files)
            fs::create_directories((floor / place).parent_path());
        fs::create_directories(floor / "thumbs");
        state.ResumeTiming();
        const std::string command = thumbnail + (floor / "thumbs").string() +
                                    "/%s.jpg[Q=85,strip,optimize_coding] < " + list.string();
        if (std::system(command.c_str()) != 0) state.SkipWithError("vipsthumbnail failed");
        // A page is copied from the site's, as if written from memory: its bytes are in the
        // page cache.
        for (const auto& [place, made] : files) {
            if (!KernelCopy(made, floor / place)) state.SkipWithError("a copy failed");
        }
    }
}

// Each round gives one photo other bytes: its neighbour's, then its own again.
void GenerateAfterOnePhotoChanged(benchmark::State& state) {
    SiteProject& site = Site();
    const std::string& photo = Tree().photos[kPhotos / 2];
    const std::string& other = Tree().photos[kPhotos / 2 + 1];
    const fs::path kept = site.work / "kept.jpg";
    fs::copy_file(photo, kept, fs::copy_options::overwrite_existing);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(++round % 2 ? other : kept.string(), photo,
                      fs::copy_options::overwrite_existing);
        ::sync();
        state.ResumeTiming();
        if (const std::string failure = Generate(site.project); !failure.empty())
            state.SkipWithError(failure.c_str());
    }
    fs::copy_file(kept, photo, fs::copy_options::overwrite_existing);
    if (round % 2) site.failure = Generate(site.project);
}

void GenerateUnchangedSite(benchmark::State& state) {
    SiteProject& site = Site();
    for (auto _ : state) {
        if (const std::string failure = Generate(site.project); !failure.empty())
            state.SkipWithError(failure.c_str());
    }
}

BENCHMARK(ReadPhotoHeads)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(ImportTreeAsAlbums)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(GenerateSite)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();
BENCHMARK(ThumbnailerAndCopies)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();
BENCHMARK(GenerateAfterOnePhotoChanged)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
BENCHMARK(GenerateUnchangedSite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            seconds[run.benchmark_name()] =
                run.GetAdjustedRealTime() / (run.time_unit == benchmark::kMillisecond ? 1000 : 1);
    }
    double Seconds(const std::string& prefix) const {
        for (const auto& [name, time] : seconds)
            if (name.starts_with(prefix)) return time;
        return 0;
    }
    std::map<std::string, double> seconds;
};

void PrintRatio(const char* what, double part, double whole, const char* target) {
    if (part > 0 && whole > 0) std::printf("%s: %.4f (target %s)\n", what, part / whole, target);
}

}  // namespace
}  // namespace vistello::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vistello::bench::Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto seconds = [&reporter](const char* name) { return reporter.Seconds(name); };
    using vistello::bench::PrintRatio;
    PrintRatio("Import of the tree as albums, of reading each photo's head",
               seconds("ImportTreeAsAlbums"), seconds("ReadPhotoHeads"), "at most 3");
    PrintRatio("The site from nothing, of the thumbnailer and copies", seconds("GenerateSite"),
               seconds("ThumbnailerAndCopies"), "at most 1.2");
    PrintRatio("The site again after one photo changed, of the first",
               seconds("GenerateAfterOnePhotoChanged"), seconds("GenerateSite"), "at most 0.01");
    PrintRatio("The unchanged site again, of the first", seconds("GenerateUnchangedSite"),
               seconds("GenerateSite"), "at most 0.1");
    std::filesystem::remove_all(vistello::bench::kRuns);
    benchmark::Shutdown();
    return 0;
}
