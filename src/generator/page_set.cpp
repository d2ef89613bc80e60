#include "generator/page_set.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <utility>

#include "files/atomic_file.h"
#include "files/error_text.h"
#include "files/file_copy.h"
#include "files/leftovers.h"
#include "files/link_chain.h"
#include "files/path_rules.h"
#include "files/text_file.h"
#include "files/unique_names.h"
#include "generator/kind_blocks.h"
#include "generator/overview_page.h"
#include "generator/page_names.h"
#include "generator/page_set_memory.h"
#include "generator/page_set_writer.h"
#include "generator/page_text.h"
#include "generator/picture_tags.h"
#include "generator/row_tags.h"
#include "generator/shooting_tags.h"
#include "generator/show_files.h"
#include "generator/show_layout.h"
#include "generator/show_record.h"
#include "generator/site_tags.h"
#include "pictures/parallel_run.h"
#include "pictures/web_clips.h"
#include "pictures/web_images.h"
#include "text/digest.h"

namespace vistello {

namespace {

bool MakesImages(const WebSettings& settings, std::span<const ImageEntry* const> rows) {
    return std::any_of(rows.begin(), rows.end(), [&settings](const ImageEntry* row) {
        return MayMakeImageOf(settings, row->imagePath);
    });
}

// The images of a web show, made before any page: the pages name what they became.
std::optional<WebImagePlan> MakeImages(FileOps& ops, std::span<const ImageEntry* const> rows,
                                       const std::string& outputFolder, const WebShow& web,
                                       const PictureNeeds& needs, const std::string& project,
                                       MadeFiles& made, PageSetResult& result,
                                       std::map<std::string, std::string>& failed) {
    const int threads = web.threads > 0 ? web.threads : CoreCount();
    const ImagesDone onImage = web.onImage ? web.onImage : [](int, int) { return true; };
    std::optional<WebImagePlan> plan =
        PlanWebImages(ops, *web.maker, web.clips, rows, web.settings, needs, outputFolder, made,
                      threads, onImage, result.failure);
    MadeResult outcome;
    if (plan) {
        outcome = MakeWebImages(ops, *web.maker, *plan, outputFolder, made, threads, onImage);
        if (!outcome.stopped && !plan->clips.empty() && web.clips != nullptr) {
            const ClipsDone onClip = web.onClip ? web.onClip : [](int, int, int) { return true; };
            MadeResult clips = MakeWebClips(ops, *web.clips, *web.maker, *plan, web.settings,
                                            outputFolder, made, threads, onClip);
            outcome.failed.merge(clips.failed);
            outcome.stopped = clips.stopped;
            if (outcome.failure.empty()) outcome.failure = clips.failure;
        }
        std::vector<std::string> files = ClipFiles(*plan);
        files.insert(files.end(), plan->resting.begin(), plan->resting.end());
        if (!project.empty()) {
            const std::vector<std::string> others = made.Owned().FilesOfOthers(project);
            files.insert(files.end(), others.begin(), others.end());
        }
        std::vector<const ImageJob*> jobs;
        for (const PlannedJob& job : plan->jobs) jobs.push_back(&job.job);
        std::vector<std::string> sources;
        for (const PlannedSource& source : plan->sources) sources.push_back(source.path);
        made.KeepOnly(jobs, sources, files);
        result.failure = outcome.failure;
        result.clipsCopied = plan->clipsCopied;
    }
    if (!plan || outcome.stopped) {
        for (const auto& [source, line] : outcome.failed) result.failures.push_back(line);
        result.stopped = true;
        return plan;
    }
    failed = std::move(outcome.failed);
    return plan;
}

// What the templates and settings ask of a run's images.
struct RunNeeds {
    PictureNeeds pictures;
    bool makeImages = false;
    bool readPhotos = false;
};

// What a clip's part of a template shows of pictures is known of every clip; only the rest asks
// anything of photos.
RunNeeds NeedsOf(std::span<const ImageEntry* const> rows, std::string_view templateText,
                 const WebShow* web) {
    const std::string_view overviewText = web ? web->overviewText : std::string_view();
    const PictureNeeds page = PictureNeedsOf(TextForKinds(templateText, {.photo = true}));
    const PictureNeeds overview = PictureNeedsOf(TextForKinds(overviewText, {.photo = true}));
    RunNeeds needs;
    needs.pictures = {page.ladder || overview.ladder,
                      page.doubleThumbnails || overview.doubleThumbnails,
                      page.sizes || overview.sizes};
    needs.makeImages =
        web && web->maker != nullptr && (needs.pictures.Any() || MakesImages(web->settings, rows));
    needs.readPhotos = web && web->photos != nullptr &&
                       (UsesShootingTags(templateText) || UsesShootingTags(overviewText) ||
                        (web->place && web->place->wantDates));
    return needs;
}

// What is learnt of the rows' images before any page is written.
struct ImagesLearnt {
    std::optional<WebImagePlan> plan;
    // Per row, when a template shows them: what photos say, and the pictures published.
    std::vector<ShootingData> shooting;
    std::vector<Picture> pictures;
    // Per source that failed, its line.
    std::map<std::string, std::string> failed;
};

// Images are made and photos read as wanted, all noted in the folder's record of made images
// whichever way the run ends, before any page: what took long to make is not lost should the run
// not get to its end. False when the run ended early.
bool LearnImages(FileOps& ops, std::span<const ImageEntry* const> rows,
                 const std::string& outputFolder, const WebShow& web, const RunNeeds& needs,
                 const std::string& project, MadeFiles& made, PageSetResult& result,
                 ImagesLearnt& learnt) {
    bool whole = true;
    if (needs.makeImages) {
        learnt.plan = MakeImages(ops, rows, outputFolder, web, needs.pictures, project, made,
                                 result, learnt.failed);
        whole = learnt.plan.has_value() && !result.stopped;
        if (whole) learnt.pictures = PicturesOf(*learnt.plan, made);
    }
    if (whole && needs.readPhotos) {
        const int threads = web.threads > 0 ? web.threads : CoreCount();
        std::optional<std::vector<ShootingData>> shooting = ReadShooting(
            ops, *web.photos, rows, made, threads,
            web.onImage ? web.onImage : [](int, int) { return true; }, result.failure);
        whole = shooting.has_value();
        if (shooting) learnt.shooting = std::move(*shooting);
        result.stopped = !whole;
    }
    if (!WriteRecord(ops, outputFolder, project, made)) NoteRecordFailure(outputFolder, result);
    return whole;
}

std::optional<std::string> WriteOverviewPage(FileOps& ops, std::string_view templateText,
                                             const TagSet& tags,
                                             std::span<const OverviewSlide> slides,
                                             const std::string& path, const SitePlace* place,
                                             std::string_view siteTitle) {
    const std::optional<std::string> text =
        BuildOverviewText(templateText, tags, slides, 4 * kMaxPageBytes, place, siteTitle);
    if (!text) return path + ": not written, the page would be too large";
    if (!WriteMadeFile(ops, path, EncodeTextMode(*text)))
        return path + ": could not be written: " + ErrorText(errno);
    return std::nullopt;
}

// The overview page: every slide's tile, linked to its page.
bool WriteOverviewOf(FileOps& ops, std::span<const ImageEntry* const> rows, const WebShow& web,
                     const TagSet& tags, const std::string& outputFolder, const ShowLayout& layout,
                     const ImagesLearnt& learnt, bool free, PageSetResult& result) {
    const std::optional<WebImagePlan>& plan = learnt.plan;
    std::vector<std::string> targets;
    for (const std::string& name : layout.pageNames) targets.push_back(EncodeLinkTarget(name));
    std::vector<OverviewSlide> slides;
    for (size_t row = 0; row < rows.size(); ++row) {
        const std::string_view thumbnail = plan && !plan->OfRow(row).thumbnail.empty()
                                               ? plan->OfRow(row).thumbnail
                                               : layout.imageNames[row];
        slides.push_back(
            {layout.Row(rows, row),
             {row > 0 ? targets[row - 1] : std::string_view(),
              row + 1 < rows.size() ? targets[row + 1] : std::string_view(), layout.index},
             layout.pageNames[row],
             thumbnail,
             learnt.shooting.empty() ? nullptr : &learnt.shooting[row],
             &layout.pictures[row]});
    }
    const std::string path = outputFolder + std::string(kOverviewPageName);
    if (std::optional<std::string> own = OwnFileAt(ops, path, ShowFileIds(ops, &web)))
        return Tally(std::move(own), result.pagesFailed, result.failures);
    if (!free) {
        return Tally(path + ": not written, a file this show did not write is there",
                     result.pagesFailed, result.failures);
    }
    return Tally(WriteOverviewPage(ops, web.overviewText, tags, slides, path, web.place,
                                   web.settings.siteTitle),
                 result.pagesFailed, result.failures);
}

// The cover is the row the show names, else its first photo, else its first slide.
size_t CoverRow(std::span<const ImageEntry* const> rows, const std::string& cover) {
    const auto named = std::find_if(rows.begin(), rows.end(), [&cover](const ImageEntry* row) {
        return !cover.empty() && row->imagePath == cover;
    });
    if (named != rows.end()) return static_cast<size_t>(named - rows.begin());
    const auto photo = std::find_if(rows.begin(), rows.end(), [](const ImageEntry* row) {
        return SlideKindOf(row->imagePath) == SlideKind::Photo;
    });
    return photo != rows.end() ? static_cast<size_t>(photo - rows.begin()) : 0;
}

AlbumSummary SummaryOf(std::span<const ImageEntry* const> rows, const WebShow& web,
                       const ShowLayout& layout, const ImagesLearnt& learnt,
                       const std::string& home) {
    AlbumSummary summary;
    summary.home = home;
    for (const ImageEntry* row : rows)
        ++(SlideKindOf(row->imagePath) == SlideKind::Clip ? summary.clips : summary.photos);
    if (!rows.empty()) {
        const size_t cover = CoverRow(rows, web.settings.cover);
        summary.cover = layout.pictures[cover];
        summary.hasCover = true;
    }
    for (const ShootingData& shooting : learnt.shooting) {
        const std::string day = shooting.dateTaken.substr(0, 10);
        if (!IsDay(day)) continue;
        if (summary.firstDay.empty() || day < summary.firstDay) summary.firstDay = day;
        if (day > summary.lastDay) summary.lastDay = day;
    }
    return summary;
}

// The run itself: images, then pages, then the overview page.
PageSetResult WriteShow(FileOps& ops, std::span<const ImageEntry* const> rows,
                        std::string_view templateText, const TagSet& tags,
                        const std::string& outputFolder, const PageDone& onPage,
                        PageSetMemory* memory, const WebShow* web, const RunNeeds& needs,
                        const std::string& project, MadeFiles& made, RunFiles* run) {
    PageSetResult result;
    result.pages = result.images = static_cast<int>(rows.size());
    result.clips =
        static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const ImageEntry* row) {
            return SlideKindOf(row->imagePath) == SlideKind::Clip;
        }));
    const bool overview = web && !web->overviewText.empty();
    ImagesLearnt learnt;
    const bool learntWhole =
        !(needs.makeImages || needs.readPhotos) ||
        LearnImages(ops, rows, outputFolder, *web, needs, project, made, result, learnt);
    const std::optional<WebImagePlan>& plan = learnt.plan;
    // What a run that stopped made is the project's as much as what a whole run made.
    if (plan && run) run->Made(ops, outputFolder, *plan, made);
    if (!learntWhole) return result;
    if (plan) result.converted = plan->converted;
    const NameTaken taken = [&ops, &outputFolder, &made](const std::string& name,
                                                         const std::string* source) {
        return made.Taken(ops, outputFolder, name, source);
    };
    const ShowLayout layout = LayOut(rows, learnt.plan, std::move(learnt.pictures), overview,
                                     ShowFilesIn(web, outputFolder), taken);
    static const ShootingData kNoShooting;
    // Asked before the run notes its files, which would make the name its own.
    const bool overviewFree = overview && !taken(std::string(kOverviewPageName), nullptr);
    if (run) {
        NotePending(ops, outputFolder, project, FilesOfRun(layout, overviewFree, plan),
                    run->started, made, result);
    }
    if (overview) ++result.pages;
    if (memory) memory->StartRun(outputFolder, templateText, tags);
    PageSetWriter writer(ops, templateText, tags, outputFolder, memory, run);
    writer.Keep(ShowFileIds(ops, web));
    for (size_t row = 0; row < rows.size(); ++row) {
        std::optional<std::string> failure;
        if (!plan || plan->OfRow(row).copied)
            failure = writer.CopyImage(rows[row]->imagePath, layout.imageNames[row]);
        const auto failed = plan ? learnt.failed.find(plan->OfRow(row).path) : learnt.failed.end();
        if (!failure && failed != learnt.failed.end()) failure = failed->second;
        Tally(std::move(failure), result.imagesFailed, result.failures);
        const std::string& pageName = layout.pageNames[row];
        const std::string back =
            row > 0 ? EncodeLinkTarget(layout.pageNames[row - 1]) : std::string();
        const std::string next =
            row + 1 < rows.size() ? EncodeLinkTarget(layout.pageNames[row + 1]) : std::string();
        const SlideTemplate& page = writer.For(rows[row]->imagePath);
        const RowFacts facts{rows[row],
                             learnt.shooting.empty() ? &kNoShooting : &learnt.shooting[row],
                             &layout.pictures[row],
                             next,
                             row,
                             web ? web->place : nullptr,
                             overview,
                             pageName};
        std::vector<std::string> values;
        for (const std::string_view tag : page.RowTags()) values.push_back(RowValue(tag, facts));
        const std::vector<std::string_view> views(values.begin(), values.end());
        const bool written = Tally(writer.WritePage(page, pageName, *layout.Row(rows, row),
                                                    {back, next, layout.index}, views),
                                   result.pagesFailed, result.failures);
        writer.Note(pageName, written);
        result.pagesWritten += written;
        if (onPage && !onPage(static_cast<int>(row), written)) {
            result.stopped = true;
            return result;
        }
    }
    if (!layout.pageNames.empty()) result.firstPage = layout.pageNames.front();
    if (overview) {
        const bool written = WriteOverviewOf(ops, rows, *web, tags, outputFolder, layout, learnt,
                                             overviewFree, result);
        writer.Note(std::string(kOverviewPageName), written);
        result.pagesWritten += written;
        result.firstPage = kOverviewPageName;
    }
    if (web && web->place) result.album = SummaryOf(rows, *web, layout, learnt, result.firstPage);
    return result;
}

// Whether the pictures a project wrote are mostly of these rows' photos and clips: the same show,
// renamed or moved, rather than another that came to the same folder.
bool ShowsMostOf(std::span<const ImageEntry* const> rows, const MadeFiles& made,
                 const WrittenFiles& files) {
    std::set<std::string> names;
    std::set<std::string> sources;
    for (const ImageEntry* row : rows) {
        names.insert(FileNameOf(row->imagePath));
        sources.insert(Digest(row->imagePath));
    }
    size_t pictures = 0;
    size_t shown = 0;
    for (const auto& entry : files) {
        if (entry.first.ends_with(".htm")) continue;
        ++pictures;
        shown += names.contains(entry.first) || made.MadeOfAny(entry.first, sources);
    }
    return pictures > 0 && 2 * shown >= pictures;
}

}  // namespace

PageSetResult WritePageSet(FileOps& ops, std::span<const ImageEntry* const> rows,
                           std::string_view templateText, const TagSet& givenTags,
                           const std::string& outputFolder, const PageDone& onPage,
                           PageSetMemory* memory, const WebShow* web) {
    // A tag left empty would replace nothing; it stands for its default.
    TagSet tags = givenTags;
    tags.FillEmptyWithDefaults();
    // What a killed run was writing into this folder goes before this run writes its own.
    ClearStaleTemporaries(ops, outputFolder);
    ClearStaleTemporaries(ops, outputFolder + std::string(kThumbnailFolder));
    const RunNeeds needs = NeedsOf(rows, templateText, web);
    std::optional<ShowFiles> show;
    if (web && (!web->projectFile.empty() || !web->recordKey.empty())) {
        show = ShowFiles{web->recordKey.empty() ? RecordKey(web->projectFile) : web->recordKey,
                         web->projectFile, web->templateFile, web->settings.overviewTemplate};
    }
    ProjectPlaces places(ops, web ? web->placesFile : std::string());
    MadeFiles made = needs.makeImages || needs.readPhotos || show
                         ? ReadRecord(ops, outputFolder, memory)
                         : MadeFiles();
    if (show) {
        made.StartRunOf(show->project);
        if (!web->projectFile.empty()) places.Note(web->projectFile);
        made.Owned().AdoptGone(
            show->project, [&places](const std::string& key) { return places.Gone(key); },
            [&rows, &made](const WrittenFiles& files) { return ShowsMostOf(rows, made, files); });
    }
    RunFiles run;
    ::clock_gettime(CLOCK_REALTIME_COARSE, &run.started);
    PageSetResult result =
        WriteShow(ops, rows, templateText, tags, outputFolder, onPage, memory, web, needs,
                  show ? show->project : std::string(), made, show ? &run : nullptr);
    if (show) {
        SettleRun(ops, outputFolder, *show, rows, std::move(run), made, places, memory, result);
    } else if (memory && (needs.makeImages || needs.readPhotos)) {
        // What photos said is kept only here, never in the published folder.
        memory->KeepRecord(ops, outputFolder + std::string(MadeFiles::kFileName), std::move(made));
    }
    return result;
}

}  // namespace vistello
