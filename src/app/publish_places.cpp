#include "app/publish_places.h"

namespace vistello {

namespace {

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

std::string AbsoluteOrEmpty(const char* path) { return IsAbsolute(path) ? path : ""; }

}  // namespace

std::string PublishedFolder(const char* xdgStateHome, const char* home) {
    if (IsAbsolute(xdgStateHome)) return std::string(xdgStateHome) + "/vistello/published";
    if (IsAbsolute(home)) return std::string(home) + "/.local/state/vistello/published";
    return {};
}

ServerAccess MachineAccess(const char* home, const char* agentSocket, const char* caFile) {
    ServerAccess access;
    if (IsAbsolute(home)) access.sshFolder = std::string(home) + "/.ssh";
    access.agentSocket = AbsoluteOrEmpty(agentSocket);
    access.caFile = AbsoluteOrEmpty(caFile);
    return access;
}

}  // namespace vistello
