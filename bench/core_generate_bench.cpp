#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/fake_window_system.h"
#include "support/temp_dir.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello {
namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 10000;
constexpr size_t kTemplateBytes = 8 * 1024;
constexpr size_t kImageBytes = 2 * 1024;

std::string MakeTemplate() {
    static constexpr const char* kTags[] = {
        "<<BACK>>", "<<NEXT>>",     "<<IMAGEPATH>>", "<<IMAGETITLE>>", "<<DESCRIPTION>>",
        "<<ALT>>",  "<<KEYWORDS>>", "<<WIDTH>>",     "<<HEIGHT>>",     "<<BORDER>>"};
    const std::string filler = "<p class=\"x\">Some text <b>here</b></p>\n";
    std::string text;
    for (int round = 0; text.size() < kTemplateBytes; ++round) {
        text += filler;
        text += kTags[round % 10];
        text += "\n";
    }
    text.resize(kTemplateBytes);
    return text;
}

// A folder of small images and a template, made once for every benchmark in the run.
class Album {
public:
    Album() {
        std::string pattern = (fs::temp_directory_path() / "vistello-bench-XXXXXX").string();
        m_root = ::mkdtemp(pattern.data());
        fs::create_directories(m_root / "pics");
        fs::create_directories(m_root / "web");
        std::ofstream(Template(), std::ios::binary) << MakeTemplate();
        const std::string bytes(kImageBytes, 'i');
        for (int i = 0; i < kEntries; ++i) std::ofstream(Image(i), std::ios::binary) << bytes;
    }
    ~Album() {
        std::error_code error;
        fs::remove_all(m_root, error);
    }
    Album(const Album&) = delete;
    Album& operator=(const Album&) = delete;

    std::string Template() const { return (m_root / "template.htm").string(); }
    std::string Image(int i) const {
        return (m_root / "pics" / ("img" + std::to_string(i) + ".jpg")).string();
    }
    std::string Web() const { return (m_root / "web").string(); }
    static std::string Title(int i) { return "Day Number " + std::to_string(i); }

private:
    fs::path m_root;
};

const Album& SharedAlbum() {
    static const Album album;
    return album;
}

void BM_Generate(benchmark::State& state) {
    const Album& album = SharedAlbum();
    const testing::ScratchDir scratch;
    testing::FakeWindowSystem system;
    CMainDialog dialog;
    testing::FakeWindow window(system, dialog);
    for (int i = kEntries - 1; i >= 0; --i) {
        dialog.m_listEntries.InsertTop({Album::Title(i), "480", "640", "", "alt text", "sea, beach",
                                        "A description", album.Image(i)});
    }
    dialog.RefreshEntryCount();
    for (auto _ : state) {
        window.Type(ids::kTemplate, album.Template());
        window.Type(ids::kOutputFolder, album.Web());
        window.Press(ids::kGenerate);
    }
    if (system.boxes.size() != static_cast<size_t>(state.iterations())) {
        state.SkipWithError("Generate reported a failure");
    }
}
BENCHMARK(BM_Generate)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor: the same images copied and the same page bytes written with plain buffered
// streams, nothing atomic, nothing built.
void BM_CopyImagesAndWritePages(benchmark::State& state) {
    const Album& album = SharedAlbum();
    const std::string folder = album.Web() + "/";
    std::vector<std::string> pages(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        std::ifstream in(folder + "day_number_" + std::to_string(i) + ".htm", std::ios::binary);
        pages[static_cast<size_t>(i)].assign(std::istreambuf_iterator<char>(in), {});
    }
    for (auto _ : state) {
        for (int i = 0; i < kEntries; ++i) {
            fs::copy_file(album.Image(i), folder + "img" + std::to_string(i) + ".jpg",
                          fs::copy_options::overwrite_existing);
            std::ofstream(folder + "day_number_" + std::to_string(i) + ".htm", std::ios::binary)
                << pages[static_cast<size_t>(i)];
        }
    }
}
BENCHMARK(BM_CopyImagesAndWritePages)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vistello
