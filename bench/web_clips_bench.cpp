// Web versions of 20 clips of 10 seconds at 1080p against the floor of ffmpeg itself run with the
// same arguments, as many at once as cores; then a second run of the unchanged show against the
// first, and how soon Cancel ends the conversions under way. The clips are made once, by ffmpeg
// from its own test sources, and kept in the build folder.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clip/child_process.h"
#include "clip/clip_source.h"
#include "clip/ffmpeg_clip_maker.h"
#include "generator/page_set.h"
#include "images/vips_image_maker.h"
#include "pictures/parallel_run.h"

namespace vistello {
namespace {

namespace fs = std::filesystem;

constexpr int kClips = 20;
const fs::path kClipFolder = VISTELLO_BENCH_CLIPS;
const fs::path kOut = fs::temp_directory_path() / "vistello-clip-bench";

std::string ClipName(int i) { return "clip_" + std::to_string(i) + ".mov"; }
// Already what a web version is: H.264 in 4:2:0 with AAC, the index first.
std::string ReadyName(int i) { return "ready_" + std::to_string(i) + ".mp4"; }

void MakeClipsOnce() {
    if (fs::exists(kClipFolder / "done")) return;
    fs::create_directories(kClipFolder);
    RunInParallel(
        kClips, CoreCount(),
        [](int i) {
            const std::vector<std::string> source = {
                "ffmpeg",
                "-v",
                "error",
                "-f",
                "lavfi",
                "-i",
                "testsrc2=duration=10:rate=30:size=1920x1080",
                "-f",
                "lavfi",
                "-i",
                "sine=duration=10:frequency=" + std::to_string(300 + i)};
            std::vector<std::string> clip = source;
            clip.insert(clip.end(), {"-c:v", "mpeg4", "-q:v", "4", "-c:a", "aac", "-y",
                                     "file:" + (kClipFolder / ClipName(i)).string()});
            RunChild(clip);
            std::vector<std::string> ready = source;
            ready.insert(ready.end(), {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt",
                                       "yuv420p", "-c:a", "aac", "-movflags", "+faststart", "-y",
                                       "file:" + (kClipFolder / ReadyName(i)).string()});
            RunChild(ready);
        },
        [](int) { return true; });
    std::fclose(std::fopen((kClipFolder / "done").c_str(), "w"));
}

void Fresh() {
    fs::remove_all(kOut);
    fs::create_directories(kOut);
}

// Each iteration runs `work` for every clip, as many at once as cores, into a fresh folder.
void EachClip(benchmark::State& state, const std::function<void(int clip)>& work) {
    MakeClipsOnce();
    for (auto _ : state) {
        state.PauseTiming();
        Fresh();
        state.ResumeTiming();
        RunInParallel(kClips, CoreCount(), work, [](int) { return true; });
    }
}

// A descriptor of a new file in the bench's folder.
int NewFile(const std::string& name) {
    return ::open((kOut / name).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

// ffmpeg with the program's own arguments, each clip's web version and poster.
void FfmpegDirectly(benchmark::State& state) {
    EachClip(state, [](int i) {
        const ClipJob job{(kClipFolder / ClipName(i)).string(), 1920, false};
        for (const bool poster : {false, true}) {
            const int fd = NewFile(std::to_string(i) + (poster ? ".jpg" : ".mp4"));
            const std::optional<ClipSource> source = ClipSource::Open(job.source);
            ChildCall call;
            call.args = poster ? PosterArguments(job, source->Container(), 1.0)
                               : VideoArguments(job, source->Container());
            call.fds = {source->Fd(), fd};
            RunChild(call);
            ::close(fd);
        }
    });
}

// Web-ready clips given their web versions, which copies their streams into new files.
void ReadyClipsRemuxed(benchmark::State& state) {
    FfmpegClipMaker maker;
    EachClip(state, [&maker](int i) {
        const int fd = NewFile(std::to_string(i) + ".mp4");
        maker.MakeVideo({(kClipFolder / ReadyName(i)).string(), 1920, false}, fd, {});
        ::close(fd);
    });
}

// The same clips copied by cp, the floor a web-ready clip's web version is measured against.
void ReadyClipsCopied(benchmark::State& state) {
    EachClip(state, [](int i) {
        RunChild({"cp", (kClipFolder / ReadyName(i)).string(),
                  (kOut / (std::to_string(i) + ".mp4")).string()});
    });
}

struct ClipShow {
    ClipShow() {
        for (int i = 0; i < kClips; ++i) {
            entries.push_back({"Clip " + std::to_string(i), "", "", "", "", "", "",
                               (kClipFolder / ClipName(i)).string()});
        }
        for (const ImageEntry& entry : entries) rows.push_back(&entry);
        web.maker = &images;
        web.clips = &clips;
    }
    PageSetResult Generate() {
        return WritePageSet(ops, rows, "<<MEDIA>>", tags, kOut.string() + "/", {}, nullptr, &web);
    }

    RealFileOps ops;
    VipsImageMaker images;
    FfmpegClipMaker clips;
    TagSet tags;
    std::vector<ImageEntry> entries;
    std::vector<const ImageEntry*> rows;
    WebShow web;
};

void WebClips(benchmark::State& state) {
    MakeClipsOnce();
    ClipShow show;
    for (auto _ : state) {
        state.PauseTiming();
        Fresh();
        state.ResumeTiming();
        if (!show.Generate().failures.empty()) state.SkipWithError("clips failed");
    }
}

void RegenerateUnchangedClips(benchmark::State& state) {
    MakeClipsOnce();
    ClipShow show;
    Fresh();
    show.Generate();
    for (auto _ : state) {
        if (!show.Generate().failures.empty()) state.SkipWithError("clips failed");
    }
}

// Cancel a second into the run: how long it takes to end once told, every conversion under way
// stopped. The longest of the runs is the figure.
void CancelClips(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    MakeClipsOnce();
    ClipShow show;
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Fresh();
        state.ResumeTiming();
        const Clock::time_point start = Clock::now();
        std::optional<Clock::time_point> told;
        show.web.onClip = [&](int, int, int) {
            if (Clock::now() - start < std::chrono::seconds(1)) return true;
            if (!told) told = Clock::now();
            return false;
        };
        if (!show.Generate().stopped || !told) {
            state.SkipWithError("the run was not cancelled");
            break;
        }
        const std::chrono::duration<double, std::milli> took = Clock::now() - *told;
        longest = std::max(longest, took.count());
    }
    state.counters["cancel_ms"] = longest;
}

BENCHMARK(FfmpegDirectly)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(WebClips)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(ReadyClipsRemuxed)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(ReadyClipsCopied)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(RegenerateUnchangedClips)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(CancelClips)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
}  // namespace vistello

BENCHMARK_MAIN();
