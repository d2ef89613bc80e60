// The Pictures window over 20,000 camera photos whose thumbnails are in the desktop's cache: the
// time from the key that opens it to its grid drawn and a tile selected, the time until the tiles
// in sight show their pictures, every frame of a fast scroll from the first tile to the last and
// back, and the memory the window takes over the main window's. Prints the figures against their
// targets. The photos and their thumbnails are made once in the build folder.
//
//   vistello_pictures_bench          (QT_QPA_PLATFORM=offscreen, or under an X server)
#include <time.h>

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "files/file_ops.h"
#include "images/image_module.h"
#include "photo_tree.h"
#include "pictures/picture_pool.h"
#include "pictures/thumbnail_cache.h"
#include "qt/qt_md5.h"
#include "qt/qt_picture_grid.h"
#include "qt/qt_window.h"
#include "qt/qt_window_system.h"
#include "qt/tile_pictures.h"
#include "ui/cached_thumbnails.h"
#include "ui/main_dialog.h"
#include "ui/resource_ids.h"

namespace vistello {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPhotos = 20000;
constexpr int kFolders = 400;
// A Pictures window as large as a user would make it on a laptop's screen.
const QSize kWindow(1100, 760);
// Longer than this, and the tiles in sight are taken not to fill in at all.
constexpr auto kLongest = std::chrono::seconds(20);

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The resident memory of this process, in megabytes.
double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// Every photo's thumbnail in the cache, made on the picture threads where it is missing.
void FillCache(ThumbnailCache& cache, const std::vector<std::string>& photos) {
    std::atomic<int> made = 0;
    int answered = 0;
    const Clock::time_point start = Clock::now();
    for (size_t i = 0; i < photos.size(); ++i) {
        if (cache.Request(i + 1, photos[i], ThumbnailSize::Large, static_cast<int>(i),
                          [&made](uint64_t, ThumbnailAnswer) { ++made; })) {
            ++answered;
        }
    }
    const int waiting = static_cast<int>(photos.size()) - answered;
    while (made < waiting) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (waiting > 0) {
        std::printf("Made %d thumbnails in %.1f s\n", waiting,
                    Milliseconds(Clock::now() - start) / 1000);
    }
}

std::vector<ImageEntry> Slides(const std::vector<std::string>& photos) {
    std::vector<ImageEntry> slides;
    slides.reserve(photos.size());
    for (size_t i = 0; i < photos.size(); ++i) {
        ImageEntry slide;
        slide.title = "Photo " + std::to_string(i + 1);
        slide.imagePath = photos[i];
        slides.push_back(std::move(slide));
    }
    return slides;
}

// The tiles in sight show their pictures, read from the files at the tiles' size.
bool TilesFilled(QtPictureGrid& grid, TilePictures& pictures, TileSource& tiles) {
    const QModelIndex first = grid.indexAt(QPoint(2, 2));
    const QModelIndex last =
        grid.indexAt(QPoint(grid.viewport()->width() / 2, grid.viewport()->height() - 2));
    if (!first.isValid()) return false;
    const int end = last.isValid() ? last.row() : first.row();
    for (int row = first.row(); row <= end; ++row) {
        const TileLook look = tiles.Tile(row);
        if (look.picture.empty()) return false;
        if (pictures.Picture(QString::fromStdString(look.picture), grid.TileSize()).isNull())
            return false;
    }
    return true;
}

// The processor time the window's thread has taken, which a busy machine sways less than the
// time on the clock.
double ThreadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Frames {
    std::vector<double> times;
    std::vector<double> processor;
};

double Longest(const std::vector<double>& times) {
    return *std::max_element(times.begin(), times.end());
}

double Mean(const std::vector<double>& times) {
    double total = 0;
    for (const double time : times) total += time;
    return total / static_cast<double>(times.size());
}

// The time that all but one frame in a hundred stay within.
double Percentile99(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() * 99 / 100];
}

long Over(const std::vector<double>& times, double limit) {
    return std::count_if(times.begin(), times.end(), [limit](double t) { return t > limit; });
}

void PrintFrames(const char* name, const char* measure, const std::vector<double>& times) {
    std::printf(
        "scrolling %s, %zu frames, %s: longest %.1f ms, 99%% within %.1f ms, mean %.1f "
        "ms, %ld over 16 ms (target: none over 16)\n",
        name, times.size(), measure, Longest(times), Percentile99(times), Mean(times),
        Over(times, 16));
}

// Each frame the view moves on by half of what it shows, as a flick of the wheel does, and is
// drawn before the next.
Frames Scroll(QtPictureGrid& grid, bool down) {
    QScrollBar& bar = *grid.verticalScrollBar();
    const int step = std::max(grid.viewport()->height() / 2, 1);
    Frames frames;
    for (int at = down ? 0 : bar.maximum(); down ? at <= bar.maximum() : at >= 0;
         at += down ? step : -step) {
        const Clock::time_point start = Clock::now();
        const double processorStart = ThreadMilliseconds();
        bar.setValue(at);
        QApplication::processEvents();
        grid.viewport()->repaint();
        frames.times.push_back(Milliseconds(Clock::now() - start));
        frames.processor.push_back(ThreadMilliseconds() - processorStart);
    }
    return frames;
}

int Run() {
    const bench::PhotoTree tree = bench::CachedPhotoTree(VISTELLO_BENCH_TREES, kPhotos, kFolders);
    // The main window keeps its project and preferences in the folder it runs in.
    const QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());

    RealFileOps files;
    ImageModule images({VISTELLO_IMAGE_MODULE});
    ThumbnailCache cache(files, images, ProgramPool(), VISTELLO_BENCH_CACHE, QtMd5Hex);
    FillCache(cache, tree.photos);
    CachedThumbnails thumbnails(cache);

    QtWindowSystem system;
    CMainDialog dialog;
    dialog.UseThumbnails(thumbnails);
    QtWindow window(system, dialog, nullptr);
    window.Show();
    dialog.Inside().slides.InsertTop(Slides(tree.photos));
    QApplication::processEvents();
    const double mainWindow = ResidentMegabytes();

    const Clock::time_point opening = Clock::now();
    dialog.OnCommand(ids::kMenuShowPictures);
    QWidget* pictures = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowTitle() == "Pictures") pictures = widget;
    pictures->resize(kWindow);
    auto* grid = pictures->findChild<QtPictureGrid*>();
    QApplication::processEvents();
    grid->viewport()->repaint();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 0)).center());
    const double usable = Milliseconds(Clock::now() - opening);
    auto* tilePictures = pictures->findChild<TilePictures*>();
    TileSource& tiles = dialog.Inside().pictures;
    while (!TilesFilled(*grid, *tilePictures, tiles) && Clock::now() - opening < kLongest)
        QApplication::processEvents();
    const double filled = Milliseconds(Clock::now() - opening);

    const Frames down = Scroll(*grid, true);
    const Frames up = Scroll(*grid, false);
    const double withPictures = ResidentMegabytes();

    std::printf("Pictures window over %d photos with cached thumbnails, %dx%d\n", kPhotos,
                pictures->width(), pictures->height());
    std::printf("usable (drawn, a tile selected) after opening: %.0f ms (target at most 500)\n",
                usable);
    std::printf("tiles in sight filled in after opening: %.0f ms\n", filled);
    for (const auto& [name, frames] : {std::pair{"down", down}, std::pair{"up", up}}) {
        PrintFrames(name, "on the clock", frames.times);
        PrintFrames(name, "processor time of the window's thread", frames.processor);
    }

    std::printf("memory over the main window's: %.0f MB (target at most 300)\n",
                withPictures - mainWindow);
    return 0;
}

}  // namespace
}  // namespace vistello

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication application(argc, argv);

    return vistello::Run();
}
