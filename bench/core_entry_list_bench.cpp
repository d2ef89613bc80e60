#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "support/fake_window_system.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello {
namespace {

ImageEntry Entry(std::mt19937& random) {
    const std::string title = "Slide " + std::to_string(random() % 1000000);
    const std::string description = "Taken on day " + std::to_string(random() % 1000000);
    return {title, "480", "640", "0", "alt", "trip, summer", description, "/pics/x.jpg"};
}

void InsertAtTop(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        testing::FakeListView view;
        EntryList list;
        list.Attach(&view);
        std::mt19937 random(7);
        for (int i = 0; i < rows; ++i) list.InsertTop(Entry(random));
        benchmark::DoNotOptimize(list.RowCount());
    }
}
BENCHMARK(InsertAtTop)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void HeaderClick(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    testing::FakeWindowSystem system;
    CMainDialog dialog;
    testing::FakeWindow window(system, dialog);
    std::mt19937 random(11);
    for (int i = 0; i < rows; ++i) dialog.m_listEntries.InsertTop(Entry(random));
    // Alternate between two columns so that every click sorts rather than reverses.
    int column = 0;
    for (auto _ : state) {
        window.ClickHeader(ids::kEntryList, column);
        column = column == 0 ? 6 : 0;
        benchmark::DoNotOptimize(dialog.m_listEntries.Row(0));
    }
}
BENCHMARK(HeaderClick)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vistello
