// A large project saved and read back through the in-memory window, and the floor a reader
// cannot beat: the same file's bytes read and split into lines.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "project_entries.h"
#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello {
namespace {

// The window's files live in a scratch folder; the project there holds rows entries.
class Workspace {
public:
    explicit Workspace(int rows) {
        testing::FakeWindowSystem system;
        CMainDialog dialog;
        testing::FakeWindow window(system, dialog);
        dialog.Inside().slides.InsertTop(AlbumEntries(rows));
    }

private:
    testing::ScratchDir m_scratch;
};

void WriteProject(benchmark::State& state) {
    const Workspace workspace(static_cast<int>(state.range(0)));
    testing::FakeWindowSystem system;
    CMainDialog dialog;
    testing::FakeWindow window(system, dialog);
    for (auto _ : state) window.Press(ids::kMenuSave);
    if (!system.boxes.empty()) state.SkipWithError("the project could not be written");
}

// The project read into the window's empty list, as at start-up; emptying the list between
// rounds is not timed.
void ReadProject(benchmark::State& state) {
    const Workspace workspace(static_cast<int>(state.range(0)));
    testing::FakeWindowSystem system;
    CMainDialog dialog;
    testing::FakeWindow window(system, dialog);
    for (auto _ : state) {
        state.PauseTiming();
        dialog.Inside().slides.DeleteAll();
        window.Press(ids::kClearFields);
        state.ResumeTiming();
        dialog.ReadProjectFile();
        if (dialog.Inside().slides.RowCount() != state.range(0)) state.SkipWithError("rows lost");
    }
}

void ReadAndSplitLines(benchmark::State& state) {
    const Workspace workspace(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::ifstream in("vistello.dat", std::ios::binary | std::ios::ate);
        std::string bytes(static_cast<size_t>(in.tellg()), '\0');
        in.seekg(0).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::vector<std::string_view> lines;
        std::string_view rest = bytes;
        for (size_t end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
            lines.push_back(rest.substr(0, end));
            rest.remove_prefix(end + 1);
        }
        benchmark::DoNotOptimize(lines.data());
    }
}

BENCHMARK(WriteProject)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadProject)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndSplitLines)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vistello
