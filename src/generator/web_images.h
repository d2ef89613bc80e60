#pragma once

#include <sys/stat.h>

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/file_ops.h"
#include "generator/image_maker.h"
#include "generator/made_images.h"
#include "show/web_settings.h"
#include "slides/image_entry.h"

namespace vistello {

inline constexpr std::string_view kThumbnailFolder = "thumbs/";

// What a run publishes of each row's image. A web copy is a JPEG, or a PNG where the image is
// transparent, named after the image and told apart from every other image by "_2", "_3" ...;
// a GIF, an image the library cannot read and, while web copies are off, every image that
// browsers show are copied as they are, under their own names. A photo that not every browser
// shows (TIFF, HEIC) is published as a web copy of its full size while web copies are off.
// Thumbnails lie in their own folder, named after the image they show.
struct WebImagePlan {
    // Per row: the file name in the output folder that the page shows.
    std::vector<std::string> names;
    // Per row: the thumbnail's path from the output folder, or empty.
    std::vector<std::string> thumbnails;
    // Per row: whether the image is copied as it is.
    std::vector<bool> copied;
    // Each file to make once, targets relative to the output folder, and its source as it was
    // found.
    std::vector<ImageJob> jobs;
    std::vector<struct stat> jobSources;
    // Every source the rows name, each by the path that first named it, and per row its place
    // there.
    std::vector<std::string> sources;
    std::vector<size_t> rowSources;
    // How many sources are published in another format than their own, for browsers to show.
    int converted = 0;
};

// Whether anything may be made of the image: with the settings at rest, only of a photo that
// browsers cannot show.
bool MayMakeImageOf(const WebSettings& settings, const std::string& path);

// Told how many of how many images are examined, then made; false stops the run.
using ImagesDone = std::function<bool(int done, int total)>;

// Nothing when onImage asked to stop while the images were examined, or when examining failed
// altogether, and then `failure` says why.
std::optional<WebImagePlan> PlanWebImages(FileOps& ops, ImageMaker& maker,
                                          std::span<const ImageEntry* const> rows,
                                          const WebSettings& settings, const std::string& folder,
                                          MadeImages& made, int threads, const ImagesDone& onImage,
                                          std::string& failure);

struct MadeResult {
    // The sources of which some file could not be made, each with what went wrong.
    std::map<std::string, std::string> failed;
    bool stopped = false;
    // Why the run ended early, when it was not told to stop.
    std::string failure;
};

// Makes the plan's files that are not already in the folder as made before, on `threads`
// threads, each written as pages are (see WriteFileIfChanged). Each file appears whole or not at
// all. onImage(done, total) is told as files are
// made and may answer false to stop before the next one.
MadeResult MakeWebImages(FileOps& ops, ImageMaker& maker, const WebImagePlan& plan,
                         const std::string& folder, MadeImages& made, int threads,
                         const ImagesDone& onImage);

}  // namespace vistello
