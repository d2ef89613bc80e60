#include "pictures/web_images.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "files/atomic_file.h"
#include "files/error_text.h"
#include "files/path_rules.h"
#include "files/unique_names.h"
#include "pictures/gif_without_text.h"
#include "pictures/parallel_run.h"
#include "slides/image_kinds.h"
#include "text/utf8_cut.h"

namespace vistello {

namespace {

struct Source {
    std::string path;
    std::optional<struct stat> info;
    std::optional<ImageFacts> facts;
};

std::string DottedExtension(std::string_view name) {
    const std::string_view extension = ExtensionOf(name);
    return extension.empty() ? std::string() : "." + std::string(extension);
}

std::string_view ExtensionFor(const ImageFacts& facts) {
    return facts.transparent ? ".png" : ".jpg";
}

using FileId = std::pair<dev_t, ino_t>;

// Names handed out in one folder of the output folder (`below` it: "" or kThumbnailFolder; see
// UniqueNames). A name under which one of the sources itself lies is never handed out: the copy
// would replace its own original; nor is one the record says the run may not write over.
class NameClaims {
public:
    NameClaims(FileOps& ops, const std::string& folder, std::string_view below,
               const std::set<FileId>& sources, const MadeFiles& made)
        : m_ops(ops), m_folder(folder), m_below(below), m_sources(sources), m_made(made) {}

    void Take(const std::string& name) { m_names.Take(name); }
    std::string Unique(std::string_view stem, std::string_view extension) {
        return m_names.Claim(stem, extension, [this](const std::string& name) {
            struct stat info {};
            return (m_ops.Stat(m_folder + m_below + name, info) != 0 ||
                    !m_sources.contains({info.st_dev, info.st_ino})) &&
                   !m_made.Taken(m_ops, m_folder, m_below + name,
                                 m_source.empty() ? nullptr : &m_source);
        });
    }
    // The source the names handed out from now on are made of, whose earlier pictures they may
    // take again; none for a file of the whole show.
    void For(std::string source) { m_source = std::move(source); }
    // Whether a source copied as it is may keep its own name.
    bool Free(const std::string& name, const std::string& source) const {
        return !m_made.Taken(m_ops, m_folder, m_below + name, &source);
    }

private:
    FileOps& m_ops;
    const std::string& m_folder;
    std::string m_below;
    const std::set<FileId>& m_sources;
    const MadeFiles& m_made;
    std::string m_source;
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
std::optional<std::vector<Source>> ExamineSources(
    FileOps& ops, ImageMaker& maker, std::span<const ImageEntry* const> rows,
    const WebSettings& settings, const PictureNeeds& needs, std::vector<size_t>& sourceOfRow,
    MadeFiles& made, int threads, const ImagesDone& onImage, std::string& failure) {
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
        if (!sources[i].info || SlideKindOf(sources[i].path) == SlideKind::Clip ||
            (!needs.Any() && !MayMakeImageOf(settings, sources[i].path)))
            continue;
        sources[i].facts = made.FactsOf(sources[i].path, *sources[i].info);
        if (sources[i].facts && needs.Any() && sources[i].facts->width == 0)
            sources[i].facts.reset();
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
    for (int item = 0; item < total; ++item) {
        if (!run.Finished(item)) continue;
        const Source& source = sources[unknown[static_cast<size_t>(item)]];
        if (source.facts) made.NoteFacts(source.path, *source.info, *source.facts);
    }
    failure = run.failure;
    if (run.stopped) return std::nullopt;
    return sources;
}

// A copy's stem with what tells the copy apart ("-480", "-2x"), the stem cut so that the whole
// name fits the file system and the suffix survives; a stem that must be cut is cut further, so
// that the number telling two such copies apart ("_2") leaves the suffix whole too.
std::string Derived(std::string_view stem, std::string_view suffix, std::string_view extension) {
    constexpr size_t kNumberRoom = 4;
    std::string name(stem);
    const size_t room = kMaxFileNameBytes - suffix.size() - extension.size();
    if (name.size() > room) CutToCharacter(name, room - kNumberRoom);
    return name.append(suffix);
}

int LongerSide(const ImageFacts& facts) { return std::max(facts.width, facts.height); }

ImageFormat OwnFormat(const ImageFacts& facts) {
    return facts.transparent ? ImageFormat::Png : ImageFormat::Jpeg;
}

// The longer side a copy of the image needs to be `width` pixels wide; the width itself when the
// image's size is not known.
int SideForWidth(const ImageFacts& facts, int width) {
    if (facts.width <= 0 || facts.height <= 0) return width;
    const long long longer = LongerSide(facts);
    return static_cast<int>((width * longer + facts.width / 2) / facts.width);
}

// A web copy's smaller copies in its own format, then every size in WebP and, where the settings
// say, in AVIF: each narrower than the copy, named after it with its width ("dawn-480.jpg").
std::vector<ImageOutput> Ladder(NameClaims& claims, const std::string& copy,
                                const ImageFacts& facts, const WebSettings& settings) {
    const int largest =
        facts.width > 0 ? std::min(settings.largestSide, LongerSide(facts)) : settings.largestSide;
    std::vector<std::pair<int, int>> rungs;
    for (const int width : kLadderWidths) {
        const int side = SideForWidth(facts, width);
        if (side < largest) rungs.emplace_back(width, side);
    }
    const std::string stem(StemOf(copy));
    std::vector<ImageOutput> outputs;
    const auto add = [&](ImageFormat format, std::string_view extension) {
        for (const auto& [width, side] : rungs) {
            std::string suffix(1, '-');
            suffix += std::to_string(width);
            outputs.push_back(
                {claims.Unique(Derived(stem, suffix, extension), extension), side, format});
        }
    };
    add(OwnFormat(facts), ExtensionFor(facts));
    std::vector<std::pair<ImageFormat, std::string_view>> modern = {{ImageFormat::WebP, ".webp"}};
    if (settings.avif) modern.emplace_back(ImageFormat::Avif, ".avif");
    for (const auto& [format, extension] : modern) {
        add(format, extension);
        outputs.push_back({claims.Unique(stem, extension), settings.largestSide, format});
    }
    return outputs;
}

// A thumbnail twice as sharp where the photo has the pixels, and the thumbnail and its twin in
// WebP, for an overview page that offers them.
std::vector<ImageOutput> SharpThumbnails(NameClaims& claims, const std::string& copy,
                                         const ImageFacts& facts, const WebSettings& settings) {
    const std::string stem(StemOf(copy));
    const int side = settings.thumbnailSide;
    const bool twin = LongerSide(facts) > side;
    const std::string folder(kThumbnailFolder);
    std::vector<ImageOutput> outputs;
    for (const auto& [format, extension] :
         {std::pair{OwnFormat(facts), ExtensionFor(facts)},
          std::pair{ImageFormat::WebP, std::string_view(".webp")}}) {
        if (format == ImageFormat::WebP)
            outputs.push_back({folder + claims.Unique(stem, extension), side, format});
        if (twin)
            outputs.push_back({folder + claims.Unique(Derived(stem, "-2x", extension), extension),
                               2 * side, format});
    }
    return outputs;
}

// A play sign on a dark tile, of a thumbnail's shape.
constexpr std::string_view kClipSign =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"320\" height=\"180\" viewBox=\"0 0 16 9\">"
    "<rect width=\"16\" height=\"9\" fill=\"#333\"/><path d=\"M6.5 2.5v4l3.5-2z\" "
    "fill=\"#fff\"/></svg>\n";
constexpr int kClipSignWidth = 320;
constexpr int kClipSignHeight = 180;

// Clips are as large as a web copy, or as a full HD screen where there are no web copies.
constexpr int kClipSide = 1920;

ClipPlan PlanClip(NameClaims& claims, NameClaims& thumbnailClaims, const std::string& path,
                  const struct stat& info, const WebSettings& settings) {
    const std::string stem(StemOf(FileNameOf(path)));
    ClipPlan clip;
    clip.job = {path, settings.largestSide > 0 ? settings.largestSide : kClipSide,
                settings.keepDetails};
    clip.source = info;
    clip.video = claims.Unique(stem, ".mp4");
    clip.poster = claims.Unique(stem, ".jpg");
    if (settings.thumbnailSide > 0)
        clip.thumbnail = std::string(kThumbnailFolder) + thumbnailClaims.Unique(stem, ".jpg");
    return clip;
}

// Its place among the plan's jobs.
int AddJob(WebImagePlan& plan, ImageJob job, const struct stat& source, bool gif = false) {
    plan.jobs.push_back({std::move(job), source, gif});
    return static_cast<int>(plan.jobs.size()) - 1;
}

// Whether a GIF is published as it is but for the text it carries, rather than copied.
bool LosesText(const std::optional<ImageFacts>& facts, const WebSettings& settings) {
    return facts && facts->gif && settings.largestSide > 0 && !settings.keepDetails;
}

// Whether the source is copied as it is or made into a clip's web version, and what that says
// of the plan: how many are converted, and why clips are copied.
void Classify(WebImagePlan& plan, const std::vector<Source>& sources, const WebSettings& settings,
              ClipMaker* clips, NameClaims& claims) {
    // Asked only of a show with clips: the answer starts the tools.
    std::optional<std::string> clipsCopied;
    for (const Source& source : sources) {
        PlannedSource& planned = plan.sources.emplace_back();
        planned.path = source.path;
        planned.facts = source.facts;
        const bool unshown = IsUnshownImageFileName(FileNameOf(source.path));
        const bool isClip = SlideKindOf(source.path) == SlideKind::Clip;
        if (isClip && !clipsCopied)
            clipsCopied = clips != nullptr ? clips->Unavailable() : std::string("no video tools");
        const bool made = isClip && source.info && clipsCopied->empty();
        if (isClip && clips != nullptr && !made) plan.clipsCopied = *clipsCopied;
        const std::string own = FileNameOf(source.path);
        planned.copied = !made && ((settings.largestSide == 0 && !unshown) || !source.facts ||
                                   (source.facts->gif && !LosesText(source.facts, settings)));
        if (planned.copied && claims.Free(own, source.path)) claims.Take(own);
        if (LosesText(source.facts, settings))
            planned.name = claims.Unique(StemOf(own), own.substr(StemOf(own).size()));
        plan.converted += !planned.copied && unshown;
    }
}

// A clip copied as it is has the play sign for its thumbnail, one for the whole show.
void PlanClipSigns(WebImagePlan& plan, NameClaims& claims) {
    for (PlannedSource& source : plan.sources) {
        if (!source.copied || SlideKindOf(source.path) != SlideKind::Clip) continue;
        if (plan.clipSign.empty()) plan.clipSign = claims.Unique("clip", ".svg");
        source.thumbnail = plan.clipSign;
    }
}

// A photo's web copy, with its smaller sizes where the pages offer them, unless it is copied.
void PlanCopy(WebImagePlan& plan, PlannedSource& source, const std::optional<struct stat>& info,
              const WebSettings& settings, const PictureNeeds& needs, NameClaims& claims) {
    const std::string own = FileNameOf(source.path);
    if (source.copied) {
        source.name =
            claims.Free(own, source.path) ? own : claims.Unique(StemOf(own), DottedExtension(own));
        return;
    }
    if (LosesText(source.facts, settings)) {
        source.copyJob =
            AddJob(plan, {source.path, source.name, 0, 0, false, false, {}}, *info, true);
        return;
    }
    source.name = claims.Unique(StemOf(own), ExtensionFor(*source.facts));
    ImageJob job{source.path,
                 source.name,
                 settings.largestSide,
                 settings.quality,
                 source.facts->transparent,
                 settings.keepDetails,
                 {}};
    if (needs.ladder && settings.largestSide > 0)
        job.more = Ladder(claims, source.name, *source.facts, settings);
    source.copyJob = AddJob(plan, std::move(job), *info);
}

// A photo's thumbnail, with its sharper twins where the overview offers them. Where the photo has
// a web copy that keeps no camera details, as no thumbnail does, they are made from the copy's
// decode: decoding the photo again would cost a third as much as the copy itself.
void PlanThumbnail(WebImagePlan& plan, PlannedSource& source,
                   const std::optional<struct stat>& info, const WebSettings& settings,
                   const PictureNeeds& needs, NameClaims& claims) {
    if (settings.thumbnailSide <= 0 || !source.facts) return;
    source.thumbnail = std::string(kThumbnailFolder) +
                       claims.Unique(StemOf(source.name), ExtensionFor(*source.facts));
    std::vector<ImageOutput> twins;
    if (needs.doubleThumbnails)
        twins = SharpThumbnails(claims, source.name, *source.facts, settings);
    // A GIF published without its text is filtered, not decoded: its thumbnails take their own.
    if (source.copyJob >= 0 && !settings.keepDetails &&
        !plan.jobs[static_cast<size_t>(source.copyJob)].gif) {
        std::vector<ImageOutput>& more = plan.jobs[static_cast<size_t>(source.copyJob)].job.more;
        source.thumbnailFrom = static_cast<int>(more.size());
        more.push_back({source.thumbnail, settings.thumbnailSide, OwnFormat(*source.facts)});
        more.insert(more.end(), twins.begin(), twins.end());
        source.thumbnailJob = source.copyJob;
        return;
    }
    ImageJob job{source.path,      source.thumbnail,          settings.thumbnailSide,
                 settings.quality, source.facts->transparent, false,
                 std::move(twins)};
    source.thumbnailJob = AddJob(plan, std::move(job), *info);
}

// How the record knows a GIF published without its text.
constexpr std::string_view kGifRecipe = "gif/without-text";

bool Holds(FileOps& ops, const MadeFiles& made, const std::string& folder,
           const PlannedJob& planned, bool sized) {
    if (!planned.gif) return made.Holds(ops, folder, planned.job, planned.source, sized);
    return made.HoldsFile(ops, folder, planned.job.target, std::string(kGifRecipe),
                          planned.job.source, planned.source, sized);
}

void NoteMade(FileOps& ops, MadeFiles& made, const std::string& folder, const PlannedJob& planned,
              const MadeImage& image) {
    if (!planned.gif) {
        made.NoteMade(ops, folder, planned.job, planned.source, image);
        return;
    }
    const EncodedImage& gif = image.images.at(0);
    made.NoteFile(ops, folder, planned.job.target, std::string(kGifRecipe), planned.job.source,
                  planned.source, gif.width, gif.height);
}

}  // namespace

bool MayMakeImageOf(const WebSettings& settings, const std::string& path) {
    const std::string name = FileNameOf(path);
    return settings.MakesImages() || IsUnshownImageFileName(name) ||
           SlideKindOf(name) == SlideKind::Clip;
}

std::optional<WebImagePlan> PlanWebImages(FileOps& ops, ImageMaker& maker, ClipMaker* clips,
                                          std::span<const ImageEntry* const> rows,
                                          const WebSettings& settings, const PictureNeeds& needs,
                                          const std::string& folder, MadeFiles& made, int threads,
                                          const ImagesDone& onImage, std::string& failure) {
    if (needs.Any()) made.KeepSizes();
    WebImagePlan plan;
    const std::optional<std::vector<Source>> sources = ExamineSources(
        ops, maker, rows, settings, needs, plan.rowSources, made, threads, onImage, failure);
    if (!sources) return std::nullopt;
    std::set<FileId> sourceIds;
    for (const Source& source : *sources) {
        if (source.info) sourceIds.insert({source.info->st_dev, source.info->st_ino});
    }
    plan.sized = needs.Any();
    NameClaims claims(ops, folder, "", sourceIds, made);
    NameClaims thumbnailClaims(ops, folder, kThumbnailFolder, sourceIds, made);
    Classify(plan, *sources, settings, clips, claims);
    PlanClipSigns(plan, claims);
    for (size_t i = 0; i < sources->size(); ++i) {
        PlannedSource& source = plan.sources[i];
        claims.For(source.path);
        thumbnailClaims.For(source.path);
        // Only a source that is there has anything made of it.
        const std::optional<struct stat>& info = (*sources)[i].info;
        if (source.copied || SlideKindOf(source.path) == SlideKind::Photo) {
            PlanCopy(plan, source, info, settings, needs, claims);
            if (source.thumbnail.empty())
                PlanThumbnail(plan, source, info, settings, needs, thumbnailClaims);
            continue;
        }
        source.clip = static_cast<int>(plan.clips.size());
        const ClipPlan& clip = plan.clips.emplace_back(
            PlanClip(claims, thumbnailClaims, source.path, *info, settings));
        source.name = clip.video;
        source.thumbnail = clip.thumbnail.empty() ? clip.poster : clip.thumbnail;
        made.KeepSizes();
    }
    std::set<std::string, std::less<>> idle;
    for (const PlannedSource& source : plan.sources) {
        if (source.copyJob < 0 && source.thumbnailJob < 0 && source.clip < 0)
            idle.insert(source.path);
    }
    plan.resting = made.FilesMadeOf(idle);
    return plan;
}

MadeResult MakeWebImages(FileOps& ops, ImageMaker& maker, const WebImagePlan& plan,
                         const std::string& folder, MadeFiles& made, int threads,
                         const ImagesDone& onImage) {
    std::vector<size_t> todo;
    for (size_t job = 0; job < plan.jobs.size(); ++job) {
        if (!Holds(ops, made, folder, plan.jobs[job], plan.sized)) todo.push_back(job);
    }
    const auto inThumbnails = [](const std::string& target) {
        return target.starts_with(kThumbnailFolder);
    };
    const bool anyThumbnail = std::any_of(todo.begin(), todo.end(), [&](size_t job) {
        const ImageJob& image = plan.jobs[job].job;
        return inThumbnails(image.target) ||
               std::any_of(image.more.begin(), image.more.end(),
                           [&](const ImageOutput& output) { return inThumbnails(output.target); });
    });
    if (anyThumbnail) ops.MakeFolder(folder + std::string(kThumbnailFolder));
    MadeResult result;
    if (!plan.clipSign.empty() && !WriteMadeFile(ops, folder + plan.clipSign, kClipSign)) {
        // Counted against the first clip it stands for.
        const std::string reason = ErrorText(errno);
        for (const PlannedSource& source : plan.sources) {
            if (source.thumbnail != plan.clipSign) continue;
            result.failed.emplace(source.path,
                                  folder + plan.clipSign + ": could not be written: " + reason);
            break;
        }
    }
    const int total = static_cast<int>(todo.size());
    // Per item, the file that could not be made and why.
    std::vector<std::pair<std::string, std::string>> failures(todo.size());
    std::vector<MadeImage> results(todo.size());
    const ParallelRun run = RunInParallel(
        total, threads,
        [&](int item) {
            const PlannedJob& planned = plan.jobs[todo[static_cast<size_t>(item)]];
            const ImageJob& job = planned.job;
            MadeImage image = planned.gif ? GifFileWithoutText(ops, job.source) : maker.Make(job);
            if (image.failure.empty() && image.images.size() != job.more.size() + 1)
                image.failure = "the image library made too few files";
            std::string failed = job.target;
            for (size_t i = 0; i < image.images.size() && image.failure.empty(); ++i) {
                const std::string& target = i == 0 ? job.target : job.more[i - 1].target;
                if (!WriteMadeFileIn(ops, folder, target, image.images[i].bytes)) {
                    image.failure = ErrorText(errno);
                    failed = target;
                }
                // Only the sizes are kept until every image is made; the bytes are let go.
                std::string().swap(image.images[i].bytes);
            }
            failures[static_cast<size_t>(item)] = {failed, std::move(image.failure)};
            results[static_cast<size_t>(item)] = std::move(image);
        },
        [&](int count) { return onImage(count, total); }, [&maker] { maker.EndThread(); });
    result.stopped = run.stopped;
    result.failure = run.failure;
    for (size_t item = 0; item < todo.size(); ++item) {
        if (!run.Finished(static_cast<int>(item))) continue;
        const size_t job = todo[item];
        const ImageJob& image = plan.jobs[job].job;
        const auto& [target, failure] = failures[item];
        if (failure.empty()) {
            NoteMade(ops, made, folder, plan.jobs[job], results[item]);
        } else {
            result.failed.emplace(image.source, image.source + ": could not be made into " +
                                                    folder + target + ": " + failure);
        }
    }
    return result;
}

}  // namespace vistello

namespace vistello {

namespace {

PictureFile MadeFile(const MadeFiles& made, const std::string& path) {
    const auto [width, height] = made.SizeOf(path);
    return {path, width, height};
}

// A web copy with the smaller sizes and other formats made beside it.
void AddCopy(Picture& picture, const std::string& target, std::span<const ImageOutput> ladder,
             const MadeFiles& made) {
    picture.image = MadeFile(made, target);
    for (const ImageOutput& output : ladder) {
        std::vector<PictureFile>& files = output.format == ImageFormat::WebP   ? picture.webp
                                          : output.format == ImageFormat::Avif ? picture.avif
                                                                               : picture.ladder;
        files.push_back(MadeFile(made, output.target));
    }
    if (!ladder.empty()) picture.ladder.push_back(picture.image);
}

// A thumbnail with its sharper twin and both in WebP, where they were made.
void AddThumbnail(Picture& picture, const std::string& target, int side,
                  std::span<const ImageOutput> twins, const MadeFiles& made) {
    picture.thumbnail = MadeFile(made, target);
    for (const ImageOutput& output : twins) {
        const bool webp = output.format == ImageFormat::WebP;
        const bool twin = output.side > side;
        (webp ? (twin ? picture.doubleWebpThumbnail : picture.webpThumbnail)
              : picture.doubleThumbnail) = MadeFile(made, output.target);
    }
}

Picture PictureOf(const WebImagePlan& plan, const PlannedSource& source, const MadeFiles& made) {
    Picture picture;
    picture.kind = SlideKindOf(source.path);
    picture.image.path = source.name;
    if (source.clip >= 0) {
        const ClipPlan& files = plan.clips[static_cast<size_t>(source.clip)];
        picture.image = MadeFile(made, files.video);
        picture.poster = MadeFile(made, files.poster);
        picture.thumbnail =
            files.thumbnail.empty() ? picture.poster : MadeFile(made, files.thumbnail);
        return picture;
    }
    if (picture.kind == SlideKind::Clip) {
        picture.thumbnail = {plan.clipSign, kClipSignWidth, kClipSignHeight};
        return picture;
    }
    if (source.copyJob >= 0) {
        const ImageJob& copy = plan.jobs[static_cast<size_t>(source.copyJob)].job;
        const std::span<const ImageOutput> more = copy.more;
        AddCopy(picture, copy.target,
                source.thumbnailFrom >= 0 ? more.first(static_cast<size_t>(source.thumbnailFrom))
                                          : more,
                made);
    } else if (source.facts) {
        picture.image = {source.name, source.facts->width, source.facts->height};
    }
    if (source.thumbnailJob < 0) return picture;
    const ImageJob& job = plan.jobs[static_cast<size_t>(source.thumbnailJob)].job;
    if (source.thumbnailFrom < 0) {
        AddThumbnail(picture, job.target, job.side, job.more, made);
    } else {
        const std::span<const ImageOutput> own = std::span<const ImageOutput>(job.more).subspan(
            static_cast<size_t>(source.thumbnailFrom));
        AddThumbnail(picture, own.front().target, own.front().side, own.subspan(1), made);
    }
    return picture;
}

}  // namespace

Picture PlainPicture(const std::string& path) {
    Picture picture;
    picture.image.path = path;
    picture.thumbnail.path = path;
    picture.kind = SlideKindOf(path);
    return picture;
}

std::vector<Picture> PicturesOf(const WebImagePlan& plan, const MadeFiles& made) {
    std::vector<Picture> bySource;
    bySource.reserve(plan.sources.size());
    for (const PlannedSource& source : plan.sources)
        bySource.push_back(PictureOf(plan, source, made));
    std::vector<Picture> pictures;
    pictures.reserve(plan.rowSources.size());
    for (const size_t source : plan.rowSources) {
        Picture picture = bySource[source];
        if (picture.thumbnail.path.empty()) picture.thumbnail = picture.image;
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

}  // namespace vistello
