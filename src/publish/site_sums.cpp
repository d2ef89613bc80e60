#include "publish/site_sums.h"

#include <cerrno>
#include <unordered_map>

#include "files/error_text.h"

namespace vistello {

namespace {

constexpr size_t kBlock = 1 << 18;

bool SameStamp(const SiteFile& a, const SiteFile& b) {
    return a.size == b.size && a.seconds == b.seconds && a.nanoseconds == b.nanoseconds;
}

}  // namespace

std::string SumOfFile(FileOps& files, PublishLink& link, const std::string& path,
                      const std::function<bool(std::size_t)>& block) {
    const int fd = files.OpenForReading(path);
    if (fd < 0) return {};
    auto sum = link.NewSum();
    std::string bytes(kBlock, '\0');
    ssize_t got = 0;
    while ((got = files.Read(fd, bytes.data(), bytes.size())) > 0) {
        sum->Add(bytes.data(), got);
        if (block && !block(got)) {
            files.Close(fd);
            errno = ECANCELED;
            return {};
        }
    }
    const int error = errno;
    files.Close(fd);
    if (got < 0) {
        errno = error;
        return {};
    }
    return sum->Hex();
}

bool SumSiteFiles(FileOps& files, PublishLink& link, const std::string& folder,
                  const LocalManifest& cache, std::vector<SiteFile>& site,
                  const SumProgress& progress, std::string& failure) {
    std::unordered_map<std::string_view, const SiteFile*> cached;
    if (cache.folder == folder) {
        cached.reserve(cache.files.size());
        for (const SiteFile& file : cache.files) cached.emplace(file.name, &file);
    }
    std::uint64_t read = 0;
    for (SiteFile& file : site) {
        const auto known = cached.find(file.name);
        if (known != cached.end() && SameStamp(*known->second, file)) {
            file.sha256 = known->second->sha256;
            continue;
        }
        errno = 0;
        file.sha256 = SumOfFile(files, link, folder + "/" + file.name, [&](std::size_t size) {
            read += size;
            return progress(read);
        });
        if (file.sha256.empty()) {
            if (errno == ECANCELED) return false;
            failure = errno == 0 ? "the checksum library could not be loaded"
                                 : "cannot read " + file.name + ": " + ErrorText(errno);
            return false;
        }
    }
    return true;
}

}  // namespace vistello
