#include "site/tree_import.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "files/error_text.h"
#include "files/path_rules.h"
#include "files/text_file.h"
#include "files/unique_names.h"
#include "media/date_taken.h"
#include "output/made_files.h"
#include "output/owned_files.h"
#include "pictures/parallel_run.h"
#include "project/project_file.h"
#include "site/album_tree.h"
#include "site/site_record.h"
#include "slides/entry_list.h"
#include "slides/folder_import.h"
#include "text/html_escape.h"
#include "text/key_value_lines.h"
#include "text/utf8_cut.h"

namespace vistello {

namespace {

constexpr std::string_view kProjectExtension = ".dat";
constexpr std::string_view kAlbumsExtension = ".albums";

// One folder of the tree and the album it becomes.
struct TreeFolder {
    std::string path;
    std::string name;
    // Its album's project; empty for the tree itself, whose album is the top project.
    std::string project;
    std::vector<size_t> folders;
    // Every photo and clip directly in it, in natural order.
    std::vector<std::string> photos;
    bool holds = false;
    // The album's project as it stands, when there is one.
    bool existed = false;
    bool keep = false;
    ProjectFields fields;
    std::vector<std::unique_ptr<ImageEntry>> rows;
    // What the album gains.
    std::vector<ImageEntry> albums;
    std::vector<std::string> newPhotos;
    std::vector<ImageEntry> photoRows;
};

using FolderId = std::pair<dev_t, ino_t>;

class TreeWalk {
public:
    TreeWalk(FileOps& ops, TreeImport& result) : m_ops(ops), m_result(result) {}

    std::vector<TreeFolder> Walk(const std::string& tree, const std::string& albums);

private:
    void Visit(size_t index, int depth);
    bool IsOutputFolder(const std::string& folder);

    FileOps& m_ops;
    TreeImport& m_result;
    std::vector<TreeFolder> m_folders;
    std::set<FolderId> m_seen;
};

std::vector<TreeFolder> TreeWalk::Walk(const std::string& tree, const std::string& albums) {
    // The albums' own projects are no photos of the tree, should the tree hold them.
    for (const std::string* folder : {&tree, &albums}) {
        struct stat info {};
        if (m_ops.Stat(*folder, info) == 0) m_seen.emplace(info.st_dev, info.st_ino);
    }
    m_folders.push_back({});
    m_folders[0].path = tree;
    Visit(0, 0);
    return std::move(m_folders);
}

// A folder a show or a site was generated into holds copies of photos, not photos of the tree.
bool TreeWalk::IsOutputFolder(const std::string& folder) {
    struct stat info {};
    return m_ops.Stat(folder + "/" + std::string(MadeFiles::kFileName), info) == 0 ||
           m_ops.Stat(folder + "/" + std::string(SiteRecord::kFileName), info) == 0;
}

void TreeWalk::Visit(size_t index, int depth) {
    const std::string path = m_folders[index].path;
    std::optional<std::vector<FolderEntry>> entries = m_ops.ListFolder(path);
    if (!entries) {
        m_result.leftOut.push_back(path + ": cannot be read: " + ErrorText(errno));
        return;
    }
    std::string prefix = path;
    AppendSeparator(prefix);
    std::vector<std::string> folders;
    for (FolderEntry& entry : *entries) {
        if (entry.name.front() == '.') continue;
        if (entry.regularFile) {
            if (IsImageFileName(entry.name)) m_folders[index].photos.push_back(prefix + entry.name);
            continue;
        }
        struct stat info {};
        if (m_ops.Stat(prefix + entry.name, info) != 0 || !S_ISDIR(info.st_mode) ||
            IsOutputFolder(prefix + entry.name))
            continue;
        // A folder reached again through a link is the same folder: once is enough.
        if (m_seen.emplace(info.st_dev, info.st_ino).second) folders.push_back(entry.name);
    }
    std::sort(m_folders[index].photos.begin(), m_folders[index].photos.end(), NaturalLess);
    std::sort(folders.begin(), folders.end(), NaturalLess);
    for (std::string& name : folders) {
        if (depth + 1 > kMaxAlbumDepth) {
            m_result.leftOut.push_back(prefix + name + ": albums nest deeper than " +
                                       std::to_string(kMaxAlbumDepth) + " levels");
            continue;
        }
        const size_t inner = m_folders.size();
        m_folders.push_back({});
        m_folders[inner].path = prefix + name;
        m_folders[inner].name = std::move(name);
        m_folders[index].folders.push_back(inner);
        Visit(inner, depth + 1);
    }
    TreeFolder& folder = m_folders[index];
    folder.holds = !folder.photos.empty() ||
                   std::any_of(folder.folders.begin(), folder.folders.end(),
                               [this](size_t inner) { return m_folders[inner].holds; });
}

// A project's name for the folder: its own name, cut to fit with the extension. Names are kept
// as they are, case and all, so that a folder added later never takes the project of one there
// before; only names cut to one length can meet, and the later one in order gets "_2".
std::string ProjectName(std::string_view name, std::set<std::string>& taken) {
    std::string stem(name);
    CutToCharacter(stem, kMaxFileNameBytes - kAlbumsExtension.size() - 8);
    std::string project = stem + std::string(kProjectExtension);
    for (int number = 2; !taken.insert(project).second; ++number)
        project = stem + "_" + std::to_string(number) + std::string(kProjectExtension);
    return project;
}

// Names each album's project, below the one of the album that holds it, where its own albums'
// projects go in a folder named after it, as the top project's do.
// A folder whose name a project cannot keep makes no album, and nor do the ones below it.
void NameProjects(std::vector<TreeFolder>& folders, size_t index, const std::string& under,
                  TreeImport& result) {
    std::set<std::string> taken;
    for (const size_t inner : folders[index].folders) {
        TreeFolder& folder = folders[inner];
        if (!folder.holds) continue;
        folder.project = under + ProjectName(folder.name, taken);
        if (!FitsKeyValueLine(folder.project)) {
            result.unfit.push_back(folder.path);
            folder.holds = false;
            continue;
        }
        NameProjects(folders, inner, AlbumFolderOf(folder.project) + "/", result);
    }
}

// What the album's project holds now; false when it is there but no project to add to.
bool ReadAlbum(FileOps& ops, TreeFolder& folder, std::set<std::string>& keys, TreeImport& result) {
    struct stat info {};
    if (ops.Stat(folder.project, info) != 0) return true;
    folder.existed = true;
    if (!keys.insert(ProjectKey(folder.project)).second) {
        result.leftOut.push_back(folder.project +
                                 ": leads to a project the import writes already, left as it is");
        return false;
    }
    const std::optional<std::string> text = ReadLineFile(ops, folder.project);
    if (!text || !HoldsProject(*text)) {
        result.leftOut.push_back(folder.project + ": " +
                                 (text ? std::string("not a project") : ErrorText(errno)) +
                                 ", left as it is");
        return false;
    }
    folder.rows = ParseProjectText(*text, folder.fields);
    return true;
}

// Which photos and albums each album gains.
void PlanAdditions(FileOps& ops, std::vector<TreeFolder>& folders, const std::string& projectFile,
                   const std::unordered_set<std::string_view>& topListed, TreeImport& result) {
    std::set<std::string> keys = {ProjectKey(projectFile)};
    for (TreeFolder& folder : folders) {
        if (!folder.holds) continue;
        folder.keep = folder.project.empty() || ReadAlbum(ops, folder, keys, result);
        if (!folder.keep) continue;
        std::unordered_set<std::string_view> listed = topListed;
        if (!folder.project.empty()) {
            listed.clear();
            for (const auto& row : folder.rows) listed.insert(row->imagePath);
        }
        for (const size_t inner : folder.folders) {
            const TreeFolder& album = folders[inner];
            if (!album.holds || listed.contains(album.project)) continue;
            ImageEntry row;
            row.title = FieldHtml(album.name);
            row.imagePath = album.project;
            folder.albums.push_back(std::move(row));
        }
        for (std::string& path : folder.photos) {
            if (!FitsKeyValueLine(path)) {
                result.unfit.push_back(path);
            } else if (listed.contains(path)) {
                ++result.skipped;
            } else {
                folder.newPhotos.push_back(path);
            }
        }
    }
}

// Every new photo read, each folder's in its order; false when asked to stop.
bool ReadPhotos(PhotoReader& photos, std::vector<TreeFolder>& folders, bool byDate,
                const TreeProgress& onPhoto) {
    std::vector<std::pair<size_t, size_t>> places;
    for (size_t folder = 0; folder < folders.size(); ++folder) {
        folders[folder].photoRows.resize(folders[folder].newPhotos.size());
        for (size_t photo = 0; photo < folders[folder].newPhotos.size(); ++photo)
            places.emplace_back(folder, photo);
    }
    std::vector<std::optional<TakenAt>> takenAt(places.size());
    const int total = static_cast<int>(places.size());
    const ParallelRun run = RunInParallel(
        total, CoreCount(),
        [&](int item) {
            const auto [folder, photo] = places[static_cast<size_t>(item)];
            folders[folder].photoRows[photo] =
                EntryFromPhoto(photos, folders[folder].newPhotos[photo],
                               byDate ? &takenAt[static_cast<size_t>(item)] : nullptr);
        },
        [&](int done) { return !onPhoto || onPhoto(done, total); });
    if (run.stopped) return false;
    if (!byDate) return true;
    size_t first = 0;
    for (TreeFolder& folder : folders) {
        const std::vector<std::optional<TakenAt>> own(
            takenAt.begin() + static_cast<std::ptrdiff_t>(first),
            takenAt.begin() + static_cast<std::ptrdiff_t>(first + folder.photoRows.size()));
        std::vector<ImageEntry> ordered;
        for (const size_t i : OldestFirst(own)) ordered.push_back(std::move(folder.photoRows[i]));
        first += folder.photoRows.size();
        folder.photoRows = std::move(ordered);
    }
    return true;
}

void MakeFoldersFor(FileOps& ops, const std::string& project) {
    for (size_t slash = project.find('/', 1); slash != std::string::npos;
         slash = project.find('/', slash + 1))
        ops.MakeFolder(project.substr(0, slash));
}

// The album's project with what it gains on top, its edits kept.
void WriteAlbum(FileOps& ops, TreeFolder& folder, TreeImport& result) {
    if (folder.existed && folder.albums.empty() && folder.photoRows.empty()) return;
    EntryList list;
    std::reverse(folder.rows.begin(), folder.rows.end());
    list.InsertTop(std::move(folder.rows));
    std::vector<ImageEntry> gained = std::move(folder.albums);
    std::move(folder.photoRows.begin(), folder.photoRows.end(), std::back_inserter(gained));
    list.InsertTop(std::move(gained));
    MakeFoldersFor(ops, folder.project);
    const std::string text = FormatProjectText(folder.fields.templateFile,
                                               folder.fields.outputFolder, folder.fields.web, list);
    if (!WriteTextFile(ops, folder.project, text)) {
        result.leftOut.push_back(folder.project + ": cannot be written: " + ErrorText(errno));
        return;
    }
    result.albumsMade += folder.existed ? 0 : 1;
}

}  // namespace

std::string AlbumFolderOf(const std::string& projectFile) {
    const std::string name = FileNameOf(projectFile);
    const std::string folder = projectFile.substr(0, projectFile.size() - name.size());
    return folder + std::string(StemOf(name)) + std::string(kAlbumsExtension);
}

TreeImport ImportTree(FileOps& ops, PhotoReader& photos, const std::string& tree,
                      const std::string& projectFile,
                      const std::unordered_set<std::string_view>& listed, bool byDate,
                      const TreeProgress& onPhoto) {
    TreeImport result;
    std::vector<TreeFolder> folders = TreeWalk(ops, result).Walk(tree, AlbumFolderOf(projectFile));
    NameProjects(folders, 0, AlbumFolderOf(projectFile) + "/", result);
    PlanAdditions(ops, folders, projectFile, listed, result);
    if (!ReadPhotos(photos, folders, byDate, onPhoto)) {
        result.stopped = true;
        return result;
    }
    for (size_t index = 1; index < folders.size(); ++index) {
        TreeFolder& folder = folders[index];
        if (!folder.holds || !folder.keep) continue;
        result.photosAdded += static_cast<int>(folder.photoRows.size());
        WriteAlbum(ops, folder, result);
    }
    TreeFolder& top = folders[0];
    result.photosAdded += static_cast<int>(top.photoRows.size());
    result.rows = std::move(top.albums);
    std::move(top.photoRows.begin(), top.photoRows.end(), std::back_inserter(result.rows));
    return result;
}

}  // namespace vistello
