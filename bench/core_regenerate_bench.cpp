// Generate again after one title changed, against the first Generate of the same project in the
// same run: only the changed page and its two neighbours are written. The window remembers what
// its last Generate left, so the rest costs a look at each file; a new window, as after a
// restart, builds every page and reads its file to compare. The first Generate is timed three
// times, each into a new folder, and the medians are compared, since the disk makes single runs
// of it vary by several times.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "generate_album.h"

namespace vistello::bench {
namespace {

void ChangeTitle(GenerateWindow& window, int row, const std::string& title) {
    ImageEntry entry = window.dialog.Inside().slides.Row(row);
    entry.title = title;
    window.dialog.Inside().slides.SetRow(row, std::move(entry));
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The time is the later Generate's; the first one's median and the share are counters.
void Regenerate(benchmark::State& state, bool newWindow) {
    Album& album = ManySmallImages();
    auto window = std::make_unique<GenerateWindow>(album);
    bool ok = true;
    std::vector<double> firsts;
    std::string web;
    for (int round = 0; round < 3; ++round) {
        web = album.NewWeb();
        firsts.push_back(window->Generate(web, ok));
    }
    ::sync();
    std::vector<double> agains;
    for (auto _ : state) {
        if (newWindow) {
            window.reset();
            window = std::make_unique<GenerateWindow>(album);
        }
        ChangeTitle(*window, album.Entries() / 2, "Changed " + std::to_string(agains.size()));
        agains.push_back(window->Generate(web, ok));
        state.SetIterationTime(agains.back());
    }
    state.counters["first_ms"] = 1000 * Median(firsts);
    state.counters["ratio"] = Median(agains) / Median(firsts);
    if (!ok) state.SkipWithError(("Generate said: " + window->system.boxes.back().text).c_str());
}

void BM_RegenerateAfterOneTitle(benchmark::State& state) { Regenerate(state, false); }
BENCHMARK(BM_RegenerateAfterOneTitle)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

void BM_RegenerateInANewWindow(benchmark::State& state) { Regenerate(state, true); }
BENCHMARK(BM_RegenerateInANewWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace
}  // namespace vistello::bench
