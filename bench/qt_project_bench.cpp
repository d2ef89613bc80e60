// A large project read into the real window at start-up and saved from it, offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <optional>
#include <string>
#include <vector>

#include "project_entries.h"
#include "qt/qt_window.h"
#include "qt/qt_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello {
namespace {

// The real window, shown, in a scratch folder whose project holds rows entries.
struct ShownProject {
    explicit ShownProject(int rows) {
        {
            CMainDialog seed;
            QtWindow window(system, seed, nullptr);
            seed.Inside().slides.InsertTop(AlbumEntries(rows));
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
