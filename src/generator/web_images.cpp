#include "generator/web_images.h"

#include <cerrno>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "files/atomic_file.h"
#include "files/error_text.h"
#include "files/path_rules.h"
#include "files/unique_names.h"
#include "generator/parallel_run.h"
#include "slides/image_kinds.h"

namespace vistello {

namespace {

struct Source {
    std::string path;
    std::optional<struct stat> info;
    std::optional<ImageFacts> facts;
};

std::string_view ExtensionFor(const ImageFacts& facts) {
    return facts.transparent ? ".png" : ".jpg";
}

using FileId = std::pair<dev_t, ino_t>;

// Names handed out in one folder (see UniqueNames). A name under which one of the sources itself
// lies in the folder is never handed out: the copy would replace its own original.
class NameClaims {
public:
    NameClaims(FileOps& ops, std::string folder, const std::set<FileId>& sources)
        : m_ops(ops), m_folder(std::move(folder)), m_sources(sources) {}

    void Take(const std::string& name) { m_names.Take(name); }
    std::string Unique(std::string_view stem, std::string_view extension) {
        return m_names.Claim(stem, extension, [this](const std::string& name) {
            struct stat info {};
            return m_ops.Stat(m_folder + name, info) != 0 ||
                   !m_sources.contains({info.st_dev, info.st_ino});
        });
    }

private:
    FileOps& m_ops;
    std::string m_folder;
    const std::set<FileId>& m_sources;
    UniqueNames m_names;
};

std::optional<struct stat> RegularFile(FileOps& ops, const std::string& path) {
    struct stat info {};
    if (ops.Stat(path, info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return info;
}

// Each source once, in the order rows first name it, known by the file it leads to, so that two
// paths to one file are one source; as it is now and, where something may be made of it, as the
// library sees it. A source as an earlier run found it is not examined again.
std::optional<std::vector<Source>> ExamineSources(FileOps& ops, ImageMaker& maker,
                                                  std::span<const ImageEntry* const> rows,
                                                  const WebSettings& settings,
                                                  std::vector<size_t>& sourceOfRow,
                                                  MadeImages& made, int threads,
                                                  const ImagesDone& onImage, std::string& failure) {
    std::vector<Source> sources;
    std::unordered_map<std::string_view, size_t> byPath;
    std::map<FileId, size_t> byFile;
    for (const ImageEntry* row : rows) {
        auto [at, added] = byPath.emplace(row->imagePath, sources.size());
        if (added) {
            std::optional<struct stat> info = RegularFile(ops, row->imagePath);
            const auto [file, fileAdded] =
                info ? byFile.emplace(FileId{info->st_dev, info->st_ino}, sources.size())
                     : std::pair{byFile.end(), true};
            if (fileAdded) {
                sources.push_back({row->imagePath, info, {}});
            } else {
                at->second = file->second;
            }
        }
        sourceOfRow.push_back(at->second);
    }
    std::vector<size_t> unknown;
    for (size_t i = 0; i < sources.size(); ++i) {
        if (!sources[i].info || !MayMakeImageOf(settings, sources[i].path)) continue;
        sources[i].facts = made.FactsOf(sources[i].path, *sources[i].info);
        if (!sources[i].facts) unknown.push_back(i);
    }
    const int total = static_cast<int>(unknown.size());
    const ParallelRun run = RunInParallel(
        total, threads,
        [&](int item) {
            Source& source = sources[unknown[static_cast<size_t>(item)]];
            source.facts = maker.Examine(source.path);
        },
        [&](int done) { return onImage(done, total); }, [&maker] { maker.EndThread(); });
    for (int item = 0; item < run.done; ++item) {
        const Source& source = sources[unknown[static_cast<size_t>(item)]];
        if (source.facts) made.NoteFacts(source.path, *source.info, *source.facts);
    }
    failure = run.failure;
    if (run.stopped) return std::nullopt;
    return sources;
}

}  // namespace

bool MayMakeImageOf(const WebSettings& settings, const std::string& path) {
    return settings.MakesImages() || IsUnshownImageFileName(FileNameOf(path));
}

std::optional<WebImagePlan> PlanWebImages(FileOps& ops, ImageMaker& maker,
                                          std::span<const ImageEntry* const> rows,
                                          const WebSettings& settings, const std::string& folder,
                                          MadeImages& made, int threads, const ImagesDone& onImage,
                                          std::string& failure) {
    std::vector<size_t> sourceOfRow;
    const std::optional<std::vector<Source>> examined =
        ExamineSources(ops, maker, rows, settings, sourceOfRow, made, threads, onImage, failure);
    if (!examined) return std::nullopt;
    const std::vector<Source>& sources = *examined;
    std::set<FileId> sourceIds;
    for (const Source& source : sources) {
        if (source.info) sourceIds.insert({source.info->st_dev, source.info->st_ino});
    }
    WebImagePlan plan;
    for (const Source& source : sources) plan.sources.push_back(source.path);
    std::vector<bool> copied(sources.size());
    NameClaims claims(ops, folder, sourceIds);
    for (size_t i = 0; i < sources.size(); ++i) {
        const Source& source = sources[i];
        const bool unshown = IsUnshownImageFileName(FileNameOf(source.path));
        copied[i] = (settings.largestSide == 0 && !unshown) || !source.facts || source.facts->gif;
        if (copied[i]) claims.Take(FileNameOf(source.path));
        plan.converted += !copied[i] && unshown;
    }
    std::vector<std::string> names(sources.size());
    std::vector<std::string> thumbnails(sources.size());
    NameClaims thumbnailClaims(ops, folder + std::string(kThumbnailFolder), sourceIds);
    for (size_t i = 0; i < sources.size(); ++i) {
        const Source& source = sources[i];
        const std::string own = FileNameOf(source.path);
        names[i] = copied[i] ? own : claims.Unique(StemOf(own), ExtensionFor(*source.facts));
        if (!copied[i]) {
            plan.jobs.push_back({source.path, names[i], settings.largestSide, settings.quality,
                                 source.facts->transparent, settings.keepDetails});
            plan.jobSources.push_back(*source.info);
        }
        if (settings.thumbnailSide > 0 && source.facts) {
            thumbnails[i] = std::string(kThumbnailFolder) +
                            thumbnailClaims.Unique(StemOf(names[i]), ExtensionFor(*source.facts));
            plan.jobs.push_back({source.path, thumbnails[i], settings.thumbnailSide,
                                 settings.quality, source.facts->transparent, false});
            plan.jobSources.push_back(*source.info);
        }
    }
    for (const size_t source : sourceOfRow) {
        plan.names.push_back(names[source]);
        plan.thumbnails.push_back(thumbnails[source]);
        plan.copied.push_back(copied[source]);
    }
    plan.rowSources = std::move(sourceOfRow);
    return plan;
}

MadeResult MakeWebImages(FileOps& ops, ImageMaker& maker, const WebImagePlan& plan,
                         const std::string& folder, MadeImages& made, int threads,
                         const ImagesDone& onImage) {
    std::vector<size_t> todo;
    for (size_t job = 0; job < plan.jobs.size(); ++job) {
        if (!made.Holds(ops, folder, plan.jobs[job], plan.jobSources[job])) todo.push_back(job);
    }
    const bool anyThumbnail = std::any_of(todo.begin(), todo.end(), [&](size_t job) {
        return plan.jobs[job].target.starts_with(kThumbnailFolder);
    });
    if (anyThumbnail) ops.MakeFolder(folder + std::string(kThumbnailFolder));
    const int total = static_cast<int>(todo.size());
    std::vector<std::string> failures(todo.size());
    const ParallelRun run = RunInParallel(
        total, threads,
        [&](int item) {
            const ImageJob& job = plan.jobs[todo[static_cast<size_t>(item)]];
            EncodedImage image = maker.Make(job);
            if (image.failure.empty() &&
                !WriteFileIfChanged(ops, folder + job.target, image.bytes, Flush::ToSystem))
                image.failure = ErrorText(errno);
            failures[static_cast<size_t>(item)] = std::move(image.failure);
        },
        [&](int count) { return onImage(count, total); }, [&maker] { maker.EndThread(); });
    MadeResult result;
    result.stopped = run.stopped;
    result.failure = run.failure;
    for (size_t item = 0; item < static_cast<size_t>(run.done); ++item) {
        const size_t job = todo[item];
        const ImageJob& image = plan.jobs[job];
        if (failures[item].empty()) {
            made.NoteMade(ops, folder, image, plan.jobSources[job]);
        } else {
            result.failed.emplace(image.source, image.source + ": could not be made into " +
                                                    folder + image.target + ": " + failures[item]);
        }
    }
    return result;
}

}  // namespace vistello
