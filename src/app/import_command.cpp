#include "app/import_command.h"

#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/command_project.h"
#include "files/path_rules.h"
#include "files/text_file.h"
#include "project/project_file.h"
#include "site/tree_import.h"
#include "slides/entry_list.h"
#include "slides/folder_import.h"
#include "text/counts.h"
#include "text/visible_controls.h"
#include "ui/messages.h"

namespace vistello {

namespace {

// The folder's new images as slides, in name order or, asked, in the order they were taken.
std::vector<ImageEntry> NewEntries(PhotoReader& photos, const std::vector<std::string>& paths,
                                   bool byDate) {
    std::vector<ImageEntry> entries;
    std::vector<std::optional<TakenAt>> takenAt(paths.size());
    entries.reserve(paths.size());
    for (size_t i = 0; i < paths.size(); ++i)
        entries.push_back(EntryFromPhoto(photos, paths[i], byDate ? &takenAt[i] : nullptr));
    if (!byDate) return entries;
    std::vector<ImageEntry> ordered;
    ordered.reserve(entries.size());
    for (const size_t i : OldestFirst(takenAt)) ordered.push_back(std::move(entries[i]));
    return ordered;
}

// The project with what it gained, then the names it could not keep, each on its own line.
bool SaveProject(FileOps& ops, const std::string& fileName, const ProjectFields& fields,
                 const EntryList& list, const std::vector<std::string>& unfit, std::ostream& err) {
    if (!WriteTextFile(
            ops, fileName,
            FormatProjectText(fields.templateFile, fields.outputFolder, fields.web, list))) {
        err << "vistello: cannot write the project file " << fileName << "\n";
        return false;
    }
    for (const std::string& path : unfit)
        err << "vistello: " << kUnfitNameReason << " " << WithVisibleControls(path) << "\n";
    return true;
}

int ImportAlbums(FileOps& ops, PhotoReader& photos, const std::string& folder,
                 const std::string& fileName, const ProjectFields& fields, EntryList& list,
                 const std::unordered_set<std::string_view>& listed, bool byDate, std::ostream& out,
                 std::ostream& err) {
    TreeImport tree = ImportTree(ops, photos, folder, fileName, listed, byDate, {});
    list.InsertTop(std::move(tree.rows));
    if (!SaveProject(ops, fileName, fields, list, tree.unfit, err)) return 1;
    for (const std::string& line : tree.leftOut)
        err << "vistello: left out: " << WithVisibleControls(line) << "\n";
    out << CountOf(tree.albumsMade, "album") << " made, " << CountOf(tree.photosAdded, "image")
        << " added, " << CountOf(static_cast<long long>(tree.skipped), "image")
        << " already in the project skipped: " << fileName << "\n";
    return tree.leftOut.empty() ? 0 : 1;
}

}  // namespace

int RunImportCommand(FileOps& ops, PhotoReader& photos, const std::string& folder,
                     const std::string& projectFile, bool byDate, std::ostream& out,
                     std::ostream& err, bool albums) {
    const std::string fileName = CommandProjectFile(projectFile, ReadCommandPreferences(ops));
    if (!IsFolder(ops, folder)) {
        err << "vistello: cannot read the folder " << folder << "\n";
        return 1;
    }
    std::optional<std::string> text;
    if (CreateFileIfMissing(ops, fileName)) text = ReadLineFile(ops, fileName);
    if (!text) {
        err << "vistello: cannot read the project file " << fileName << "\n";
        return 1;
    }
    ProjectFields fields;
    EntryList list;
    ReadProjectRows(*text, fields, list);
    std::unordered_set<std::string_view> listed;
    for (int row = 0; row < list.RowCount(); ++row) listed.insert(list.Row(row).imagePath);
    if (albums)
        return ImportAlbums(ops, photos, folder, fileName, fields, list, listed, byDate, out, err);
    const NewImages images = NewImagesIn(ops, folder, listed);
    list.InsertTop(NewEntries(photos, images.paths, byDate));
    if (!SaveProject(ops, fileName, fields, list, images.unfit, err)) return 1;
    out << CountOf(static_cast<long long>(images.paths.size()), "image") << " added, "
        << CountOf(static_cast<long long>(images.skipped), "image")
        << " already in the project skipped: " << fileName << "\n";
    return 0;
}

}  // namespace vistello
