#pragma once

#include <string>
#include <vector>

#include "files/file_ops.h"
#include "media/album_cipher.h"

namespace vistello {

// A private album made as an ordinary show into its staging folder, to be sealed into its
// place in the output folder.
struct SealJob {
    // The staging folder, ending with the separator; the sealed folder, empty (the current
    // folder) or ending with it.
    std::string staging;
    std::string target;
    // The album's first page, from the staging folder.
    std::string home;
    // The album's key and the password that wraps it.
    std::string key;
    std::string password;
    // Whether the key file in the sealed folder was just found to open to the key under the
    // password, which spares opening it again.
    bool keyFileOpens = false;
};

struct SealResult {
    // One line per file that could not be read, sealed, written or removed: its path and why.
    std::vector<std::string> failures;
    // Files an earlier seal wrote that are no longer needed: those removed, by path, and those
    // kept, having changed since, each with why.
    std::vector<std::string> removed;
    std::vector<std::string> kept;
    // How many of the failures are files that could not be removed.
    int removalsFailed = 0;
};

// Seals every regular file of the staging folder that is not hidden into a blob in the target,
// a stub beside the blob of each page and of the first page, the pages' own scripts and the key
// file. Only what changed since the last seal is written again: a blob whose staging file is as it
// was stays as it is, and the key file stays while it opens to the key under the password.
// What the last seal wrote that is no longer needed goes, each file only as it was written; the
// record of what was written is kept in the staging folder.
SealResult SealAlbum(FileOps& ops, AlbumCipher& cipher, const SealJob& job);

// Takes away what the seals of the album staged in `staging` wrote into `target`, each file only
// as it was written, and the record once nothing failed; the folder itself stays.
SealResult UnsealAlbum(FileOps& ops, const std::string& staging, const std::string& target);

}  // namespace vistello
