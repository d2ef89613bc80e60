// A large project read into the real window at start-up and saved from it, offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <optional>
#include <string>
#include <vector>

#include "qt/qt_window.h"
#include "qt/qt_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello {
namespace {

ImageEntry ProjectEntry(int i) {
    const std::string n = std::to_string(i);
    return {"Slide " + n,
            "480",
            "640",
            "0",
            "A picture of slide " + n,
            "trip, summer",
            "Taken on day " + n + " of the trip, in the morning light.",
            "/home/u/pics/img_" + n + ".jpg"};
}

// The real window, shown, in a scratch folder whose project holds rows entries.
struct ShownProject {
    explicit ShownProject(int rows) {
        {
            CMainDialog seed;
            QtWindow window(system, seed, nullptr);
            std::vector<ImageEntry> entries;
            for (int i = 0; i < rows; ++i) entries.push_back(ProjectEntry(i));
            seed.m_listEntries.InsertTop(std::move(entries));
        }
    }

    testing::ScratchDir scratch;
    QtWindowSystem system;
};

void ReadProjectIntoWindow(benchmark::State& state) {
    ShownProject project(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CMainDialog dialog;
        std::optional<QtWindow> window(std::in_place, project.system, dialog, nullptr);
        window->Show();
        QApplication::processEvents();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

void SaveProjectFromWindow(benchmark::State& state) {
    ShownProject project(static_cast<int>(state.range(0)));
    CMainDialog dialog;
    QtWindow window(project.system, dialog, nullptr);
    window.Show();
    for (auto _ : state) {
        dialog.OnCommand(ids::kMenuSave);
        QApplication::processEvents();
    }
}

BENCHMARK(ReadProjectIntoWindow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveProjectFromWindow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vistello
