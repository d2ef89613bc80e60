#include "pictures/web_clips.h"

#include <atomic>
#include <cerrno>

#include "files/atomic_file.h"
#include "files/error_text.h"
#include "pictures/parallel_run.h"

namespace vistello {

namespace {

// "bare": with no tool's name and no messages among the pictures, which copies made before
// (recorded as "strip") still carry, so that they are made again.
std::string VideoRecipe(const ClipJob& job) {
    return "clip/" + std::to_string(job.side) + "/" + (job.keepDetails ? "keep" : "bare");
}

std::string PosterRecipe(const ClipJob& job) {
    return "poster/" + std::to_string(job.side) + "/bare";
}

std::string ThumbnailRecipe(const WebSettings& settings) {
    return "poster-thumbnail/" + std::to_string(settings.thumbnailSide) + "/" +
           std::to_string(settings.quality);
}

bool Holds(FileOps& ops, const std::string& folder, const ClipPlan& clip, MadeFiles& made,
           const WebSettings& settings) {
    const auto holds = [&](const std::string& target, const std::string& recipe) {
        return made.HoldsFile(ops, folder, target, recipe, clip.job.source, clip.source, true);
    };
    return holds(clip.video, VideoRecipe(clip.job)) && holds(clip.poster, PosterRecipe(clip.job)) &&
           (clip.thumbnail.empty() || holds(clip.thumbnail, ThumbnailRecipe(settings)));
}

// What one clip became, or why it did not.
struct ClipMade {
    ClipOutcome video;
    ClipOutcome poster;
    EncodedImage thumbnail;
    std::string failure;
};

// The tool's own reason where it gave one, else the system's.
std::string Reason(const ClipOutcome& outcome) {
    return outcome.failure.empty() ? ErrorText(errno) : outcome.failure;
}

ClipMade MakeClip(FileOps& ops, ClipMaker& clips, ImageMaker& images, const ClipPlan& clip,
                  const WebSettings& settings, const std::string& folder, const ClipGoing& going) {
    ClipMade made;
    const auto into = [&](const std::string& target, ClipOutcome& outcome, auto make) {
        const bool whole = ReplaceMadeFileIn(ops, folder, target, [&](int fd, const BlockWriter&) {
            outcome = make(fd);
            return outcome.failure.empty();
        });
        if (!whole) made.failure = folder + target + ": " + Reason(outcome);
        return whole;
    };
    if (!into(clip.video, made.video,
              [&](int fd) { return clips.MakeVideo(clip.job, fd, going); }) ||
        !into(clip.poster, made.poster,
              [&](int fd) { return clips.MakePoster(clip.job, fd, going); }))
        return made;
    if (clip.thumbnail.empty()) return made;
    MadeImage thumbnail = images.Make({folder + clip.poster,
                                       clip.thumbnail,
                                       settings.thumbnailSide,
                                       settings.quality,
                                       false,
                                       false,
                                       {}});
    if (thumbnail.failure.empty() &&
        !WriteMadeFileIn(ops, folder, clip.thumbnail, thumbnail.images.at(0).bytes))
        thumbnail.failure = ErrorText(errno);
    if (!thumbnail.failure.empty()) {
        made.failure = folder + clip.thumbnail + ": " + thumbnail.failure;
    } else {
        made.thumbnail = {{}, thumbnail.images[0].width, thumbnail.images[0].height};
    }
    return made;
}

}  // namespace

MadeResult MakeWebClips(FileOps& ops, ClipMaker& clips, ImageMaker& images,
                        const WebImagePlan& plan, const WebSettings& settings,
                        const std::string& folder, MadeFiles& made, int threads,
                        const ClipsDone& onClip) {
    std::vector<size_t> todo;
    bool anyThumbnail = false;
    for (size_t clip = 0; clip < plan.clips.size(); ++clip) {
        if (Holds(ops, folder, plan.clips[clip], made, settings)) continue;
        todo.push_back(clip);
        anyThumbnail = anyThumbnail || !plan.clips[clip].thumbnail.empty();
    }
    if (anyThumbnail) ops.MakeFolder(folder + std::string(kThumbnailFolder));
    const int total = static_cast<int>(todo.size());
    std::vector<ClipMade> results(todo.size());
    std::atomic<bool> stopping = false;
    std::vector<std::atomic<int>> percent(todo.size());
    const ParallelRun run = RunInParallel(
        total, threads,
        [&](int item) {
            const auto at = static_cast<size_t>(item);
            results[at] = MakeClip(ops, clips, images, plan.clips[todo[at]], settings, folder,
                                   [&stopping, &percent, at](double done) {
                                       percent[at] = static_cast<int>(done * 100);
                                       return !stopping;
                                   });
        },
        [&](int done) {
            const int under = done < total ? percent[static_cast<size_t>(done)].load() : 100;
            if (!onClip(done, total, under)) stopping = true;
            return !stopping;
        },
        [&images] { images.EndThread(); });
    MadeResult result;
    result.stopped = run.stopped;
    result.failure = run.failure;
    for (size_t item = 0; item < todo.size(); ++item) {
        if (!run.Finished(static_cast<int>(item))) continue;
        const ClipPlan& clip = plan.clips[todo[item]];
        const ClipMade& outcome = results[item];
        if (!outcome.failure.empty()) {
            result.failed.emplace(clip.job.source,
                                  clip.job.source + ": could not be made into " + outcome.failure);
            continue;
        }
        const auto note = [&](const std::string& target, std::string recipe, int w, int h) {
            made.NoteFile(ops, folder, target, std::move(recipe), clip.job.source, clip.source, w,
                          h);
        };
        note(clip.video, VideoRecipe(clip.job), outcome.video.width, outcome.video.height);
        note(clip.poster, PosterRecipe(clip.job), outcome.poster.width, outcome.poster.height);
        if (!clip.thumbnail.empty()) {
            note(clip.thumbnail, ThumbnailRecipe(settings), outcome.thumbnail.width,
                 outcome.thumbnail.height);
        }
    }
    return result;
}

std::vector<std::string> ClipFiles(const WebImagePlan& plan) {
    std::vector<std::string> files;
    for (const ClipPlan& clip : plan.clips) {
        for (const std::string* file : {&clip.video, &clip.poster, &clip.thumbnail}) {
            if (!file->empty()) files.push_back(*file);
        }
    }
    return files;
}

}  // namespace vistello
