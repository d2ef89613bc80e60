#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello {
namespace {

ImageEntry Entry(std::mt19937& random) {
    const std::string title = "Slide " + std::to_string(random() % 1000000);
    const std::string description = "Taken on day " + std::to_string(random() % 1000000);
    return {title, "480", "640", "0", "alt", "trip, summer", description, "/pics/x.jpg"};
}

// Only the insertion is timed: making the entries and freeing the list are not part of it.
void InsertAtTop(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::mt19937 random(7);
        std::vector<ImageEntry> entries;
        entries.reserve(static_cast<size_t>(rows));
        for (int i = 0; i < rows; ++i) entries.push_back(Entry(random));
        auto view = std::make_unique<testing::FakeListView>();
        auto list = std::make_unique<EntryList>();
        auto shown = std::make_unique<EntryListView>(*list);
        shown->Attach(view.get());
        state.ResumeTiming();
        for (ImageEntry& entry : entries) list->InsertTop(std::move(entry));
        benchmark::DoNotOptimize(list->RowCount());
        state.PauseTiming();
        shown.reset();
        list.reset();
        view.reset();
        entries.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(InsertAtTop)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void HeaderClick(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const testing::ScratchDir scratch;
    testing::FakeWindowSystem system;
    CMainDialog dialog;
    testing::FakeWindow window(system, dialog);
    std::mt19937 random(11);
    for (int i = 0; i < rows; ++i) dialog.Inside().slides.InsertTop(Entry(random));
    // Alternate between two columns so that every click sorts rather than reverses.
    int column = 0;
    for (auto _ : state) {
        window.ClickHeader(ids::kEntryList, column);
        column = column == 0 ? 6 : 0;
        benchmark::DoNotOptimize(dialog.Inside().slides.Row(0));
    }
}
BENCHMARK(HeaderClick)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The list put in the order its photos were taken, their times known: one in twenty says none,
// and every click of the two orders sorts afresh.
void SortByDateTaken(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    std::mt19937 random(13);
    EntryList list;
    for (int i = 0; i < rows; ++i) list.InsertTop(Entry(random));
    std::vector<std::optional<TakenAt>> takenAt(static_cast<size_t>(rows));
    for (auto& taken : takenAt) {
        if (random() % 20 != 0) taken = 1'700'000'000'000LL + random() % 100'000'000'000LL;
    }
    for (auto _ : state) {
        list.SortByTakenAt(takenAt);
        std::reverse(takenAt.begin(), takenAt.end());
        benchmark::DoNotOptimize(list.Row(0));
    }
}
BENCHMARK(SortByDateTaken)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vistello
