#include "site/tree_import.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "files/error_text.h"
#include "files/file_ops.h"
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
#include "slides/media_signature.h"
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
    // Its album's project; empty for the tree itself, whose album is the top project, and for a
    // folder that makes no album.
    std::string project;
    // Where the projects of its own albums go, ending with the separator.
    std::string under;
    std::vector<size_t> folders;
    // Every photo and clip directly in it, in the order the folder lists them.
    std::vector<std::string> photos;
    bool holds = false;
    // Its names could not be listed: what it holds is not known, so none of it is taken out.
    bool unread = false;
    // The user took its album out of the one above: it stays out, and so does all below it.
    bool dropped = false;
    // The album's project as it stands, when there is one: its text, the paths its rows name and
    // what imports brought into it before, both as the text has them. Its rows are read whole
    // only when it is written.
    bool existed = false;
    bool keep = false;
    std::string text;
    std::vector<std::string_view> rowPaths;
    std::vector<std::string_view> before;
    // What stands in the folder as the import brings it in from now on: its albums' folders, each
    // with the separator at the end, and its photos.
    std::deque<std::string> albumEntries;
    std::vector<std::string_view> now;
    // What the album gains.
    std::vector<ImageEntry> albums;
    std::vector<std::string> newPhotos;
    std::vector<ImageEntry> photoRows;
    // Its rows whose files or folders left the tree, as the rows name them.
    std::vector<std::string> gone;
    // Whether what the import brought in is other than the project says.
    bool memoryChanged = false;
};

using FolderId = std::pair<dev_t, ino_t>;

class TreeWalk {
public:
    TreeWalk(FileOps& ops, TreeImport& result) : m_ops(ops), m_result(result) {}

    std::vector<TreeFolder> Walk(const std::string& tree, const std::string& albums);

private:
    void Visit(size_t index, int depth);
    bool IsOutputFolder(const std::string& folder);
    // Whether the link, followed to its end, leads to a place in the tree.
    bool LeadsInside(const std::string& link) const;
    void LeaveOut(const std::string& path, const std::string& why) {
        m_result.leftOut.push_back(path + ": " + why);
    }

    FileOps& m_ops;
    TreeImport& m_result;
    std::vector<TreeFolder> m_folders;
    std::set<FolderId> m_seen;
    // The tree's folder with every link on the way resolved, ending with the separator.
    std::string m_realTree;
};

std::vector<TreeFolder> TreeWalk::Walk(const std::string& tree, const std::string& albums) {
    // The albums' own projects are no photos of the tree, should the tree hold them.
    for (const std::string* folder : {&tree, &albums}) {
        struct stat info {};
        if (m_ops.Stat(*folder, info) == 0) m_seen.emplace(info.st_dev, info.st_ino);
    }
    std::error_code error;
    m_realTree = std::filesystem::canonical(tree, error).string();
    AppendSeparator(m_realTree);
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

bool TreeWalk::LeadsInside(const std::string& link) const {
    std::error_code error;
    std::string target = std::filesystem::canonical(link, error).string();
    AppendSeparator(target);
    return !error && !m_realTree.empty() && target.starts_with(m_realTree);
}

void TreeWalk::Visit(size_t index, int depth) {
    const std::string path = m_folders[index].path;
    std::optional<std::vector<FolderEntry>> entries = m_ops.ListFolder(path);
    if (!entries) {
        LeaveOut(path, "cannot be read: " + ErrorText(errno));
        m_folders[index].unread = true;
        return;
    }
    std::string prefix = path;
    AppendSeparator(prefix);
    std::vector<std::string> folders;
    for (FolderEntry& entry : *entries) {
        if (entry.name.front() == '.') continue;
        const std::string file = prefix + entry.name;
        const bool image = IsImageFileName(entry.name);
        if (entry.regularFile) {
            if (!image) continue;
            if (entry.link && !LeadsInside(file)) {
                LeaveOut(file, "leads out of the tree");
            } else {
                m_folders[index].photos.push_back(file);
            }
            continue;
        }
        struct stat info {};
        if (m_ops.Stat(file, info) != 0) {
            if (image) LeaveOut(file, "cannot be read: " + ErrorText(errno));
            continue;
        }
        if (!S_ISDIR(info.st_mode)) {
            if (image) LeaveOut(file, "not a regular file");
            continue;
        }
        if (IsOutputFolder(file)) continue;
        if (entry.link && !LeadsInside(file)) {
            LeaveOut(file, "leads out of the tree");
            continue;
        }
        // A folder reached again through a link is the same folder: once is enough.
        if (m_seen.emplace(info.st_dev, info.st_ino).second) folders.push_back(entry.name);
    }
    std::sort(folders.begin(), folders.end(), NaturalLess);
    for (std::string& name : folders) {
        if (depth + 1 > kMaxAlbumDepth) {
            LeaveOut(prefix + name,
                     "albums nest deeper than " + std::to_string(kMaxAlbumDepth) + " levels");
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

// A 64-bit FNV-1a sum of the name in hexadecimal: the same for the same name, on every machine.
std::string NameSum(std::string_view name) {
    uint64_t sum = 14695981039346656037ull;
    for (const char c : name) sum = (sum ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(sum));
    return hex;
}

// A project's name for the folder: its own name, kept as it is, case and all, so that a folder
// added later never takes the project of one there before. A name too long to keep with the
// extension is cut and ends with a sum of the whole name, so that two names alike as far as the
// cut each keep their own project from one import to the next. Only a name that happens to be
// another's cut one meets it; the later one in order then gets "_2".
std::string ProjectName(std::string_view name, std::set<std::string>& taken) {
    constexpr size_t kRoom = kMaxFileNameBytes - kAlbumsExtension.size() - 8;
    std::string stem(name);
    if (stem.size() > kRoom) {
        const std::string sum = "~" + NameSum(name);
        CutToCharacter(stem, kRoom - sum.size());
        stem += sum;
    }
    std::string project = stem + std::string(kProjectExtension);
    for (int number = 2; !taken.insert(project).second; ++number)
        project = stem + "_" + std::to_string(number) + std::string(kProjectExtension);
    return project;
}

// Names each album's project, below the one of the album that holds it, where its own albums'
// projects go in a folder named after it, as the top project's do. A folder that could not be
// read keeps its name, so that its album is not taken for gone.
// A folder whose name a project cannot keep makes no album, and nor do the ones below it.
void NameProjects(std::vector<TreeFolder>& folders, size_t index, TreeImport& result) {
    std::set<std::string> taken;
    for (const size_t inner : folders[index].folders) {
        TreeFolder& folder = folders[inner];
        if (!folder.holds && !folder.unread) continue;
        folder.project = folders[index].under + ProjectName(folder.name, taken);
        if (!FitsKeyValueLine(folder.project)) {
            result.unfit.push_back(folder.path);
            folder.project.clear();
            folder.holds = folder.unread = false;
            continue;
        }
        folder.under = AlbumFolderOf(folder.project) + "/";
        NameProjects(folders, inner, result);
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
    folder.text = std::move(*text);
    ScanProjectPaths(folder.text, folder.rowPaths, folder.before);
    return true;
}

// Whether a path, or a folder's with the separator at the end, stands directly in the folder.
bool DirectlyIn(std::string_view path, std::string_view folder) {
    if (path.ends_with(kPathSeparator)) path.remove_suffix(1);
    const size_t slash = path.rfind(kPathSeparator);
    return slash != std::string_view::npos && path.substr(0, std::max<size_t>(slash, 1)) == folder;
}

// The name at the end of a path.
std::string_view NameIn(std::string_view path) {
    return path.substr(path.rfind(kPathSeparator) + 1);
}

// One folder's planning: its rows' paths from the root, and what the import brought in before,
// made into a set only when a photo or album the rows do not name asks: a tree imported before,
// with nothing changed, never asks.
struct FolderPlan {
    std::vector<std::string_view> rows;
    std::deque<std::string> madeAbsolute;
    std::unordered_set<std::string_view> listed;
    std::optional<std::unordered_set<std::string_view>> seen;
    // How many of the folder's photos the rows name.
    size_t listedPhotos = 0;
};

bool Seen(const TreeFolder& folder, FolderPlan& plan, std::string_view entry) {
    if (!plan.seen) plan.seen.emplace(folder.before.begin(), folder.before.end());
    return plan.seen->contains(entry);
}

// Its folders' albums that are new to it. One the user took out stays out, with all below it; one
// whose folder could not be read is left as it was.
void PlanAlbums(std::vector<TreeFolder>& folders, size_t index, FolderPlan& plan) {
    TreeFolder& folder = folders[index];
    for (const size_t inner : folder.folders) {
        TreeFolder& album = folders[inner];
        if (album.project.empty()) continue;
        const std::string_view entry =
            folder.albumEntries.emplace_back(album.path + kPathSeparator);
        if (album.unread) {
            if (Seen(folder, plan, entry)) folder.now.push_back(entry);
            continue;
        }
        folder.now.push_back(entry);
        if (plan.listed.contains(album.project)) continue;
        album.dropped = Seen(folder, plan, entry);
        if (album.dropped) continue;
        ImageEntry row;
        row.title = FieldHtml(album.name);
        row.imagePath = album.project;
        folder.albums.push_back(std::move(row));
    }
}

// Its photos that are new to it and are what their names say, in natural order of their names.
void PlanPhotos(FileOps& ops, TreeFolder& folder, FolderPlan& plan, TreeImport& result) {
    const bool folderFits = FitsKeyValueLine(folder.path);
    for (const std::string& path : folder.photos) {
        if (!folderFits || !FitsKeyValueLine(NameIn(path))) {
            result.unfit.push_back(path);
        } else if (plan.listed.contains(path)) {
            ++plan.listedPhotos;
            folder.now.push_back(path);
        } else if (Seen(folder, plan, path)) {
            folder.now.push_back(path);
        } else if (const std::optional<std::string> why = MediaMismatch(ops, path)) {
            result.leftOut.push_back(path + ": " + *why);
        } else {
            folder.now.push_back(path);
            folder.newPhotos.push_back(path);
        }
    }
    result.skipped += plan.listedPhotos;
    std::sort(folder.newPhotos.begin(), folder.newPhotos.end(),
              [](const std::string& a, const std::string& b) {
                  return NaturalLess(NameIn(a), NameIn(b));
              });
}

// Its rows that left the tree: photos of its own folder that are no longer there as photos, and
// albums of folders the import brought in before that are no longer there as albums.
void PlanGone(TreeFolder& folder, const FolderPlan& plan) {
    std::vector<std::string> goneAlbums;
    for (const std::string_view entry : folder.before) {
        if (!entry.ends_with(kPathSeparator) || !DirectlyIn(entry, folder.path) ||
            std::find(folder.albumEntries.begin(), folder.albumEntries.end(), entry) !=
                folder.albumEntries.end())
            continue;
        std::set<std::string> taken;
        goneAlbums.push_back(folder.under +
                             ProjectName(NameIn(entry.substr(0, entry.size() - 1)), taken));
    }
    const auto ownPhoto = [&folder](std::string_view path) {
        return IsImageFileName(NameIn(path)) && DirectlyIn(path, folder.path);
    };
    // Each row of a photo of its own names one of its photos, and each a different one: none left.
    if (goneAlbums.empty() && static_cast<size_t>(std::count_if(plan.rows.begin(), plan.rows.end(),
                                                                ownPhoto)) == plan.listedPhotos)
        return;
    const std::unordered_set<std::string_view> here(folder.photos.begin(), folder.photos.end());
    for (size_t row = 0; row < plan.rows.size(); ++row) {
        const std::string_view path = plan.rows[row];
        if ((ownPhoto(path) && !here.contains(path)) ||
            std::find(goneAlbums.begin(), goneAlbums.end(), path) != goneAlbums.end())
            folder.gone.emplace_back(folder.rowPaths[row]);
    }
}

// Whether what stands in the folder is other than what the import brought in before. What it
// brings in is kept in byte order, so that a tree imported again as it is reads the same.
void CompareMemory(TreeFolder& folder) {
    std::sort(folder.now.begin(), folder.now.end());
    std::vector<std::string_view> before;
    for (const std::string_view entry : folder.before) {
        if (DirectlyIn(entry, folder.path)) before.push_back(entry);
    }
    folder.memoryChanged = folder.now != before;
}

// What the import brought into the folder's project from now on: what it brought in from other
// folders as it was, then what stands in this one.
std::vector<std::string> Memory(const TreeFolder& folder) {
    std::vector<std::string> memory;
    for (const std::string_view entry : folder.before) {
        if (!DirectlyIn(entry, folder.path)) memory.emplace_back(entry);
    }
    memory.insert(memory.end(), folder.now.begin(), folder.now.end());
    return memory;
}

void PlanFolder(FileOps& ops, std::vector<TreeFolder>& folders, size_t index, TreeImport& result) {
    TreeFolder& folder = folders[index];
    FolderPlan plan;
    plan.rows.reserve(folder.rowPaths.size());
    for (const std::string_view row : folder.rowPaths) {
        plan.rows.push_back(
            IsPlainAbsolutePath(row)
                ? row
                : std::string_view(plan.madeAbsolute.emplace_back(AbsolutePath(row))));
    }
    plan.listed.reserve(plan.rows.size());
    plan.listed.insert(plan.rows.begin(), plan.rows.end());
    PlanAlbums(folders, index, plan);
    PlanPhotos(ops, folder, plan, result);
    PlanGone(folder, plan);
    CompareMemory(folder);
}

// Which photos and albums each album gains, and which of its rows go.
void PlanAdditions(FileOps& ops, std::vector<TreeFolder>& folders, const std::string& projectFile,
                   TreeImport& result) {
    std::set<std::string> keys = {ProjectKey(projectFile)};
    for (size_t index = 0; index < folders.size(); ++index) {
        TreeFolder& folder = folders[index];
        if (folder.dropped) {
            for (const size_t inner : folder.folders) folders[inner].dropped = true;
            continue;
        }
        if (folder.unread || (index > 0 && !folder.holds)) continue;
        folder.keep = index == 0 || ReadAlbum(ops, folder, keys, result);
        if (folder.keep) PlanFolder(ops, folders, index, result);
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

void ReportGone(const TreeFolder& folder, const std::string& project, TreeImport& result) {
    for (const std::string& path : folder.gone)
        result.takenOut.push_back(path + ": no longer in the tree, taken out of " + project);
}

// The album's project with what it gains on top, what left the tree taken out, its edits kept.
void WriteAlbum(FileOps& ops, TreeFolder& folder, TreeImport& result) {
    if (folder.existed && folder.albums.empty() && folder.photoRows.empty() &&
        folder.gone.empty() && !folder.memoryChanged)
        return;
    ProjectFields fields;
    std::vector<std::unique_ptr<ImageEntry>> rows = ParseProjectText(folder.text, fields);
    std::erase_if(rows, [&folder](const std::unique_ptr<ImageEntry>& row) {
        return std::find(folder.gone.begin(), folder.gone.end(), row->imagePath) !=
               folder.gone.end();
    });
    EntryList list;
    std::reverse(rows.begin(), rows.end());
    list.InsertTop(std::move(rows));
    std::vector<ImageEntry> gained = std::move(folder.albums);
    std::move(folder.photoRows.begin(), folder.photoRows.end(), std::back_inserter(gained));
    list.InsertTop(std::move(gained));
    MakeFoldersFor(ops, folder.project);
    const std::string text = FormatProjectText(fields.templateFile, fields.outputFolder, fields.web,
                                               list, Memory(folder));
    if (!WriteTextFile(ops, folder.project, text)) {
        result.leftOut.push_back(folder.project + ": cannot be written: " + ErrorText(errno));
        return;
    }
    ReportGone(folder, folder.project, result);
    result.albumsMade += folder.existed ? 0 : 1;
}

}  // namespace

std::string AlbumFolderOf(const std::string& projectFile) {
    const std::string name = FileNameOf(projectFile);
    const std::string folder = projectFile.substr(0, projectFile.size() - name.size());
    return folder + std::string(StemOf(name)) + std::string(kAlbumsExtension);
}

void TakeOutRows(EntryList& list, const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    const std::unordered_set<std::string_view> gone(paths.begin(), paths.end());
    for (int row = list.RowCount() - 1; row >= 0; --row) {
        if (gone.contains(list.Row(row).imagePath)) list.DeleteRow(row);
    }
}

TreeImport ImportTree(FileOps& ops, PhotoReader& photos, const std::string& tree,
                      const std::string& projectFile, const TopProject& top, bool byDate,
                      const TreeProgress& onPhoto) {
    TreeImport result;
    const std::string project = AbsolutePath(projectFile);
    std::vector<TreeFolder> folders =
        TreeWalk(ops, result).Walk(AbsolutePath(tree), AlbumFolderOf(project));
    folders[0].under = AlbumFolderOf(project) + "/";
    folders[0].rowPaths.assign(top.rows.begin(), top.rows.end());
    folders[0].before.assign(top.imported.begin(), top.imported.end());
    NameProjects(folders, 0, result);
    PlanAdditions(ops, folders, project, result);
    if (!ReadPhotos(photos, folders, byDate, onPhoto)) {
        result.stopped = true;
        return result;
    }
    for (size_t index = 1; index < folders.size(); ++index) {
        TreeFolder& folder = folders[index];
        if (!folder.keep) continue;
        result.photosAdded += static_cast<int>(folder.photoRows.size());
        WriteAlbum(ops, folder, result);
    }
    TreeFolder& root = folders[0];
    result.photosAdded += static_cast<int>(root.photoRows.size());
    result.rows = std::move(root.albums);
    std::move(root.photoRows.begin(), root.photoRows.end(), std::back_inserter(result.rows));
    ReportGone(root, projectFile, result);
    result.gone = std::move(root.gone);
    result.imported = root.keep ? Memory(root) : top.imported;
    return result;
}

}  // namespace vistello
