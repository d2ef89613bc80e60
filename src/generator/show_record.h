#pragma once

#include <span>
#include <string>
#include <vector>

#include "files/file_ops.h"
#include "generator/page_set.h"
#include "generator/page_set_memory.h"
#include "generator/show_files.h"
#include "output/made_files.h"
#include "output/project_places.h"
#include "slides/image_entry.h"

namespace vistello {

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

// Says that the folder's record could not be written, once.
void NoteRecordFailure(const std::string& outputFolder, PageSetResult& result);

// Takes what runs of other projects into the folder noted since the record was read; only under
// the folder's lock, which must be held until the record is written.
void TakeOthersNoted(FileOps& ops, const std::string& outputFolder, const std::string& project,
                     MadeFiles& made);

// The record as this run leaves it, with what runs of other projects into the folder noted since
// it was read; the folder is locked meanwhile, so that two runs never write it at once.
bool WriteRecord(FileOps& ops, const std::string& outputFolder, const std::string& project,
                 MadeFiles& made);

// Notes the files the run is about to write as the project's before it writes them, so that they
// stay its own should the record at the end never be written.
void NotePending(FileOps& ops, const std::string& outputFolder, const std::string& project,
                 const std::vector<std::string>& files, const struct timespec& start,
                 MadeFiles& made, PageSetResult& result);

// From the memory of the last run while the file is as that run wrote it.
MadeFiles ReadRecord(FileOps& ops, const std::string& outputFolder, PageSetMemory* memory);

// The run's end in the record: the files it left noted as the project's, those it no longer needs
// removed (see SettleShowFiles), and the files it passed by said. Locked from reading what other
// runs noted to writing the record, so that nothing another run took as its own meanwhile is
// removed.
void SettleRun(FileOps& ops, const std::string& outputFolder, const ShowFiles& show,
               std::span<const ImageEntry* const> rows, RunFiles run, MadeFiles& made,
               ProjectPlaces& places, PageSetMemory* memory, PageSetResult& result);

}  // namespace vistello
