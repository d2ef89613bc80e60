#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "generator/page_set.h"
#include "generator/picture_tags.h"
#include "pictures/web_images.h"
#include "slides/image_entry.h"

namespace vistello {

// What the run's pages are made of once the pictures are known: per row the image's name in the
// folder, its page's name and its picture, and the row as its page shows it.
struct ShowLayout {
    std::vector<std::string> imageNames;
    std::vector<std::string> pageNames;
    // The overview page's address, or empty.
    std::string index;
    std::vector<Picture> pictures;
    // With a plan, each row with the image named as published.
    std::vector<ImageEntry> shown;

    const ImageEntry* Row(std::span<const ImageEntry* const> rows, size_t row) const {
        return shown.empty() ? rows[row] : &shown[row];
    }
};

// The names of the project's own files, its project file and templates, that lie in the output
// folder itself: no page may take one and write over it.
std::vector<std::string> ShowFilesIn(const WebShow* web, const std::string& outputFolder);

// Whether the run may not write at a name in the output folder, for a source or any file (see
// MadeFiles::Taken).
using NameTaken = std::function<bool(const std::string& name, const std::string* source)>;

// The names and pictures of the run's pages: images named as the plan has them, or as the
// rows do where a file the show may not write over has none; pages after their titles.
ShowLayout LayOut(std::span<const ImageEntry* const> rows, const std::optional<WebImagePlan>& plan,
                  std::vector<Picture> pictures, bool overview,
                  std::span<const std::string> showFiles, const NameTaken& taken);

// Every file the run writes or made: pages, copies and what was made of the photos and clips.
std::vector<std::string> FilesOfRun(const ShowLayout& layout, bool overview,
                                    const std::optional<WebImagePlan>& plan);

}  // namespace vistello
