// The Qt list under what a large album meets: rows arriving one by one at the top, a header
// click, and the column fitting that follows every Add. Each runs at 10,000 and 100,000 rows; the
// closing lines give the 100k/10k time ratio, which stays near 10 when the cost per row is flat.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "qt/qt_list_view.h"
#include "slides/entry_list.h"
#include "ui/entry_list_view.h"

namespace vistello {
namespace {

ImageEntry MakeEntry(std::mt19937& random, int index) {
    const std::string number = std::to_string(random() % 1000000);
    return {"Slide " + number,
            std::to_string(random() % 2000),
            "640",
            "0",
            "alt " + number,
            "kw",
            "Picture number " + std::to_string(index),
            "/pictures/img_" + number + ".jpg"};
}

// A shown list the size of the main window's, its columns set up as the main window does.
struct ShownList {
    ShownList() : view(nullptr) {
        view.resize(440, 120);
        view.show();
        shown.Attach(&view);
        shown.SetupColumns();
        QApplication::processEvents();
    }

    QtListView view;
    EntryList entries;
    EntryListView shown{entries};
};

void InsertAtTop(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::mt19937 random(1);
        auto list = std::make_unique<ShownList>();
        state.ResumeTiming();
        for (int i = 0; i < rows; ++i) list->entries.InsertTop(MakeEntry(random, i));
        list->shown.AutoSizeColumns();
        QApplication::processEvents();
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}

// Columns 0 and 1 hold unrelated values, so clicking them in turn sorts every time rather than
// only reversing.
void HeaderClick(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    std::mt19937 random(2);
    ShownList list;
    for (int i = 0; i < rows; ++i) list.entries.InsertTop(MakeEntry(random, i));
    QApplication::processEvents();
    int column = 0;
    for (auto _ : state) {
        list.entries.SortByColumn(column);
        QApplication::processEvents();
        column = 1 - column;
    }
}

// What every Add pays on top of its insert: fitting all columns to their widest texts.
void FitColumns(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    std::mt19937 random(3);
    ShownList list;
    for (int i = 0; i < rows; ++i) list.entries.InsertTop(MakeEntry(random, i));
    for (auto _ : state) list.shown.AutoSizeColumns();
}

// One slide in a shown album of 100,000: inserted at the top, moved one place as Move Down
// moves it, or dragged from the bottom to the top and back.
struct ShownAlbum : ShownList {
    ShownAlbum() {
        std::mt19937 random(4);
        std::vector<ImageEntry> rows;
        for (int i = 0; i < 100000; ++i) rows.push_back(MakeEntry(random, i));
        entries.InsertTop(std::move(rows));
        shown.AutoSizeColumns();
        QApplication::processEvents();
    }
};

void InsertOne(benchmark::State& state) {
    ShownAlbum album;
    std::mt19937 random(5);
    for (auto _ : state) {
        album.entries.InsertTop(MakeEntry(random, 0));
        QApplication::processEvents();
    }
}

void MoveOneStep(benchmark::State& state) {
    ShownAlbum album;
    int row = 50000;
    for (auto _ : state) {
        album.entries.MoveRow(row, row ^ 1);
        row ^= 1;
        QApplication::processEvents();
    }
}

void MoveBottomToTop(benchmark::State& state) {
    ShownAlbum album;
    const int last = album.entries.RowCount() - 1;
    bool down = false;
    for (auto _ : state) {
        album.entries.MoveRow(down ? 0 : last, down ? last : 0);
        down = !down;
        QApplication::processEvents();
    }
}

BENCHMARK(InsertOne)->Unit(benchmark::kMicrosecond);
BENCHMARK(MoveOneStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(MoveBottomToTop)->Unit(benchmark::kMicrosecond);
BENCHMARK(InsertAtTop)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(HeaderClick)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FitColumns)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Keeps the mean time of each run by name to print the size ratios after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }

    void PrintRatio(const std::string& name) const {
        const auto small = times.find(name + "/10000");
        const auto large = times.find(name + "/100000");
        if (small == times.end() || large == times.end() || small->second <= 0) return;
        std::printf("%s: 100k/10k time ratio %.1f (target at most 15)\n", name.c_str(),
                    large->second / small->second);
    }

    void PrintCostOf(const std::string& name, const std::string& against) const {
        const auto measured = times.find(name);
        const auto floor = times.find(against);
        if (measured == times.end() || floor == times.end() || floor->second <= 0) return;
        std::printf("%s: %.2f of %s (target at most 1)\n", name.c_str(),
                    measured->second / floor->second, against.c_str());
    }

    std::map<std::string, double> times;
};

}  // namespace
}  // namespace vistello

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    vistello::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("InsertAtTop");
    reporter.PrintRatio("HeaderClick");
    reporter.PrintRatio("FitColumns");
    reporter.PrintRatio("ReadProjectIntoWindow");
    reporter.PrintRatio("SaveProjectFromWindow");
    reporter.PrintCostOf("MoveOneStep", "InsertOne");
    reporter.PrintCostOf("MoveBottomToTop", "InsertOne");
    benchmark::Shutdown();
    return 0;
}
