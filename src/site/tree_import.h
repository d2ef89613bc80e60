#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "files/file_ops.h"
#include "media/photo_reader.h"
#include "slides/image_entry.h"

namespace vistello {

// What an import of a folder tree did.
struct TreeImport {
    // The rows the top project gains, in order for the top of its list: its new albums, then the
    // tree's own new photos.
    std::vector<ImageEntry> rows;
    int albumsMade = 0;
    int photosAdded = 0;
    // Photos the projects held already.
    size_t skipped = 0;
    // Folders and album projects left alone, each with why; photos whose paths a project could
    // not keep.
    std::vector<std::string> leftOut;
    std::vector<std::string> unfit;
    // Set when the progress asked to stop: nothing was written then.
    bool stopped = false;
};

// Told how many of the new photos were read; false stops the import.
using TreeProgress = std::function<bool(int done, int total)>;

// The folder where a project keeps the projects of its albums: beside it, named after it.
std::string AlbumFolderOf(const std::string& projectFile);

// Makes an album of every folder below `tree` that holds photos or clips, directly or further
// down, and adds to each album its folder's new photos, read as Import Directory reads them (in
// the order taken when asked), and its new albums; every edit the albums' projects hold is kept.
// The albums' projects are written in AlbumFolderOf(projectFile), never in the tree. Hidden
// folders are left out, as hidden files are; a folder reached twice through links is taken once.
// `listed` holds the paths the top project's rows name already.
TreeImport ImportTree(FileOps& ops, PhotoReader& photos, const std::string& tree,
                      const std::string& projectFile,
                      const std::unordered_set<std::string_view>& listed, bool byDate,
                      const TreeProgress& onPhoto);

}  // namespace vistello
