#include "publish/server_check.h"

#include <unordered_map>

namespace vistello {

bool IsSendTemporary(std::string_view name) {
    const size_t slash = name.rfind('/');
    return name.substr(slash == name.npos ? 0 : slash + 1).starts_with(".vistello-up-");
}

ServerCheck CheckServer(PublishServer& server, const std::vector<SiteFile>& site,
                        const ServerManifest& known) {
    ServerCheck check;
    std::vector<ServerFile> listed;
    check.answer = server.List(listed);
    if (!check.answer.Ok()) return check;
    std::unordered_map<std::string_view, std::uint64_t> sizes;
    sizes.reserve(listed.size());
    for (const ServerFile& file : listed) {
        if (IsSendTemporary(file.name)) {
            server.Remove(file.name);
            continue;
        }
        sizes.emplace(file.name, file.size);
    }
    for (const SiteFile& file : site) {
        if (!known.contains(file.name)) continue;
        const auto found = sizes.find(file.name);
        if (found == sizes.end()) {
            check.wrong.push_back(file.name);
            check.differences.push_back(file.name + ": not on the server");
        } else if (found->second != file.size) {
            check.wrong.push_back(file.name);
            check.differences.push_back(file.name + ": " + std::to_string(found->second) +
                                        " bytes on the server, " + std::to_string(file.size) +
                                        " in the site");
        }
    }
    return check;
}

}  // namespace vistello
