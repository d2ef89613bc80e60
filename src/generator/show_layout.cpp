#include "generator/show_layout.h"

#include <filesystem>
#include <map>

#include "files/path_rules.h"
#include "files/unique_names.h"
#include "generator/page_names.h"
#include "generator/page_set_writer.h"
#include "output/owned_files.h"
#include "pictures/web_clips.h"

namespace vistello {

namespace {

// An image copied as it is keeps its own name unless a file the show may not write over has it;
// each source keeps one name however many rows show it.
std::vector<std::string> PlainImageNames(std::span<const ImageEntry* const> rows,
                                         const NameTaken& taken) {
    UniqueNames names;
    std::map<std::string, std::string> given;
    std::vector<std::string> result;
    for (const ImageEntry* row : rows) {
        const std::string own = FileNameOf(row->imagePath);
        auto [name, added] = given.try_emplace(row->imagePath, own);
        if (added && taken(own, &row->imagePath)) {
            const std::string_view stem = StemOf(own);
            name->second =
                names.Claim(stem, std::string_view(own).substr(stem.size()),
                            [&taken](const std::string& other) { return !taken(other, nullptr); });
        }
        result.push_back(name->second);
    }
    return result;
}

}  // namespace

std::vector<std::string> ShowFilesIn(const WebShow* web, const std::string& outputFolder) {
    std::vector<std::string> names;
    if (!web) return names;
    const std::filesystem::path folder = ProjectKey(outputFolder.empty() ? "." : outputFolder);
    for (const std::string* file : ShowFilePaths(*web)) {
        if (file->empty()) continue;
        const std::filesystem::path path = ProjectKey(*file);
        if (path.parent_path() == folder) names.push_back(path.filename().string());
    }
    return names;
}

ShowLayout LayOut(std::span<const ImageEntry* const> rows, const std::optional<WebImagePlan>& plan,
                  std::vector<Picture> pictures, bool overview,
                  std::span<const std::string> showFiles, const NameTaken& taken) {
    ShowLayout layout;
    std::vector<std::string_view> titles;
    for (const ImageEntry* row : rows) titles.push_back(row->title);
    if (plan) {
        for (size_t row = 0; row < rows.size(); ++row)
            layout.imageNames.push_back(plan->OfRow(row).name);
    } else {
        layout.imageNames = PlainImageNames(rows, taken);
    }
    std::vector<std::string> claimed = layout.imageNames;
    claimed.insert(claimed.end(), showFiles.begin(), showFiles.end());
    if (overview) claimed.emplace_back(kOverviewPageName);
    layout.pageNames = PageFileNames(
        titles, claimed, [&taken](const std::string& name) { return taken(name, nullptr); });
    if (overview) layout.index = EncodeLinkTarget(kOverviewPageName);
    // Without a photo reader or an image library the photos say nothing and the pictures are
    // the images as named.
    layout.pictures = std::move(pictures);
    if (layout.pictures.empty()) {
        for (const std::string& name : layout.imageNames)
            layout.pictures.push_back(PlainPicture(name));
    }
    if (plan) {
        layout.shown.reserve(rows.size());
        for (size_t row = 0; row < rows.size(); ++row) {
            layout.shown.push_back(*rows[row]);
            layout.shown.back().imagePath = layout.imageNames[row];
        }
    }
    return layout;
}

std::vector<std::string> FilesOfRun(const ShowLayout& layout, bool overview,
                                    const std::optional<WebImagePlan>& plan) {
    std::vector<std::string> files = layout.pageNames;
    files.insert(files.end(), layout.imageNames.begin(), layout.imageNames.end());
    if (overview) files.emplace_back(kOverviewPageName);
    if (!plan) return files;
    for (const PlannedJob& planned : plan->jobs) {
        files.push_back(planned.job.target);
        for (const ImageOutput& output : planned.job.more) files.push_back(output.target);
    }
    const std::vector<std::string> clips = ClipFiles(*plan);
    files.insert(files.end(), clips.begin(), clips.end());
    return files;
}

}  // namespace vistello
