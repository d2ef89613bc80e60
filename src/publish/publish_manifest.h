#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "publish/site_files.h"

namespace vistello {

// What a target holds from this program: each file it sent, by name, with its SHA-256. A copy
// lives on the server beside the site, so that another machine, or this one after losing its own,
// still sends only what differs and removes only what it sent.
using ServerManifest = std::unordered_map<std::string, std::string>;

// The name of the server's copy, at the site folder's root; hidden, so never published as a page.
inline constexpr std::string_view kServerManifestName = ".vistello-published";

std::string FormatServerManifest(const ServerManifest& manifest);
// Anyone who can write to the server can write this file: a line that is not a sum and a
// publishable name is left out, so that nothing outside the site is ever removed by way of it.
ServerManifest ParseServerManifest(std::string_view text);

// What this machine keeps of a target: the site's files as they were when last summed, so that a
// file whose size and time are unchanged is not read again, and the server's manifest as last
// written.
struct LocalManifest {
    std::string folder;
    std::vector<SiteFile> files;
    ServerManifest server;
    // The server's manifest was written to it after the last change.
    bool written = false;
};

std::string FormatLocalManifest(const LocalManifest& manifest);
LocalManifest ParseLocalManifest(std::string_view text);

// Where this machine keeps a target's manifest: one file per address, named without showing it.
std::string LocalManifestPath(const std::string& manifestFolder, std::string_view address);

}  // namespace vistello
