#include "private/staging_folder.h"

#include <sys/stat.h>

#include <cerrno>

#include "files/path_rules.h"
#include "text/digest.h"

namespace vistello {

namespace {

constexpr int kMostDepth = 256;

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

// Whether the path is a folder of its own, no link, made the user's alone.
bool OwnFolder(FileOps& ops, std::string folder) {
    // With the separator at its end, a link to a folder would be taken for the folder.
    while (folder.size() > 1 && folder.ends_with('/')) folder.pop_back();
    struct stat info {};
    if (ops.Lstat(folder, info) != 0) return false;
    if (!S_ISDIR(info.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    const int fd = ops.OpenForReading(folder);
    if (fd < 0) return false;
    const bool own = (info.st_mode & 0777) == 0700 || ops.Fchmod(fd, 0700) == 0;
    ops.Close(fd);
    return own;
}

void RemoveBelow(FileOps& ops, const std::string& folder, int depth) {
    const auto entries = ops.ListFolder(folder);
    if (!entries || depth > kMostDepth) return;
    for (const FolderEntry& entry : *entries) {
        const std::string path = folder + entry.name;
        struct stat info {};
        if (!entry.link && ops.Lstat(path, info) == 0 && S_ISDIR(info.st_mode)) {
            RemoveBelow(ops, path + "/", depth + 1);
            ops.RemoveFolder(path);
        } else {
            ops.Unlink(path);
        }
    }
}

void RemoveOthers(FileOps& ops, const std::string& staging, const std::string& below,
                  const std::set<std::string>& kept, int depth) {
    const auto entries = ops.ListFolder(staging + below);
    if (!entries || depth > kMostDepth) return;
    for (const FolderEntry& entry : *entries) {
        const std::string path = below + entry.name + "/";
        struct stat info {};
        if (entry.name.starts_with('.') || entry.link ||
            ops.Lstat(staging + below + entry.name, info) != 0 || !S_ISDIR(info.st_mode))
            continue;
        const auto next = kept.lower_bound(path);
        if (next != kept.end() && next->starts_with(path)) {
            RemoveOthers(ops, staging, path, kept, depth + 1);
        } else {
            RemoveBelow(ops, staging + path, 0);
            ops.RemoveFolder(staging + below + entry.name);
        }
    }
}

}  // namespace

std::string PrivateCacheFolder(const char* xdgCacheHome, const char* home) {
    if (IsAbsolute(xdgCacheHome)) return std::string(xdgCacheHome) + "/vistello/private/";
    if (IsAbsolute(home)) return std::string(home) + "/.cache/vistello/private/";
    return {};
}

std::string StagingFolder(const std::string& cache, const std::string& outputFolder,
                          const std::string& projectKey) {
    std::string named = AbsolutePath(outputFolder.empty() ? "." : outputFolder);
    named.push_back('\0');
    named.append(projectKey);
    return cache + Digest(named) + "/";
}

bool MakeStagingFolder(FileOps& ops, const std::string& staging) {
    MakeFoldersFor(ops, staging);
    const std::string cache = staging.substr(0, staging.rfind('/', staging.size() - 2) + 1);
    return OwnFolder(ops, cache) && OwnFolder(ops, staging);
}

int TakeStagingTurn(FileOps& ops, const std::string& staging) {
    const std::string turn = staging + ".vistello-turn";
    if (ops.MakeFolder(turn) != 0 && errno != EEXIST) return -1;
    return ops.TryLockFolder(turn);
}

void RemoveStagingFolder(FileOps& ops, const std::string& staging) {
    struct stat info {};
    if (ops.Lstat(staging.substr(0, staging.size() - 1), info) != 0 || !S_ISDIR(info.st_mode))
        return;
    RemoveBelow(ops, staging, 0);
    ops.RemoveFolder(staging);
}

void RemoveFoldersBut(FileOps& ops, const std::string& staging, const std::set<std::string>& kept) {
    RemoveOthers(ops, staging, "", kept, 0);
}

}  // namespace vistello
