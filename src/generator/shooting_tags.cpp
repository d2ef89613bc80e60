#include "generator/shooting_tags.h"

#include <sys/stat.h>

#include <algorithm>
#include <unordered_map>

#include "pictures/parallel_run.h"
#include "text/html_escape.h"

namespace vistello {

bool UsesShootingTags(std::string_view templateText) {
    return std::any_of(kShootingTags.begin(), kShootingTags.end(), [templateText](auto tag) {
        return templateText.find(tag) != std::string_view::npos;
    });
}

std::array<std::string, kShootingTags.size()> ShootingValues(const ShootingData& data) {
    return {HtmlEscaped(data.dateTaken), HtmlEscaped(data.camera), HtmlEscaped(data.lens),
            HtmlEscaped(data.exposure)};
}

std::optional<std::vector<ShootingData>> ReadShooting(FileOps& ops, PhotoReader& photos,
                                                      std::span<const ImageEntry* const> rows,
                                                      MadeFiles& made, int threads,
                                                      const PhotosRead& onPhoto,
                                                      std::string& failure) {
    struct Photo {
        std::string_view path;
        struct stat info {};
        std::optional<ShootingData> data;
    };
    std::vector<Photo> known;
    std::unordered_map<std::string_view, size_t> byPath;
    std::vector<size_t> photoOfRow;
    for (const ImageEntry* row : rows) {
        const auto [at, added] = byPath.emplace(row->imagePath, known.size());
        if (added) {
            Photo photo{row->imagePath, {}, std::nullopt};
            if (ops.Stat(row->imagePath, photo.info) == 0 && S_ISREG(photo.info.st_mode)) {
                photo.data = made.ShootingOf(row->imagePath, photo.info);
            } else {
                photo.data = ShootingData{};
            }
            known.push_back(std::move(photo));
        }
        photoOfRow.push_back(at->second);
    }
    std::vector<size_t> unread;
    for (size_t i = 0; i < known.size(); ++i) {
        if (!known[i].data) unread.push_back(i);
    }
    const int total = static_cast<int>(unread.size());
    const ParallelRun run = RunInParallel(
        total, threads,
        [&](int item) {
            Photo& photo = known[unread[static_cast<size_t>(item)]];
            const std::optional<PhotoDetails> details =
                photos.ReadWhenAndHow(std::string(photo.path));
            photo.data = details ? details->shooting : ShootingData{};
        },
        [&](int done) { return onPhoto(done, total); });
    std::vector<std::string> paths;
    for (const Photo& photo : known) {
        paths.emplace_back(photo.path);
        if (S_ISREG(photo.info.st_mode) && photo.data)
            made.NoteShooting(paths.back(), photo.info, *photo.data);
    }
    made.KeepShootingOf(paths);
    failure = run.failure;
    if (run.stopped) return std::nullopt;
    std::vector<ShootingData> perRow;
    perRow.reserve(rows.size());
    for (const size_t photo : photoOfRow) perRow.push_back(*known[photo].data);
    return perRow;
}

}  // namespace vistello
