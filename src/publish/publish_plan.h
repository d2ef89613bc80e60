#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "publish/publish_manifest.h"
#include "publish/site_files.h"

namespace vistello {

// What a publish sends and removes, in the order that keeps the site whole for its readers: the
// pictures, clips and other files a page may show first, then the slide pages, then the overview
// pages from the deepest album up, and only then what the site no longer has.
struct PublishPlan {
    std::array<std::vector<const SiteFile*>, 3> sends;
    std::vector<std::string> removals;
    std::size_t unchanged = 0;
    std::size_t sendCount = 0;
    std::uint64_t sendBytes = 0;
};

// `server` names what the target holds from this program; `ours` what it may remove, which is the
// same unless the server's own copy is lost.
PublishPlan MakePublishPlan(const std::vector<SiteFile>& site, const ServerManifest& server,
                            const ServerManifest& ours);

}  // namespace vistello
