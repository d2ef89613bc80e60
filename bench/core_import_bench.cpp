// Import Directory over a folder of 10,000 and of 100,000 image files into an empty list, every
// photo with details, so that the rows carry as much text as photos give them.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello {
namespace {

class DetailsForAll : public PhotoReader {
public:
    std::optional<PhotoDetails> Read(const std::string& path) override {
        return PhotoDetails{"A title", "A description of the photo " + path, "sea, sun", "Alt"};
    }
};

void ImportDirectory(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const testing::ScratchDir scratch;
    const std::string album = scratch / "album";
    std::filesystem::create_directory(album);
    for (int i = 0; i < files; ++i) std::ofstream(album + "/IMG_" + std::to_string(i) + ".JPG");
    testing::FakeWindowSystem system;
    CMainDialog dialog;
    DetailsForAll photos;
    dialog.UsePhotoReader(photos);
    testing::FakeWindow window(system, dialog);
    for (auto _ : state) {
        state.PauseTiming();
        dialog.Inside().slides.DeleteAll();
        system.pickerAnswers = {album};
        state.ResumeTiming();
        window.Press(ids::kMenuImportDirectory);
    }
    if (dialog.Inside().slides.RowCount() != files) state.SkipWithError("files were not imported");
}
BENCHMARK(ImportDirectory)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vistello
