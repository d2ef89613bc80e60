#include "generator/page_set.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
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
#include "generator/kind_blocks.h"
#include "generator/overview_page.h"
#include "generator/page_names.h"
#include "generator/page_set_memory.h"
#include "generator/page_text.h"
#include "generator/picture_tags.h"
#include "generator/row_tags.h"
#include "generator/shooting_tags.h"
#include "generator/show_files.h"
#include "generator/site_tags.h"
#include "pictures/parallel_run.h"
#include "pictures/web_clips.h"
#include "pictures/web_images.h"
#include "slides/media_signature.h"

namespace vistello {

namespace {

using FileId = std::pair<dev_t, ino_t>;

// Nothing unless a regular file is there: only such a file is an image that can be copied.
// errno then says why.
std::optional<struct stat> RegularFileAt(FileOps& ops, const std::string& path) {
    const std::optional<LinkEnd> end = FollowLinks(ops, path);
    if (!end) return std::nullopt;
    if (!end->existing) {
        errno = ENOENT;
    } else if (!S_ISREG(end->existing->st_mode)) {
        errno = S_ISDIR(end->existing->st_mode) ? EISDIR : kNotRegularFile;
    } else {
        return end->existing;
    }
    return std::nullopt;
}

// True when there was no failure; otherwise counts it and keeps its line.
bool Tally(std::optional<std::string> failure, int& failed, std::vector<std::string>& failures) {
    if (!failure) return true;
    ++failed;
    failures.push_back(std::move(*failure));
    return false;
}

std::array<const std::string*, 3> ShowFilePaths(const WebShow& web) {
    return {&web.projectFile, &web.templateFile, &web.settings.overviewTemplate};
}

// The project's own files as they are, whatever names lead to them.
FileIds ShowFileIds(FileOps& ops, const WebShow* web) {
    FileIds ids;
    if (!web) return ids;
    for (const std::string* file : ShowFilePaths(*web)) {
        struct stat info {};
        if (!file->empty() && ops.Stat(*file, info) == 0) ids.emplace(info.st_dev, info.st_ino);
    }
    return ids;
}

// Why a page may not be written at `path`: a link or a name there leads to one of the project's
// own files.
std::optional<std::string> OwnFileAt(FileOps& ops, const std::string& path, const FileIds& own) {
    struct stat info {};
    if (own.empty() || ops.Stat(path, info) != 0 || !own.contains({info.st_dev, info.st_ino}))
        return std::nullopt;
    return path + ": not written, it is the project's own file";
}

// One run over the rows. Files are told apart by device and inode, so that an image reached by
// two paths is one image.
class PageSetWriter {
public:
    PageSetWriter(FileOps& ops, std::string_view templateText, const TagSet& tags,
                  const std::string& outputFolder, PageSetMemory* memory, RunFiles* run)
        : m_ops(ops),
          m_photo(templateText, {.photo = true}, tags),
          m_clip(templateText, {.clip = true}, tags),
          m_folder(outputFolder),
          m_memory(memory),
          m_run(run) {}

    // The template as the page of the slide whose image is published under `name` sees it.
    const SlideTemplate& For(std::string_view name) const {
        return KindOf(name).clip ? m_clip : m_photo;
    }

    // What went wrong, or nothing when the image is in the output folder now.
    std::optional<std::string> CopyImage(const std::string& source, const std::string& name);
    std::optional<std::string> WritePage(const SlideTemplate& page, const std::string& name,
                                         const ImageEntry& entry, const PageLinks& links,
                                         std::span<const std::string_view> rowValues);
    // Notes the file among those the run leaves, as written when it was.
    void Note(const std::string& name, bool written);
    // The project's own files, which no page is written over.
    void Keep(FileIds own) { m_own = std::move(own); }

private:
    std::optional<std::string> Copy(const std::string& source, const std::string& name);
    void NoteCopy(const std::string& name, const FileId& source, const struct stat* known);
    std::optional<std::string> BuildAndWrite(const SlideTemplate& page, const std::string& path,
                                             const ImageEntry& entry, const PageLinks& links,
                                             std::span<const std::string_view> rowValues);

    FileOps& m_ops;
    FileIds m_own;
    const SlideTemplate m_photo;
    const SlideTemplate m_clip;
    const std::string& m_folder;
    PageSetMemory* m_memory;
    RunFiles* m_run;
    std::unordered_map<std::string, FileId> m_copied;
};

// A page the memory holds was looked at already.
void PageSetWriter::Note(const std::string& name, bool written) {
    if (!m_run) return;
    const struct stat* known = written && m_memory ? m_memory->Info(m_folder + name) : nullptr;
    if (known) {
        m_run->Found(name, *known);
    } else if (written) {
        m_run->Written(m_ops, m_folder, name);
    } else {
        m_run->Meant(name);
    }
}

// The image itself, when it lies in the output folder under its own name, is not the show's to
// remove. A copy found in place was looked at already.
void PageSetWriter::NoteCopy(const std::string& name, const FileId& source,
                             const struct stat* known) {
    if (!m_run) return;
    struct stat info {};
    if (known) {
        info = *known;
    } else if (m_ops.Lstat(m_folder + name, info) != 0) {
        m_run->Meant(name);
        return;
    }
    if (FileId{info.st_dev, info.st_ino} == source) {
        m_run->notOurs.insert(name);
    } else {
        m_run->Found(name, info);
    }
}

std::optional<std::string> PageSetWriter::CopyImage(const std::string& source,
                                                    const std::string& name) {
    // Bytes that are no picture are never published as one, nor kept where an earlier run put them.
    if (const std::optional<std::string> why = ReadMediaMismatch(m_ops, source))
        return source + ": not copied, " + *why;
    std::optional<std::string> failure = Copy(source, name);
    if (failure) Note(name, false);
    return failure;
}

std::optional<std::string> PageSetWriter::Copy(const std::string& source, const std::string& name) {
    const std::string target = m_folder + name;
    const std::optional<struct stat> info = RegularFileAt(m_ops, source);
    if (!info) return source + ": could not be copied to " + target + ": " + ErrorText(errno);
    const FileId id{info->st_dev, info->st_ino};
    if (m_run) m_run->sources.insert(id);
    if (const auto copied = m_copied.find(name); copied != m_copied.end()) {
        if (copied->second == id) return std::nullopt;
        return source + ": not copied, another image named " + name + " is already in the set";
    }
    const std::optional<LinkEnd> end = FollowLinks(m_ops, target);
    const bool inPlace = end && IsCopyOf(*info, *end);
    if (!inPlace && !CopyFileOver(m_ops, source, target))
        return source + ": could not be copied to " + target + ": " + ErrorText(errno);
    m_copied.emplace(name, id);
    NoteCopy(name, id, inPlace && end->path == target ? &*end->existing : nullptr);
    return std::nullopt;
}

std::optional<std::string> PageSetWriter::WritePage(const SlideTemplate& page,
                                                    const std::string& name,
                                                    const ImageEntry& entry, const PageLinks& links,
                                                    std::span<const std::string_view> rowValues) {
    const std::string path = m_folder + name;
    if (!m_memory) return BuildAndWrite(page, path, entry, links, rowValues);
    std::string inputs = PageSetMemory::Inputs(entry, links, rowValues);
    if (m_memory->Holds(m_ops, path, inputs)) return std::nullopt;
    std::optional<std::string> failure = BuildAndWrite(page, path, entry, links, rowValues);
    if (failure) {
        m_memory->Forget(path);
    } else {
        m_memory->Remember(m_ops, path, std::move(inputs));
    }
    return failure;
}

std::optional<std::string> PageSetWriter::BuildAndWrite(
    const SlideTemplate& page, const std::string& path, const ImageEntry& entry,
    const PageLinks& links, std::span<const std::string_view> rowValues) {
    const std::optional<std::string> text = BuildPageText(page.Page(), entry, links, rowValues);
    if (std::optional<std::string> own = OwnFileAt(m_ops, path, m_own)) return own;
    if (!text) {
        return path + ": not written, the page would be larger than " +
               std::to_string(kMaxPageBytes >> 20) + " MiB";
    }
    if (!WriteFileIfChanged(m_ops, path, EncodeTextMode(*text), Flush::ToSystem))
        return path + ": could not be written: " + ErrorText(errno);
    return std::nullopt;
}

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
        return std::nullopt;
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

void NoteRecordFailure(const std::string& outputFolder, PageSetResult& result) {
    const std::string line = outputFolder + std::string(MadeFiles::kFileName) +
                             ": could not be written: " + ErrorText(errno);
    if (std::find(result.failures.begin(), result.failures.end(), line) == result.failures.end())
        result.failures.push_back(line);
}

// The output folder locked against other runs' records for as long as it lives.
class FolderLock {
public:
    FolderLock(FileOps& ops, const std::string& folder)
        : m_ops(ops), m_fd(ops.LockFolder(folder)) {}
    ~FolderLock() {
        const int error = errno;
        if (m_fd >= 0) m_ops.Close(m_fd);
        errno = error;
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    FileOps& m_ops;
    int m_fd;
};

// Takes what runs of other projects into the folder noted since the record was read; only under
// the folder's lock, which must be held until the record is written.
void TakeOthersNoted(FileOps& ops, const std::string& outputFolder, const std::string& project,
                     MadeFiles& made) {
    MadeFiles fresh;
    fresh.Read(ops, outputFolder);
    made.TakeOthersFrom(fresh, project);
}

// The record as this run leaves it, with what runs of other projects into the folder noted since
// it was read; the folder is locked meanwhile, so that two runs never write it at once.
bool WriteRecord(FileOps& ops, const std::string& outputFolder, const std::string& project,
                 MadeFiles& made) {
    const FolderLock lock(ops, outputFolder);
    TakeOthersNoted(ops, outputFolder, project, made);
    return made.Write(ops, outputFolder);
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
        whole = learnt.plan.has_value();
        if (learnt.plan) learnt.pictures = PicturesOf(*learnt.plan, made);
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
                                             const std::string& path, const SitePlace* place) {
    const std::optional<std::string> text =
        BuildOverviewText(templateText, tags, slides, 4 * kMaxPageBytes, place);
    if (!text) return path + ": not written, the page would be too large";
    if (!WriteFileIfChanged(ops, path, EncodeTextMode(*text), Flush::ToSystem))
        return path + ": could not be written: " + ErrorText(errno);
    return std::nullopt;
}

// What the run's pages are made of once the pictures are known: per row the image's name in the
// folder, its page's name and its picture, and the row as its page shows it.
struct ShowLayout {
    std::vector<std::string> imageNames;
    std::vector<std::string> pageNames;
    // The overview page's address, or empty.
    std::string index;
    std::vector<Picture> pictures;
    // With a plan, each row with the image named as published.
    std::vector<ImageEntry> shown;

    const ImageEntry* Row(std::span<const ImageEntry* const> rows, size_t row) const {
        return shown.empty() ? rows[row] : &shown[row];
    }
};

// The names of the project's own files, its project file and templates, that lie in the output
// folder itself: no page may take one and write over it.
std::vector<std::string> ShowFilesIn(const WebShow* web, const std::string& outputFolder) {
    std::vector<std::string> names;
    if (!web) return names;
    const std::filesystem::path folder = ProjectKey(outputFolder.empty() ? "." : outputFolder);
    for (const std::string* file : ShowFilePaths(*web)) {
        if (file->empty()) continue;
        const std::filesystem::path path = ProjectKey(*file);
        if (path.parent_path() == folder) names.push_back(path.filename().string());
    }
    return names;
}

ShowLayout LayOut(std::span<const ImageEntry* const> rows, ImagesLearnt& learnt, bool overview,
                  std::span<const std::string> showFiles) {
    const std::optional<WebImagePlan>& plan = learnt.plan;
    ShowLayout layout;
    std::vector<std::string_view> titles;
    for (size_t row = 0; row < rows.size(); ++row) {
        titles.push_back(rows[row]->title);
        layout.imageNames.push_back(plan ? plan->OfRow(row).name
                                         : FileNameOf(rows[row]->imagePath));
    }
    std::vector<std::string> claimed = layout.imageNames;
    claimed.insert(claimed.end(), showFiles.begin(), showFiles.end());
    if (overview) claimed.emplace_back(kOverviewPageName);
    layout.pageNames = PageFileNames(titles, claimed);
    if (overview) layout.index = EncodeLinkTarget(kOverviewPageName);
    // Without a photo reader or an image library the photos say nothing and the pictures are
    // the images as named.
    layout.pictures = std::move(learnt.pictures);
    if (layout.pictures.empty()) {
        for (const std::string& name : layout.imageNames)
            layout.pictures.push_back(PlainPicture(name));
    }
    if (plan) {
        layout.shown.reserve(rows.size());
        for (size_t row = 0; row < rows.size(); ++row) {
            layout.shown.push_back(*rows[row]);
            layout.shown.back().imagePath = layout.imageNames[row];
        }
    }
    return layout;
}

// The overview page: every slide's tile, linked to its page.
bool WriteOverviewOf(FileOps& ops, std::span<const ImageEntry* const> rows, const WebShow& web,
                     const TagSet& tags, const std::string& outputFolder, const ShowLayout& layout,
                     const ImagesLearnt& learnt, PageSetResult& result) {
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
    return Tally(WriteOverviewPage(ops, web.overviewText, tags, slides, path, web.place),
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
    if ((needs.makeImages || needs.readPhotos) &&
        !LearnImages(ops, rows, outputFolder, *web, needs, project, made, result, learnt))
        return result;
    const std::optional<WebImagePlan>& plan = learnt.plan;
    if (plan) result.converted = plan->converted;
    if (plan && run) run->Made(ops, outputFolder, *plan, made);
    const ShowLayout layout = LayOut(rows, learnt, overview, ShowFilesIn(web, outputFolder));
    static const ShootingData kNoShooting;
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
        const bool written =
            WriteOverviewOf(ops, rows, *web, tags, outputFolder, layout, learnt, result);
        writer.Note(std::string(kOverviewPageName), written);
        result.pagesWritten += written;
        result.firstPage = kOverviewPageName;
    }
    if (web && web->place) result.album = SummaryOf(rows, *web, layout, learnt, result.firstPage);
    return result;
}

// From the memory of the last run while the file is as that run wrote it.
MadeFiles ReadRecord(FileOps& ops, const std::string& outputFolder, PageSetMemory* memory) {
    const std::string path = outputFolder + std::string(MadeFiles::kFileName);
    if (memory) {
        if (std::optional<MadeFiles> kept = memory->TakeRecord(ops, path)) return std::move(*kept);
    }
    MadeFiles made;
    made.Read(ops, outputFolder);
    return made;
}

void AddLeftovers(LeftoverOutcome outcome, PageSetResult& result) {
    result.removed = std::move(outcome.removed);
    result.kept = std::move(outcome.kept);
    result.removalsFailed = static_cast<int>(outcome.failed.size());
    result.failures.insert(result.failures.end(), outcome.failed.begin(), outcome.failed.end());
}

// The slides' own photos and clips that lie in the output folder, by their paths from there, as
// their paths name them.
std::set<std::string> FilesInFolder(std::span<const ImageEntry* const> rows,
                                    const std::string& folder) {
    std::set<std::string> files;
    std::string inside = ProjectKey(folder.empty() ? "." : folder);
    if (!inside.ends_with('/')) inside += '/';
    for (const ImageEntry* row : rows) {
        const std::string path = ProjectKey(row->imagePath);
        if (path.starts_with(inside)) files.insert(path.substr(inside.size()));
    }
    return files;
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
    if (web && !web->projectFile.empty()) {
        show = ShowFiles{ProjectKey(web->projectFile), web->projectFile, web->templateFile,
                         web->settings.overviewTemplate};
    }
    MadeFiles made = needs.makeImages || needs.readPhotos || show
                         ? ReadRecord(ops, outputFolder, memory)
                         : MadeFiles();
    RunFiles run;
    PageSetResult result =
        WriteShow(ops, rows, templateText, tags, outputFolder, onPage, memory, web, needs,
                  show ? show->project : std::string(), made, show ? &run : nullptr);
    if (show) {
        // Locked from reading what other runs noted to writing the record, so that nothing another
        // run took as its own meanwhile is removed.
        const FolderLock lock(ops, outputFolder);
        TakeOthersNoted(ops, outputFolder, show->project, made);
        const bool usesChanged =
            !result.stopped &&
            made.Owned().SetUses(show->project, FilesInFolder(rows, outputFolder));
        Settled settled = SettleShowFiles(ops, outputFolder, *show, std::move(run), !result.stopped,
                                          made.Owned());
        settled.changed = settled.changed || usesChanged;
        AddLeftovers(std::move(settled.leftovers), result);
        if (settled.changed && !made.Write(ops, outputFolder)) {
            NoteRecordFailure(outputFolder, result);
        } else if (memory) {
            memory->KeepRecord(ops, outputFolder + std::string(MadeFiles::kFileName),
                               std::move(made));
        }
    }
    return result;
}

}  // namespace vistello
