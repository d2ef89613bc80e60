#pragma once

#include <functional>
#include <string>
#include <vector>

#include "files/file_ops.h"
#include "media/photo_reader.h"
#include "slides/entry_list.h"
#include "slides/image_entry.h"

namespace vistello {

// What the top project holds before the import: the paths its rows name, and what imports
// brought into it before (see ProjectFields::imported).
struct TopProject {
    std::vector<std::string> rows;
    std::vector<std::string> imported;
};

// What an import of a folder tree did.
struct TreeImport {
    // The rows the top project gains, in order for the top of its list: its new albums, then the
    // tree's own new photos.
    std::vector<ImageEntry> rows;
    // The top project's rows to take out, as they name their files: what left the tree.
    std::vector<std::string> gone;
    // What imports brought into the top project from now on.
    std::vector<std::string> imported;
    int albumsMade = 0;
    int photosAdded = 0;
    // Photos the projects held already.
    size_t skipped = 0;
    // Folders, files and album projects left alone, each with why; photos whose paths a project
    // could not keep; rows taken out of their albums since their files left the tree.
    std::vector<std::string> leftOut;
    std::vector<std::string> unfit;
    std::vector<std::string> takenOut;
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
// The albums' projects are written in AlbumFolderOf(projectFile), never in the tree, and every
// row the import writes names its file from the root, the same from any current folder.
// Hidden folders are left out, as hidden files are; a folder reached twice through links is
// taken once; a link that leads out of the tree is left out and said, and so is a file whose
// first bytes are not what its name says (see MediaMismatch).
// Each project remembers what the import brought in, so that a row the user took out stays out;
// a photo or folder that left the tree takes its row out of the album that held it.
TreeImport ImportTree(FileOps& ops, PhotoReader& photos, const std::string& tree,
                      const std::string& projectFile, const TopProject& top, bool byDate,
                      const TreeProgress& onPhoto);

// Takes out of the list every row that names one of the paths, as TreeImport::gone names them.
void TakeOutRows(EntryList& list, const std::vector<std::string>& paths);

}  // namespace vistello
