// Thumbnails of photos no cache holds yet: made by the desktop's thumbnail cache on the program's
// picture threads, against the image library's own command-line thumbnailer run on every core on
// the same photos, at the same size, as PNG.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <sys/resource.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>

#include "files/file_ops.h"
#include "images/vips_image_maker.h"
#include "photo_tree.h"
#include "pictures/parallel_run.h"
#include "pictures/thumbnail_cache.h"

namespace vistello::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kPhotos = 1000;
constexpr int kFolders = 10;
const fs::path kScratch = VISTELLO_BENCH_TREES;
const fs::path kRuns = kScratch / "thumbnail-runs";

const PhotoTree& Tree() {
    static const PhotoTree tree = CachedPhotoTree(kScratch, kPhotos, kFolders);
    return tree;
}

std::string Md5(std::string_view bytes) {
    unsigned char sum[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), sum, &length, EVP_md5(), nullptr);
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", sum[i]);
        hex += digits;
    }
    return hex;
}

// Processor seconds of this process's threads, or of its children ended and waited for: less
// swayed than the time on a busy machine.
double ProcessorSeconds(int who) {
    struct rusage usage {};
    ::getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

fs::path Fresh(const std::string& name) {
    const fs::path folder = kRuns / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// Every photo asked for at once, in order, as a window asks for its tiles.
void ThumbnailCacheUncached(benchmark::State& state) {
    const PhotoTree& tree = Tree();
    RealFileOps ops;
    VipsImageMaker images;
    const double before = ProcessorSeconds(RUSAGE_SELF);
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path home = Fresh("cache");
        state.ResumeTiming();
        std::mutex mutex;
        std::condition_variable answered;
        int answers = 0;
        int failures = 0;
        const auto hear = [&](const ThumbnailAnswer& answer) {
            const std::lock_guard lock(mutex);
            ++answers;
            failures += answer.png.empty() ? 1 : 0;
            answered.notify_all();
        };
        ThumbnailCache cache(ops, images, ProgramPool(), home.string(), Md5);
        for (int i = 0; i < kPhotos; ++i) {
            if (const auto now =
                    cache.Request(static_cast<uint64_t>(i), tree.photos[static_cast<size_t>(i)],
                                  ThumbnailSize::Large, i,
                                  [&](uint64_t, ThumbnailAnswer answer) { hear(answer); }))
                hear(*now);
        }
        std::unique_lock lock(mutex);
        answered.wait(lock, [&] { return answers == kPhotos; });
        if (failures > 0) state.SkipWithError("a thumbnail failed");
    }
    state.counters["cpu_ms_a_photo"] = (ProcessorSeconds(RUSAGE_SELF) - before) * 1000 /
                                       (static_cast<double>(state.iterations()) * kPhotos);
}

void ThumbnailerOnEveryCore(benchmark::State& state) {
    const PhotoTree& tree = Tree();
    const fs::path list = kScratch / "thumbnail-photos.txt";
    std::ofstream listed(list);
    for (const std::string& photo : tree.photos) listed << photo << "\n";
    listed.close();
    const double before = ProcessorSeconds(RUSAGE_CHILDREN);
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path out = Fresh("thumbnailer");
        state.ResumeTiming();
        const std::string command = "xargs -d '\\n' -P " + std::to_string(CoreCount()) +
                                    " -n 50 vipsthumbnail -s 256 -o " + out.string() +
                                    "/%s.png < " + list.string();
        if (std::system(command.c_str()) != 0) state.SkipWithError("vipsthumbnail failed");
    }
    state.counters["cpu_ms_a_photo"] = (ProcessorSeconds(RUSAGE_CHILDREN) - before) * 1000 /
                                       (static_cast<double>(state.iterations()) * kPhotos);
}

BENCHMARK(ThumbnailCacheUncached)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(ThumbnailerOnEveryCore)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    double Time(const std::string& prefix) const {
        for (const auto& [name, time] : seconds)
            if (name.starts_with(prefix)) return time;
        return 0;
    }
    std::map<std::string, double> seconds;
};

}  // namespace
}  // namespace vistello::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vistello::bench::Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.Time("ThumbnailCacheUncached");
    const double theirs = reporter.Time("ThumbnailerOnEveryCore");
    if (ours > 0 && theirs > 0)
        std::printf(
            "Thumbnails made as fast as the thumbnailer makes them: %.2fx (target at least "
            "0.8)\n",
            theirs / ours);
    std::filesystem::remove_all(vistello::bench::kRuns);
    benchmark::Shutdown();
    return 0;
}
