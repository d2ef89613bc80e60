#pragma once

#include <set>
#include <string>

#include "files/file_ops.h"

namespace vistello {

// Where private albums are made before they are sealed: $XDG_CACHE_HOME/vistello/private/, else
// $HOME/.cache/vistello/private/; empty when neither is a path from the root.
std::string PrivateCacheFolder(const char* xdgCacheHome, const char* home);

// The staging folder of the private album made from the project `projectKey` (see RecordKey)
// into the output folder: below `cache`, ending with the separator, named by a digest of both,
// so that it tells nothing of either.
std::string StagingFolder(const std::string& cache, const std::string& outputFolder,
                          const std::string& projectKey);

// Makes the staging folder and the folders that lead to it; it and the one that holds every
// staging folder are the user's alone, since they hold the albums unsealed. False, with errno,
// when it is not a folder of its own now.
bool MakeStagingFolder(FileOps& ops, const std::string& staging);

// A descriptor that holds the staging folder for this run alone until it is closed; -1, with
// errno EWOULDBLOCK where another run holds it now.
int TakeStagingTurn(FileOps& ops, const std::string& staging);

// Removes every folder below the staging folder, but the hidden ones, that is neither one of `kept`
// (paths from it, each ending with the separator) nor leads to one, with everything in it: the
// folders of albums the lock no longer holds, which would be sealed again otherwise.
void RemoveFoldersBut(FileOps& ops, const std::string& staging, const std::set<std::string>& kept);

// Removes a staging folder with everything in it, never by way of a link.
void RemoveStagingFolder(FileOps& ops, const std::string& staging);

}  // namespace vistello
