// The files of 1,000 slides taken out of a show of 2,000, removed by Generate (each looked at
// first: inside the folder, no link on the way, still as written, none of the show's own), against
// `rm -f` given the same files. Each round generates the show into a new folder, copies it for
// `rm`, and times both; the medians are compared. A slide is its page, its web copy and every
// smaller size in JPEG and WebP, and its thumbnail: 12 files.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "generator/page_set.h"
#include "generator/show_files.h"
#include "support/fake_image_maker.h"
#include "support/temp_dir.h"

namespace vistello::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kSlides = 2000;
constexpr int kRemoved = 1000;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Slide i's files are named after its image, "img<i>".
int SlideOf(const std::string& name) {
    const std::string file = fs::path(name).filename().string();
    return std::stoi(file.substr(3));
}

class Show {
public:
    Show() {
        std::string pattern = (fs::temp_directory_path() / "vistello-bench-XXXXXX").string();
        m_root = ::mkdtemp(pattern.data());
        fs::create_directories(m_root / "pics");
        for (int i = 0; i < kSlides; ++i) {
            const std::string image = (m_root / "pics" / ("img" + std::to_string(i) + ".jpg"));
            testing::WriteBytes(image, "photo " + std::to_string(i));
            m_entries.push_back({"img" + std::to_string(i), "", "", "", "", "", "", image});
        }
    }
    ~Show() {
        std::error_code error;
        fs::remove_all(m_root, error);
    }
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;

    std::string Project() const { return (m_root / "show.dat").string(); }
    std::span<const ImageEntry* const> Rows(int from) const {
        return std::span(m_rows).subspan(static_cast<size_t>(from));
    }

    // A new folder with the whole show generated into it.
    std::string Generate(int round) {
        const std::string folder = (m_root / ("web" + std::to_string(round))).string() + "/";
        fs::create_directories(folder);
        if (m_rows.empty()) {
            for (const ImageEntry& entry : m_entries) m_rows.push_back(&entry);
        }
        WebShow web;
        web.settings = {2048, 85, 400, false, "", false, ""};
        web.maker = &m_images;
        web.projectFile = Project();
        TagSet tags;
        WritePageSet(m_ops, m_rows, "<<MEDIA>>", tags, folder, {}, nullptr, &web);
        return folder;
    }

    std::string Root() const { return m_root.string(); }

private:
    fs::path m_root;
    std::vector<ImageEntry> m_entries;
    std::vector<const ImageEntry*> m_rows;
    RealFileOps m_ops;
    testing::FakeImageMaker m_images;
};

// Seconds `rm -f` took over the paths.
double TimeRm(const std::vector<std::string>& paths) {
    std::vector<char*> argv = {const_cast<char*>("rm"), const_cast<char*>("-f")};
    for (const std::string& path : paths) argv.push_back(const_cast<char*>(path.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execvp("rm", argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? took.count() : -1;
}

// The time is Generate's removal; rm's median and the share are counters.
void BM_RemoveFilesOfSlidesNoLongerInTheShow(benchmark::State& state) {
    Show show;
    RealFileOps ops;
    std::vector<double> ours;
    std::vector<double> rms;
    size_t files = 0;
    for (auto _ : state) {
        const std::string folder = show.Generate(static_cast<int>(ours.size()));
        MadeFiles made;
        made.Read(ops, folder);
        const std::string project = RecordKey(show.Project());
        ProjectPlaces places(ops, "");
        const WrittenFiles written = *made.Owned().Of(project);
        RunFiles run;
        const std::string copy = show.Root() + "/rm" + std::to_string(ours.size()) + "/";
        fs::copy(folder, copy, fs::copy_options::recursive);
        std::vector<std::string> removed;
        for (const auto& [name, mark] : written) {
            if (SlideOf(name) >= kRemoved) {
                run.files.emplace(name, mark);
            } else {
                removed.push_back(copy + name);
            }
        }
        ::sync();
        for (const ImageEntry* row : show.Rows(kRemoved)) {
            struct stat info {};
            if (::stat(row->imagePath.c_str(), &info) == 0)
                run.sources.emplace(info.st_dev, info.st_ino);
        }
        const ShowFiles showFiles{project, show.Project(), "", ""};
        const auto start = std::chrono::steady_clock::now();
        const LeftoverOutcome outcome =
            SettleShowFiles(ops, folder, showFiles, std::move(run), true, made.Owned(), places)
                .leftovers;
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        ours.push_back(took.count());
        rms.push_back(TimeRm(removed));
        state.SetIterationTime(ours.back());
        files = removed.size();
        if (outcome.removed.size() != removed.size() || rms.back() < 0) {
            state.SkipWithError("not every file was removed");
            return;
        }
    }
    state.counters["files"] = static_cast<double>(files);
    state.counters["rm_ms"] = 1000 * Median(rms);
    state.counters["ratio"] = Median(ours) / Median(rms);
}
BENCHMARK(BM_RemoveFilesOfSlidesNoLongerInTheShow)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

}  // namespace
}  // namespace vistello::bench
