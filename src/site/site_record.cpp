#include "site/site_record.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

#include "files/atomic_file.h"
#include "files/text_file.h"
#include "output/owned_files.h"
#include "pictures/web_images.h"
#include "text/digest.h"
#include "text/key_value_lines.h"

namespace vistello {

namespace {

struct PictureField {
    std::string_view name;
    PictureFile Picture::*file;
};

constexpr PictureField kFiles[] = {{"image", &Picture::image},
                                   {"thumbnail", &Picture::thumbnail},
                                   {"double", &Picture::doubleThumbnail},
                                   {"webp", &Picture::webpThumbnail},
                                   {"doublewebp", &Picture::doubleWebpThumbnail},
                                   {"poster", &Picture::poster}};

struct PictureList {
    std::string_view name;
    std::vector<PictureFile> Picture::*files;
};

constexpr PictureList kLists[] = {
    {"ladder", &Picture::ladder}, {"webpladder", &Picture::webp}, {"avif", &Picture::avif}};

std::string FileLine(std::string_view name, const PictureFile& file) {
    return std::string(name) + " " + std::to_string(file.width) + " " +
           std::to_string(file.height) + " " + file.path;
}

bool Number(std::string_view text, long long& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// "name width height path"; false when the line is no such thing.
bool ReadPictureLine(std::string_view line, Picture& picture) {
    const size_t first = line.find(' ');
    const size_t second = line.find(' ', first + 1);
    const size_t third = line.find(' ', second + 1);
    long long width = 0;
    long long height = 0;
    if (third == std::string_view::npos ||
        !Number(line.substr(first + 1, second - first - 1), width) ||
        !Number(line.substr(second + 1, third - second - 1), height) || width < 0 || height < 0 ||
        width > kMaxImageSide || height > kMaxImageSide)
        return false;
    const std::string_view name = line.substr(0, first);
    const PictureFile file{std::string(line.substr(third + 1)), static_cast<int>(width),
                           static_cast<int>(height)};
    for (const PictureField& field : kFiles) {
        if (name == field.name) {
            picture.*field.file = file;
            return true;
        }
    }
    for (const PictureList& list : kLists) {
        if (name == list.name) {
            (picture.*list.files).push_back(file);
            return true;
        }
    }
    return false;
}

void AppendAlbum(std::string& text, const std::string& folder, const MadeAlbum& album) {
    AppendKeyValueLine(text, "ALBUM", folder);
    AppendKeyValueLine(text, "PROJECT", album.project);
    if (album.sealed) AppendKeyValueLine(text, "SEALED", "yes");
    AppendKeyValueLine(text, "DIGEST", album.digest);
    AppendKeyValueLine(text, "STAMP", album.stamp);
    const AlbumSummary& summary = album.summary;
    AppendKeyValueLine(text, "HOME", summary.home);
    AppendKeyValueLine(text, "COUNT",
                       std::to_string(summary.photos) + " " + std::to_string(summary.clips));
    AppendKeyValueLine(text, "DAYS", summary.firstDay + " " + summary.lastDay);
    if (!summary.hasCover) return;
    const Picture& cover = summary.cover;
    AppendKeyValueLine(text, "COVERKIND", cover.kind == SlideKind::Clip ? "clip" : "photo");
    for (const PictureField& field : kFiles) {
        if (!(cover.*field.file).path.empty())
            AppendKeyValueLine(text, "COVER", FileLine(field.name, cover.*field.file));
    }
    for (const PictureList& list : kLists) {
        for (const PictureFile& file : cover.*list.files)
            AppendKeyValueLine(text, "COVER", FileLine(list.name, file));
    }
}

using SiteParts = std::map<std::string, std::map<std::string, MadeAlbum>>;

// Lines before any SITE line, as older versions wrote them, are the part of the site whose top
// album they name.
class RecordReader {
public:
    explicit RecordReader(SiteParts& sites) : m_sites(sites) {}

    // False once the record is found damaged.
    bool Line(std::string_view key, std::string_view value);
    void End();

private:
    SiteParts& m_sites;
    std::map<std::string, MadeAlbum> m_older;
    std::map<std::string, MadeAlbum>* m_albums = &m_older;
    MadeAlbum* m_album = nullptr;
};

// A folder as the site names its albums' folders: names without a dot, each ending with the
// separator. Nothing else is taken from the record, so that a record written by anyone cannot lead
// the removal of albums taken out anywhere but below the output folder.
bool IsAlbumFolder(std::string_view folder) {
    if (folder.empty()) return true;
    if (!folder.ends_with('/')) return false;
    size_t start = 0;
    for (size_t slash = folder.find('/'); slash != std::string_view::npos;
         slash = folder.find('/', start)) {
        const std::string_view name = folder.substr(start, slash - start);
        if (name.empty() || name.find('.') != std::string_view::npos) return false;
        start = slash + 1;
    }
    return true;
}

bool RecordReader::Line(std::string_view key, std::string_view value) {
    if (key == "SITE") {
        if (!IsDigest(value)) return false;
        m_albums = &m_sites[std::string(value)];
        m_album = nullptr;
        return true;
    }
    if (key == "ALBUM") {
        if (!IsAlbumFolder(value)) return false;
        m_album = &(*m_albums)[std::string(value)];
        return true;
    }
    if (!m_album) return false;
    AlbumSummary& summary = m_album->summary;
    if (key == "PROJECT") {
        m_album->project = KeyFromRecord(value);
    } else if (key == "SEALED") {
        m_album->sealed = value == "yes";
    } else if (key == "DIGEST") {
        m_album->digest = value;
    } else if (key == "STAMP") {
        m_album->stamp = value;
    } else if (key == "HOME") {
        summary.home = value;
    } else if (key == "COUNT") {
        long long photos = 0;
        long long clips = 0;
        const size_t space = value.find(' ');
        if (space == std::string_view::npos || !Number(value.substr(0, space), photos) ||
            !Number(value.substr(space + 1), clips) || photos < 0 || clips < 0 ||
            photos > 1'000'000'000 || clips > 1'000'000'000)
            return false;
        summary.photos = static_cast<int>(photos);
        summary.clips = static_cast<int>(clips);
    } else if (key == "DAYS") {
        // Without days the line ends at its key, its spaces dropped.
        const size_t space = value.find(' ');
        if (space == std::string_view::npos) return value.empty();
        summary.firstDay = value.substr(0, space);
        summary.lastDay = value.substr(space + 1);
    } else if (key == "COVERKIND") {
        summary.cover.kind = value == "clip" ? SlideKind::Clip : SlideKind::Photo;
    } else if (key == "COVER") {
        summary.hasCover = true;
        return ReadPictureLine(value, summary.cover);
    } else {
        return false;
    }
    return true;
}

void RecordReader::End() {
    const auto top = m_older.find("");
    if (top != m_older.end()) m_sites[top->second.project].merge(m_older);
}

std::string RecordPath(const std::string& outputFolder) {
    std::string path = outputFolder;
    path.append(SiteRecord::kFileName);
    return path;
}

SiteParts ReadParts(FileOps& ops, const std::string& outputFolder) {
    SiteParts sites;
    const std::optional<std::string> text = ReadLineFile(ops, RecordPath(outputFolder));
    if (!text) return sites;
    RecordReader reader(sites);
    bool whole = true;
    ForEachKeyValue(*text, [&](std::string_view key, std::string_view value) {
        whole = whole && reader.Line(key, value);
    });
    if (!whole) return {};
    reader.End();
    return sites;
}

}  // namespace

void SiteRecord::Read(FileOps& ops, const std::string& outputFolder, const std::string& site) {
    m_site = site;
    m_others = ReadParts(ops, outputFolder);
    albums = std::move(m_others[site]);
    m_others.erase(site);
}

bool SiteRecord::Write(FileOps& ops, const std::string& outputFolder) const {
    SiteParts sites = ReadParts(ops, outputFolder);
    sites[m_site] = albums;
    std::string text;
    for (const auto& [site, part] : sites) {
        if (part.empty()) continue;
        AppendKeyValueLine(text, "SITE", site);
        for (const auto& [folder, album] : part) AppendAlbum(text, folder, album);
    }
    return WriteMadeFile(ops, RecordPath(outputFolder), EncodeTextMode(text));
}

void SiteRecord::AdoptGone(const std::function<bool(const std::string&)>& gone,
                           const std::set<std::string>& folders) {
    if (!albums.empty()) return;
    for (auto part = m_others.begin(); part != m_others.end(); ++part) {
        const bool shares =
            std::any_of(part->second.begin(), part->second.end(), [&](const auto& album) {
                return !album.first.empty() && folders.contains(album.first);
            });
        if (!shares || !gone(part->first)) continue;
        albums = std::move(part->second);
        m_others.erase(part);
        return;
    }
}

bool SiteRecord::OthersHold(const std::string& folder) const {
    return std::any_of(m_others.begin(), m_others.end(),
                       [&folder](const auto& site) { return site.second.contains(folder); });
}

std::string FileState(FileOps& ops, const std::string& path) {
    struct stat info {};
    if (ops.Stat(path, info) != 0) return "-";
    std::string state;
    for (const long long number :
         {static_cast<long long>(info.st_dev), static_cast<long long>(info.st_ino),
          static_cast<long long>(info.st_size), static_cast<long long>(info.st_mtim.tv_sec),
          static_cast<long long>(info.st_mtim.tv_nsec), static_cast<long long>(info.st_ctim.tv_sec),
          static_cast<long long>(info.st_ctim.tv_nsec)})
        state.append(state.empty() ? "" : " ").append(std::to_string(number));
    return state;
}

std::string FolderStamp(FileOps& ops, const std::string& folder) {
    return "2 " + FileState(ops, folder.empty() ? std::string(".") : folder) + " " +
           FileState(ops, folder + std::string(kThumbnailFolder));
}

}  // namespace vistello
