#include "files/link_chain.h"

#include <cerrno>
#include <string_view>

namespace vistello {

namespace {

// As many links as the kernel itself follows before it reports a loop.
constexpr int kMaxLinks = 40;

// A relative link names a file beside the link, not beside the current folder.
std::string LinkTargetOf(const std::string& link, const std::string& target) {
    if (target.starts_with('/')) return target;
    const std::string folder = FolderOf(link);
    return folder.ends_with('/') ? folder + target : folder + '/' + target;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::optional<LinkEnd> FollowLinks(FileOps& ops, const std::string& path) {
    LinkEnd end{path, std::nullopt};
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat info {};
        if (ops.Lstat(end.path, info) != 0) {
            if (errno != ENOENT) return std::nullopt;
            return end;
        }
        if (!S_ISLNK(info.st_mode)) {
            end.existing = info;
            return end;
        }
        const std::optional<std::string> target = ops.ReadLink(end.path);
        if (!target || target->empty()) return std::nullopt;
        end.path = LinkTargetOf(end.path, *target);
    }
    errno = ELOOP;
    return std::nullopt;
}

std::optional<LinkEnd> NameItself(FileOps& ops, const std::string& path) {
    struct stat info {};
    if (ops.Lstat(path, info) == 0) return LinkEnd{path, info};
    if (errno != ENOENT) return std::nullopt;
    return LinkEnd{path, std::nullopt};
}

bool NoLinkBelow(FileOps& ops, const std::string& top, std::string_view below) {
    std::string path = top;
    for (size_t start = 0, slash; (slash = below.find('/', start)) != std::string_view::npos;
         start = slash + 1) {
        path.append(below.substr(start, slash + 1 - start));
        struct stat info {};
        if (ops.Lstat(path.substr(0, path.size() - 1), info) != 0) return errno == ENOENT;
        if (!S_ISDIR(info.st_mode)) return false;
    }
    return true;
}

}  // namespace vistello
