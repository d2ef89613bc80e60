#include "app/import_command.h"

#include <optional>
#include <string_view>
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

// The project an import adds to: its file, its text as read, and what that says.
struct ImportedProject {
    std::string fileName;
    std::string text;
    ProjectFields fields;
    EntryList list;
};

// The project with what it gained, unless it gained nothing and is as it was, then the names it
// could not keep and the files it left out, each on its own line.
bool SaveProject(FileOps& ops, const ImportedProject& project,
                 const std::vector<std::string>& unfit, const std::vector<std::string>& leftOut,
                 std::ostream& err) {
    const ProjectFields& fields = project.fields;
    const std::string text = FormatProjectText(fields.templateFile, fields.outputFolder, fields.web,
                                               project.list, fields.imported);
    if (EncodeTextMode(text) != project.text && !WriteTextFile(ops, project.fileName, text)) {
        err << "vistello: cannot write the project file " << project.fileName << "\n";
        return false;
    }
    for (const std::string& path : unfit)
        err << "vistello: " << kUnfitNameReason << " " << WithVisibleControls(path) << "\n";
    for (const std::string& line : leftOut)
        err << "vistello: left out: " << WithVisibleControls(line) << "\n";
    return true;
}

int ImportAlbums(FileOps& ops, PhotoReader& photos, const std::string& folder,
                 ImportedProject& project, bool byDate, std::ostream& out, std::ostream& err) {
    EntryList& list = project.list;
    TopProject top;
    for (int row = 0; row < list.RowCount(); ++row) top.rows.push_back(list.Row(row).imagePath);
    top.imported = std::move(project.fields.imported);
    TreeImport tree = ImportTree(ops, photos, folder, project.fileName, top, byDate, {});
    TakeOutRows(list, tree.gone);
    list.InsertTop(std::move(tree.rows));
    project.fields.imported = std::move(tree.imported);
    if (!SaveProject(ops, project, tree.unfit, tree.leftOut, err)) return 1;
    for (const std::string& line : tree.takenOut)
        out << "Taken out: " << WithVisibleControls(line) << "\n";
    out << CountOf(tree.albumsMade, "album") << " made, " << CountOf(tree.photosAdded, "image")
        << " added, " << CountOf(static_cast<long long>(tree.skipped), "image")
        << " already in the project skipped: " << project.fileName << "\n";
    return tree.leftOut.empty() ? 0 : 1;
}

}  // namespace

int RunImportCommand(FileOps& ops, PhotoReader& photos, const std::string& folder,
                     const std::string& projectFile, bool byDate, std::ostream& out,
                     std::ostream& err, bool albums) {
    ImportedProject project;
    project.fileName = CommandProjectFile(projectFile, ReadCommandPreferences(ops));
    const std::string& fileName = project.fileName;
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
    project.text = std::move(*text);
    ReadProjectRows(project.text, project.fields, project.list);
    if (albums) return ImportAlbums(ops, photos, folder, project, byDate, out, err);
    // Rows name their files from the root, so that they read the same from any folder.
    const NewImages images = NewImagesIn(ops, AbsolutePath(folder), ListedPaths(project.list));
    project.list.InsertTop(NewEntries(photos, images.paths, byDate));
    if (!SaveProject(ops, project, images.unfit, images.refused, err)) return 1;
    out << CountOf(static_cast<long long>(images.paths.size()), "image") << " added, "
        << CountOf(static_cast<long long>(images.skipped), "image")
        << " already in the project skipped: " << fileName << "\n";
    return images.refused.empty() ? 0 : 1;
}

}  // namespace vistello
