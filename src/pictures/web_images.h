#pragma once

#include <sys/stat.h>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/file_ops.h"
#include "media/clip_maker.h"
#include "media/image_maker.h"
#include "output/made_files.h"
#include "show/web_settings.h"
#include "slides/image_entry.h"
#include "slides/slide_kind.h"

namespace vistello {

inline constexpr std::string_view kThumbnailFolder = "thumbs/";

// The widths of the smaller copies a picture element offers beside the web copy, whether the
// photo is wide or tall, as a browser picks the narrowest copy at least as wide as the picture
// shows in device pixels. Each is just wide enough for a kind of screen, so that none is sent a
// copy much larger than it shows: 750 for a phone of 360 to 375 pixels at twice the density, and
// for a tall photo on a phone held sideways; 1125 for phones of 360 to 412 pixels at 2.6 to 3
// times (1071 to 1125); 1290 for those of 390 to 430 at 3 times; 1600 for a desktop window; 480
// for small windows.
inline constexpr std::array<int, 5> kLadderWidths = {480, 750, 1125, 1290, 1600};

// What the templates of a show ask of its pictures beyond the settings.
struct PictureNeeds {
    // Each web copy also at the smaller sides and in WebP (and AVIF where the settings say).
    bool ladder = false;
    // Each thumbnail also at twice its side, for sharp phone screens.
    bool doubleThumbnails = false;
    // The pixel size of every picture published.
    bool sizes = false;

    bool Any() const { return ladder || doubleThumbnails || sizes; }
};

// A clip to publish: its web version, its poster and, with thumbnails, the poster's thumbnail,
// each by its path from the output folder.
struct ClipPlan {
    ClipJob job;
    struct stat source {};
    std::string video;
    std::string poster;
    std::string thumbnail;
};

// A file to make once, its targets relative to the output folder, and its source as it was found.
struct PlannedJob {
    ImageJob job;
    struct stat source {};
    // A GIF published as it is but for the text it carries (see GifWithoutText), not decoded.
    bool gif = false;
};

// What a run publishes of one source, whichever rows name it.
struct PlannedSource {
    // The path that first named it.
    std::string path;
    // What the library says of it; nothing when it cannot read it.
    std::optional<ImageFacts> facts;
    // The file name in the output folder that its pages show.
    std::string name;
    // The thumbnail's path from the output folder, or empty.
    std::string thumbnail;
    bool copied = false;
    // Its web copy's and its thumbnail's places in the plan's jobs, and its place among the
    // plan's clips; -1 for none.
    int copyJob = -1;
    int thumbnailJob = -1;
    int clip = -1;
    // Where the thumbnail and its twins begin among the more files of the web copy's job, when
    // they are made from the copy's decode; -1 when the thumbnail is its job's own file.
    int thumbnailFrom = -1;
};

// What a run publishes of each row's image. A web copy is a JPEG, or a PNG where the image is
// transparent, named after the image and told apart from every other image by "_2", "_3" ...;
// a GIF, an image the library cannot read and, while web copies are off, every image that
// browsers show are copied as they are, under their own names. With web copies on, a GIF loses
// the text it carries unless the camera's details are kept, under its own name where that does
// not replace an original. A photo that not every browser
// shows (TIFF, HEIC) is published as a web copy of its full size while web copies are off.
// Thumbnails lie in their own folder, named after the image they show.
struct WebImagePlan {
    // Every source the rows name, each once, in the order rows first name it; per row its place
    // there.
    std::vector<PlannedSource> sources;
    std::vector<size_t> rowSources;
    std::vector<PlannedJob> jobs;
    std::vector<ClipPlan> clips;
    // How many sources are published in another format than their own, for browsers to show.
    int converted = 0;
    // Whether the pages need every picture's pixel size, so that a file made without it is made
    // again.
    bool sized = false;
    // Why clips are copied as they are, when some are; empty otherwise.
    std::string clipsCopied;
    // The picture that stands for a clip copied as it is on the overview, by its path from the
    // output folder; empty when no clip is copied.
    std::string clipSign;
    // What earlier runs made of sources still in the show that this run makes nothing of (a
    // photo that is missing or cannot be read now, a clip while the video tools are missing):
    // it stays as it is, theirs still.
    std::vector<std::string> resting;

    const PlannedSource& OfRow(size_t row) const { return sources[rowSources[row]]; }
};

// One published file of a picture, by its path from the output folder; a size of 0 where it is
// not known.
struct PictureFile {
    std::string path;
    int width = 0;
    int height = 0;
};

// A row's picture as the tags that write elements show it.
struct Picture {
    PictureFile image;
    // The image's smaller copies in its own format, then the image; the same sizes in WebP and in
    // AVIF. Smallest first; empty where none were made.
    std::vector<PictureFile> ladder;
    std::vector<PictureFile> webp;
    std::vector<PictureFile> avif;
    // The image itself when there are no thumbnails.
    PictureFile thumbnail;
    // Twice as sharp, and both in WebP; empty where none was made.
    PictureFile doubleThumbnail;
    PictureFile webpThumbnail;
    PictureFile doubleWebpThumbnail;
    // A clip's poster; empty for a photo, and for a clip copied as it is.
    PictureFile poster;
    SlideKind kind = SlideKind::Photo;
};

// Whether anything may be made of the image: with the settings at rest, only of a photo that
// browsers cannot show, or of a clip.
bool MayMakeImageOf(const WebSettings& settings, const std::string& path);

// Told how many of how many images are examined, then made; false stops the run.
using ImagesDone = std::function<bool(int done, int total)>;

// Nothing when onImage asked to stop while the images were examined, or when examining failed
// altogether, and then `failure` says why.
// Clips are made with `clips` where it can; without it, or when it cannot, they are copied as
// they are.
std::optional<WebImagePlan> PlanWebImages(FileOps& ops, ImageMaker& maker, ClipMaker* clips,
                                          std::span<const ImageEntry* const> rows,
                                          const WebSettings& settings, const PictureNeeds& needs,
                                          const std::string& folder, MadeFiles& made, int threads,
                                          const ImagesDone& onImage, std::string& failure);

// A picture that is the image as named and nothing more, its size not known.
Picture PlainPicture(const std::string& path);

// Per row, its picture as the plan and the made files (with their sizes) say.
std::vector<Picture> PicturesOf(const WebImagePlan& plan, const MadeFiles& made);

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
                         const std::string& folder, MadeFiles& made, int threads,
                         const ImagesDone& onImage);

}  // namespace vistello
