#include "generator/show_record.h"

#include <algorithm>
#include <cerrno>
#include <set>
#include <utility>

#include "files/error_text.h"

namespace vistello {

namespace {

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

void NoteRecordFailure(const std::string& outputFolder, PageSetResult& result) {
    const std::string line = outputFolder + std::string(MadeFiles::kFileName) +
                             ": could not be written: " + ErrorText(errno);
    if (std::find(result.failures.begin(), result.failures.end(), line) == result.failures.end())
        result.failures.push_back(line);
}

// Takes what runs of other projects into the folder noted since the record was read; only under
// the folder's lock, which must be held until the record is written.
void TakeOthersNoted(FileOps& ops, const std::string& outputFolder, const std::string& project,
                     MadeFiles& made) {
    MadeFiles fresh;
    fresh.Read(ops, outputFolder);
    made.TakeOthersFrom(fresh, project);
}

bool WriteRecord(FileOps& ops, const std::string& outputFolder, const std::string& project,
                 MadeFiles& made) {
    const FolderLock lock(ops, outputFolder);
    TakeOthersNoted(ops, outputFolder, project, made);
    return made.Write(ops, outputFolder);
}

void NotePending(FileOps& ops, const std::string& outputFolder, const std::string& project,
                 const std::vector<std::string>& files, const struct timespec& start,
                 MadeFiles& made, PageSetResult& result) {
    const FolderLock lock(ops, outputFolder);
    TakeOthersNoted(ops, outputFolder, project, made);
    if (made.Owned().AddPending(project, files, start) && !made.Write(ops, outputFolder))
        NoteRecordFailure(outputFolder, result);
}

MadeFiles ReadRecord(FileOps& ops, const std::string& outputFolder, PageSetMemory* memory) {
    const std::string path = outputFolder + std::string(MadeFiles::kFileName);
    if (memory) {
        if (std::optional<MadeFiles> kept = memory->TakeRecord(ops, path)) return std::move(*kept);
    }
    MadeFiles made;
    made.Read(ops, outputFolder);
    return made;
}

void SettleRun(FileOps& ops, const std::string& outputFolder, const ShowFiles& show,
               std::span<const ImageEntry* const> rows, RunFiles run, MadeFiles& made,
               ProjectPlaces& places, PageSetMemory* memory, PageSetResult& result) {
    const FolderLock lock(ops, outputFolder);
    TakeOthersNoted(ops, outputFolder, show.project, made);
    const bool usesChanged =
        !result.stopped && made.Owned().SetUses(show.project, FilesInFolder(rows, outputFolder));
    Settled settled = SettleShowFiles(ops, outputFolder, show, std::move(run), !result.stopped,
                                      made.Owned(), places);
    settled.changed = settled.changed || usesChanged;
    AddLeftovers(std::move(settled.leftovers), result);
    for (const std::string& name : made.TakenNames()) result.passed.push_back(outputFolder + name);
    if (settled.changed && !made.Write(ops, outputFolder)) {
        NoteRecordFailure(outputFolder, result);
    } else if (memory) {
        memory->KeepRecord(ops, outputFolder + std::string(MadeFiles::kFileName), std::move(made));
    }
}

}  // namespace vistello
