#include "generator/show_files.h"

#include <sys/stat.h>

#include <functional>
#include <map>
#include <utility>

#include "pictures/web_clips.h"

namespace vistello {

namespace {

void AddFile(FileOps& ops, const std::string& path, FileIds& ids) {
    struct stat info {};
    if (!path.empty() && ops.Stat(path, info) == 0) ids.emplace(info.st_dev, info.st_ino);
}

// By the files the names lead to, so that no other name of one of them is taken for a leftover.
void AddShowFiles(FileOps& ops, const ShowFiles& show, FileIds& ids) {
    for (const std::string* path : {&show.projectFile, &show.templateFile, &show.overviewTemplate})
        AddFile(ops, *path, ids);
}

// Brings the run's marks into the project's files, both walked in name order, and takes out those
// the run no longer means: a slide's own image always, and after a whole run the leftovers, which
// it returns. `changed` says whether any file came, went or has another mark.
WrittenFiles TakeLeftovers(WrittenFiles& mine, const RunFiles& run, bool whole, bool& changed) {
    WrittenFiles leftovers;
    auto ran = run.files.begin();
    auto file = mine.begin();
    while (ran != run.files.end() || file != mine.end()) {
        if (file == mine.end() || (ran != run.files.end() && ran->first < file->first)) {
            if (ran->second) mine.emplace_hint(file, ran->first, *ran->second);
            changed = changed || ran->second;
            ++ran;
        } else if (ran != run.files.end() && ran->first == file->first) {
            if (ran->second && !(*ran->second == file->second)) {
                file->second = *ran->second;
                changed = true;
            }
            ++ran;
            ++file;
        } else if (run.notOurs.contains(file->first)) {
            file = mine.erase(file);
            changed = true;
        } else if (whole) {
            leftovers.insert(mine.extract(file++));
            changed = true;
        } else {
            ++file;
        }
    }
    return leftovers;
}

}  // namespace

void RunFiles::Written(FileOps& ops, const std::string& folder, const std::string& name) {
    struct stat info {};
    if (ops.Lstat(folder + name, info) == 0) {
        Found(name, info);
    } else {
        Meant(name);
    }
}

void RunFiles::Found(const std::string& name, const struct stat& info) {
    if (S_ISREG(info.st_mode)) {
        files.insert_or_assign(name, WrittenMark::Of(info));
        sources.emplace(info.st_dev, info.st_ino);
    } else {
        Meant(name);
    }
}

void RunFiles::Made(FileOps& ops, const std::string& folder, const WebImagePlan& plan,
                    const MadeFiles& made) {
    const auto note = [&](const std::string& target) {
        struct stat info {};
        if (ops.Lstat(folder + target, info) == 0 && S_ISREG(info.st_mode) &&
            made.AsMade(target, info)) {
            Found(target, info);
        } else {
            Meant(target);
        }
    };
    for (const PlannedJob& planned : plan.jobs) {
        note(planned.job.target);
        for (const ImageOutput& output : planned.job.more) note(output.target);
    }
    for (const std::string& file : ClipFiles(plan)) note(file);
    for (const std::string& file : plan.resting) note(file);
    for (const PlannedJob& job : plan.jobs) sources.emplace(job.source.st_dev, job.source.st_ino);
    for (const ClipPlan& clip : plan.clips) sources.emplace(clip.source.st_dev, clip.source.st_ino);
}

Settled SettleShowFiles(FileOps& ops, const std::string& folder, const ShowFiles& show,
                        RunFiles run, bool whole, OwnedFiles& owned, ProjectPlaces& places) {
    Settled settled;
    WrittenFiles mine = owned.Take(show.project);
    WrittenFiles leftovers = TakeLeftovers(mine, run, whole, settled.changed);
    LeftoverOutcome& outcome = settled.leftovers;
    const std::function<bool(const std::string&)> present = [&places](const std::string& key) {
        return !places.Gone(key);
    };
    for (auto file = leftovers.begin(); file != leftovers.end();) {
        const std::string* other = owned.AnotherOwner(show.project, file->first, present);
        if (!other) {
            ++file;
            continue;
        }
        const std::string* path = places.PathOf(*other);
        outcome.kept.push_back(folder + file->first + ": kept, " +
                               (path ? "the project " + *path : std::string("another project")) +
                               " uses it too");
        file = leftovers.erase(file);
    }
    if (!leftovers.empty()) {
        AddShowFiles(ops, show, run.sources);
        outcome = RemoveLeftovers(ops, folder, leftovers, run.sources, std::move(outcome));
        mine.merge(outcome.stillOwned);
    }
    owned.Set(show.project, std::move(mine));
    return settled;
}

}  // namespace vistello
