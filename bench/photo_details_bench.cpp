// Reading the details of 10,000 photos of 2 to 10 MiB each, half JPEG and half HEIC, with EXIF,
// IPTC and XMP, the date taken and the shooting data, against the floor of opening each file and
// reading its first 64 KiB. The details sit at the front of a photo, so a reader that reads whole
// photos shows here. The photos are the seed photos with their details, made 2 to 10 MiB long by
// a hole at the end that takes no disk space.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "images/heif_metadata.h"
#include "photo/exiv2_photo_reader.h"
#include "support/temp_dir.h"

namespace vistello {
namespace {

constexpr int kPhotos = 10000;

class Photos {
public:
    Photos() {
        const std::string seeds[] = {testing::ReadBytes(VISTELLO_PHOTO_SEED),
                                     testing::ReadBytes(VISTELLO_HEIC_SEED)};
        for (int i = 0; i < kPhotos; ++i) {
            const std::string path =
                m_scratch / ("photo_" + std::to_string(i) + (i % 2 == 0 ? ".jpg" : ".heic"));
            testing::WriteBytes(path, seeds[i % 2]);
            const off_t mib = 2 + i % 9;
            if (::truncate(path.c_str(), mib * 1024 * 1024) != 0) m_paths.clear();
            m_paths.push_back(path);
        }
        // Both sides read from the page cache, holes included, rather than the first to run
        // paying for filling it.
        for (const std::string& path : m_paths) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            std::vector<char> front(64 * 1024);
            benchmark::DoNotOptimize(::read(fd, front.data(), front.size()));
            ::close(fd);
        }
    }
    const std::vector<std::string>& Paths() const { return m_paths; }

private:
    testing::ScratchDir m_scratch;
    std::vector<std::string> m_paths;
};

const Photos& SharedPhotos() {
    static const Photos photos;
    return photos;
}

// Every photo must give what is asked of it: the page fields as well, or only when and how it
// was taken.
void ReadEach(benchmark::State& state, bool fields) {
    const Photos& photos = SharedPhotos();
    RealFileOps files;
    LibheifReader heif;
    Exiv2PhotoReader reader(files, heif);
    for (auto _ : state) {
        size_t found = 0;
        for (const std::string& path : photos.Paths()) {
            const std::optional<PhotoDetails> details =
                fields ? reader.Read(path) : reader.ReadWhenAndHow(path);
            found += details && details->title.empty() != fields && details->takenAt &&
                             !details->shooting.exposure.empty()
                         ? 1
                         : 0;
        }
        if (found != photos.Paths().size()) state.SkipWithError("details were not read");
    }
}

void ReadPhotoDetails(benchmark::State& state) { ReadEach(state, true); }
BENCHMARK(ReadPhotoDetails)->Unit(benchmark::kMillisecond);

void ReadWhenAndHowTaken(benchmark::State& state) { ReadEach(state, false); }
BENCHMARK(ReadWhenAndHowTaken)->Unit(benchmark::kMillisecond);

void OpenAndReadFirst64KiB(benchmark::State& state) {
    const Photos& photos = SharedPhotos();
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        for (const std::string& path : photos.Paths()) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            benchmark::DoNotOptimize(::read(fd, buffer.data(), buffer.size()));
            ::close(fd);
        }
    }
}
BENCHMARK(OpenAndReadFirst64KiB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vistello
