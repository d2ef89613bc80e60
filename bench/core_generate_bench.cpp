// A first Generate into an empty folder against its floor: the same images copied by the kernel
// and the same page bytes written, each file as safely as it must be (a new temporary file
// beside it, then renamed into place) and nothing more, nothing built. The floor also runs on two
// threads, to tell whether writing on every core would help. Each round has all three, each into
// a new folder; the medians are compared. Large images are 1,000 of 1 MiB:
// 10,000 of them would be 10 GB, more than the disk and the time of the machines this runs on
// can spare. Even so the album and its rounds hold some 7 GB until the run ends.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "generate_album.h"

namespace vistello::bench {
namespace {

std::string PagePath(const std::string& folder, int i) {
    return folder + "/day_number_" + std::to_string(i) + ".htm";
}

std::vector<std::string> ReadPages(const Album& album, const std::string& folder) {
    std::vector<std::string> pages;
    for (int i = 0; i < album.Entries(); ++i) {
        std::ifstream in(PagePath(folder, i), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        pages.push_back(bytes.str());
    }
    return pages;
}

// Fills a new temporary beside `to` and renames it into place.
template <typename Fill>
bool ReplaceSafely(const std::string& to, Fill fill) {
    const std::string temp = to + ".tmp";
    const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    const bool filled = out >= 0 && fill(out);
    return ::close(out) == 0 && filled && ::rename(temp.c_str(), to.c_str()) == 0;
}

bool KernelCopy(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    const bool copied = ReplaceSafely(to, [in](int out) {
        ssize_t step = 1;
        while (in >= 0 && step > 0)
            step = ::copy_file_range(in, nullptr, out, nullptr, size_t{1} << 30, 0);
        return step == 0;
    });
    ::close(in);
    return copied;
}

bool WritePage(const std::string& path, const std::string& bytes) {
    return ReplaceSafely(path, [&bytes](int fd) {
        return ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    });
}

double CopyImagesAndWritePages(const Album& album, const std::vector<std::string>& pages,
                               const std::string& folder, int threads, bool& ok) {
    const auto start = std::chrono::steady_clock::now();
    std::atomic<bool> whole = true;
    {
        std::vector<std::jthread> workers;
        for (int first = 0; first < threads; ++first) {
            workers.emplace_back([&, first] {
                for (int i = first; i < album.Entries(); i += threads) {
                    if (!KernelCopy(album.Image(i), folder + "/img" + std::to_string(i) + ".jpg") ||
                        !WritePage(PagePath(folder, i), pages[static_cast<size_t>(i)]))
                        whole = false;
                }
            });
        }
    }
    ok = ok && whole;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The time is Generate's; the floor's median and Generate's share of it are counters.
void GenerateAgainstFloor(benchmark::State& state, Album& album) {
    GenerateWindow run(album);
    bool ok = true;
    std::vector<double> generates;
    std::vector<double> floors;
    std::vector<double> twoThreadFloors;
    for (auto _ : state) {
        // Each run starts with nothing left to write back from the one before, which would
        // otherwise be charged to whichever runs next.
        const std::string web = album.NewWeb();
        ::sync();
        generates.push_back(run.Generate(web, ok));
        state.SetIterationTime(generates.back());
        const std::vector<std::string> pages = ReadPages(album, web);
        ::sync();
        floors.push_back(CopyImagesAndWritePages(album, pages, album.NewWeb(), 1, ok));
        ::sync();
        twoThreadFloors.push_back(CopyImagesAndWritePages(album, pages, album.NewWeb(), 2, ok));
    }
    state.counters["floor_ms"] = 1000 * Median(floors);
    state.counters["two_thread_floor_ms"] = 1000 * Median(twoThreadFloors);
    state.counters["ratio"] = Median(generates) / Median(floors);
    if (!ok) state.SkipWithError(("Generate said: " + run.system.boxes.back().text).c_str());
}

void BM_GenerateManySmallImages(benchmark::State& state) {
    GenerateAgainstFloor(state, ManySmallImages());
}
BENCHMARK(BM_GenerateManySmallImages)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

void BM_GenerateLargeImages(benchmark::State& state) {
    static Album album(1000, 1024 * 1024);
    GenerateAgainstFloor(state, album);
}
BENCHMARK(BM_GenerateLargeImages)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace
}  // namespace vistello::bench
