#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "files/file_ops.h"

namespace vistello {

// One file of a generated site, named relative to its folder with "/" between steps.
struct SiteFile {
    std::string name;
    std::uint64_t size = 0;
    time_t seconds = 0;
    long nanoseconds = 0;
    // 64 hex digits once known.
    std::string sha256;
};

// Whether a name relative to the site's folder may be published or removed: no step empty, ".",
// ".." or hidden (the program's records and temporaries are hidden), no zero byte, no line end.
bool PublishableName(std::string_view name);

// Every regular file below the folder that may be published, at any depth, by name. Links are
// not followed: a site never publishes what lies outside it. False, with the reason, when a folder
// cannot be read.
bool ListSiteFiles(FileOps& files, const std::string& folder, std::vector<SiteFile>& site,
                   std::string& failure);

}  // namespace vistello
