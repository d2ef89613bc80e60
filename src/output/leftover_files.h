#pragma once

#include <sys/types.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "files/file_ops.h"
#include "output/owned_files.h"

namespace vistello {

// Files by device and inode, whatever name leads to them.
using FileIds = std::set<std::pair<dev_t, ino_t>>;

// What became of the files a project wrote for slides no longer in its show.
struct LeftoverOutcome {
    // Each by its path: the folder, then its path from there.
    std::vector<std::string> removed;
    // Each with why it stays.
    std::vector<std::string> kept;
    // Each with the system's reason.
    std::vector<std::string> failed;
    // Those that could not be removed, still the project's to remove on a later run.
    WrittenFiles stillOwned;
};

// Removes each leftover that is still as it was written: a regular file in the folder or a folder
// of it, reached by no link, with the size, modification time and inode of its mark, and none of
// the files in `keep`. A leftover the record names outside the folder, one that changed since or
// that the show uses is kept and said; one that is gone already is passed over.
// What the outcome already says stays in it.
LeftoverOutcome RemoveLeftovers(FileOps& ops, const std::string& folder,
                                const WrittenFiles& leftovers, const FileIds& keep,
                                LeftoverOutcome outcome = {});

}  // namespace vistello
