#include "generator/show_files.h"

#include <sys/stat.h>

#include <utility>

#include "generator/web_clips.h"

namespace vistello {

namespace {

void AddFile(FileOps& ops, const std::string& path, FileIds& ids) {
    struct stat info {};
    if (!path.empty() && ops.Stat(path, info) == 0) ids.emplace(info.st_dev, info.st_ino);
}

// By the files the names lead to, so that no other name of one of them is taken for a leftover.
FileIds ShowFileIds(FileOps& ops, const ShowFiles& show) {
    FileIds ids;
    for (const std::string* path : {&show.projectFile, &show.templateFile, &show.overviewTemplate})
        AddFile(ops, *path, ids);
    for (const ImageEntry* row : show.rows) AddFile(ops, row->imagePath, ids);
    return ids;
}

}  // namespace

void RunFiles::Written(FileOps& ops, const std::string& folder, const std::string& name) {
    struct stat info {};
    if (ops.Lstat(folder + name, info) == 0 && S_ISREG(info.st_mode)) {
        files.insert_or_assign(name, WrittenMark::Of(info));
    } else {
        Meant(name);
    }
}

void RunFiles::Made(FileOps& ops, const std::string& folder, const WebImagePlan& plan,
                    const MadeImages& made) {
    const auto note = [&](const std::string& target) {
        struct stat info {};
        if (ops.Lstat(folder + target, info) == 0 && S_ISREG(info.st_mode) &&
            made.AsMade(target, info)) {
            files.insert_or_assign(target, WrittenMark::Of(info));
        } else {
            Meant(target);
        }
    };
    for (const ImageJob& job : plan.jobs) {
        note(job.target);
        for (const ImageOutput& output : job.more) note(output.target);
    }
    for (const std::string& file : ClipFiles(plan)) note(file);
}

LeftoverOutcome SettleShowFiles(FileOps& ops, const std::string& folder, const ShowFiles& show,
                                const RunFiles& run, bool whole, OwnedFiles& owned) {
    static const WrittenFiles kNone;
    const WrittenFiles* found = owned.Of(show.project);
    const WrittenFiles& before = found ? *found : kNone;
    WrittenFiles now;
    for (const auto& [name, mark] : run.files) {
        if (mark) {
            now.emplace(name, *mark);
        } else if (const auto earlier = before.find(name); earlier != before.end()) {
            now.insert(*earlier);
        }
    }
    WrittenFiles leftovers;
    for (const auto& entry : before) {
        if (run.files.contains(entry.first) || run.notOurs.contains(entry.first)) continue;
        if (!whole) {
            now.insert(entry);
        } else if (!owned.OwnedByAnother(show.project, entry.first)) {
            leftovers.insert(entry);
        }
    }
    LeftoverOutcome outcome;
    if (!leftovers.empty()) {
        outcome = RemoveLeftovers(ops, folder, leftovers, ShowFileIds(ops, show));
        now.merge(outcome.stillOwned);
    }
    owned.Set(show.project, std::move(now));
    return outcome;
}

}  // namespace vistello
