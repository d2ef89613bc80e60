#include "publish/site_files.h"

#include <algorithm>
#include <cerrno>

#include "files/error_text.h"

namespace vistello {

namespace {

bool PublishableStep(std::string_view step) {
    return !step.empty() && step.front() != '.' && step.find('\0') == step.npos &&
           step.find('\n') == step.npos && step.find('\r') == step.npos;
}

std::string Joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

class SiteWalk {
public:
    SiteWalk(FileOps& files, std::vector<SiteFile>& site) : m_files(files), m_site(site) {}

    bool Folder(const std::string& path, const std::string& relative, std::string& failure) {
        auto entries = m_files.ListFolder(path);
        if (!entries) {
            failure = "cannot read the folder " + path + ": " + ErrorText(errno);
            return false;
        }
        for (const FolderEntry& entry : *entries) {
            if (!PublishableStep(entry.name) || entry.link) continue;
            const std::string full = Joined(path, entry.name);
            const std::string name = relative.empty() ? entry.name : relative + "/" + entry.name;
            struct stat info {};
            if (m_files.Lstat(full, info) != 0) continue;
            if (S_ISDIR(info.st_mode)) {
                if (!Folder(full, name, failure)) return false;
            } else if (S_ISREG(info.st_mode)) {
                m_site.push_back({name,
                                  static_cast<std::uint64_t>(info.st_size),
                                  info.st_mtim.tv_sec,
                                  info.st_mtim.tv_nsec,
                                  {}});
            }
        }
        return true;
    }

private:
    FileOps& m_files;
    std::vector<SiteFile>& m_site;
};

}  // namespace

bool PublishableName(std::string_view name) {
    size_t start = 0;
    while (true) {
        const size_t slash = name.find('/', start);
        if (!PublishableStep(name.substr(start, slash - start))) return false;
        if (slash == name.npos) return true;
        start = slash + 1;
    }
}

bool ListSiteFiles(FileOps& files, const std::string& folder, std::vector<SiteFile>& site,
                   std::string& failure) {
    site.clear();
    if (!SiteWalk(files, site).Folder(folder, "", failure)) return false;
    std::sort(site.begin(), site.end(),
              [](const SiteFile& a, const SiteFile& b) { return a.name < b.name; });
    return true;
}

}  // namespace vistello
