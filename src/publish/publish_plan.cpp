#include "publish/publish_plan.h"

#include <algorithm>
#include <unordered_set>

namespace vistello {

namespace {

enum Phase { kShown = 0, kSlidePage = 1, kOverviewPage = 2 };

std::string_view LastStep(std::string_view name) {
    const size_t slash = name.rfind('/');
    return slash == name.npos ? name : name.substr(slash + 1);
}

bool IsPage(std::string_view name) { return name.ends_with(".htm") || name.ends_with(".html"); }

Phase PhaseOf(std::string_view name) {
    if (!IsPage(name)) return kShown;
    const std::string_view last = LastStep(name);
    return last == "index.htm" || last == "index.html" ? kOverviewPage : kSlidePage;
}

size_t Depth(std::string_view name) { return std::count(name.begin(), name.end(), '/'); }

}  // namespace

PublishPlan MakePublishPlan(const std::vector<SiteFile>& site, const ServerManifest& server,
                            const ServerManifest& ours) {
    PublishPlan plan;
    std::unordered_set<std::string_view> names;
    names.reserve(site.size());
    for (const SiteFile& file : site) {
        names.insert(file.name);
        const auto held = server.find(file.name);
        if (held != server.end() && held->second == file.sha256) {
            ++plan.unchanged;
            continue;
        }
        plan.sends[PhaseOf(file.name)].push_back(&file);
        ++plan.sendCount;
        plan.sendBytes += file.size;
    }
    auto& overviews = plan.sends[kOverviewPage];
    std::stable_sort(overviews.begin(), overviews.end(), [](const SiteFile* a, const SiteFile* b) {
        return Depth(a->name) > Depth(b->name);
    });
    for (const auto& [name, sum] : ours)
        if (!names.contains(name)) plan.removals.push_back(name);
    std::sort(plan.removals.begin(), plan.removals.end());
    return plan;
}

}  // namespace vistello
