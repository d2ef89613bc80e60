#pragma once

#include <string>

#include "files/file_ops.h"

namespace vistello {

// What an album's tile shows of it.
struct AlbumFacts {
    // The picture its pages show as its cover, as its project names it; empty for none.
    std::string cover;
    // Its pages are for those given its password.
    bool locked = false;

    bool operator==(const AlbumFacts&) const = default;
};

// From the album's project: its cover where it names one among its rows, else its first photo,
// else its first clip, as a site shows it; nothing for a project that cannot be read.
AlbumFacts ReadAlbumFacts(FileOps& ops, const std::string& album);

}  // namespace vistello
