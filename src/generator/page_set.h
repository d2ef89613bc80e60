#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_ops.h"
#include "generator/page_set_memory.h"
#include "generator/site_place.h"
#include "media/clip_maker.h"
#include "media/image_maker.h"
#include "media/photo_reader.h"
#include "prefs/tag_set.h"
#include "show/web_settings.h"
#include "slides/image_entry.h"

namespace vistello {

struct PageSetResult {
    int pages = 0;
    int pagesFailed = 0;
    // Pages that hold their new text now, whether written or found so already.
    int pagesWritten = 0;
    // The rows' photos and clips, of which `clips` are clips.
    int images = 0;
    int clips = 0;
    int imagesFailed = 0;
    // Photos published as JPEG (PNG where transparent) because not every browser shows their
    // own format.
    int converted = 0;
    // Why clips were copied as they are rather than made for every browser; empty when none was.
    std::string clipsCopied;
    // True when `onPage` answered false, which leaves the rows after that one undone; the
    // counts of failures and written pages cover the rows done.
    bool stopped = false;
    // One line per file that failed: its path and what went wrong.
    std::vector<std::string> failures;
    // Why the run failed as a whole (the image library or a report gave way); it then ends
    // stopped.
    std::string failure;
    // The page to open once the set is made: the overview page, or else the top row's page.
    std::string firstPage;
    // Files written before that the show no longer needs, its slides taken out or what is made of
    // them changed: those removed, by their paths, and
    // those kept, each with why; those that could not be removed are among the failures.
    std::vector<std::string> removed;
    std::vector<std::string> kept;
    int removalsFailed = 0;
    // Files in the folder this show did not write (the user's own, or another project's), each by
    // its path: left as they are where the show would have written, its own file named otherwise.
    std::vector<std::string> passed;
    // What the show tells a show that holds it as an album.
    AlbumSummary album;
};

// A show made ready for the web, beyond the pages and the images as they are.
struct WebShow {
    WebSettings settings;
    // The overview page's template; empty when there is to be no overview page.
    std::string overviewText;
    ImageMaker* maker = nullptr;
    // Told how many of the images to make are made; false stops the run before the next one.
    std::function<bool(int done, int total)> onImage;
    // 0 for one per core.
    int threads = 0;
    // Reads what photos say of how they were taken, for the templates that show it.
    PhotoReader* photos = nullptr;
    // Makes clips into web versions; without it clips are copied as they are.
    ClipMaker* clips = nullptr;
    // Told how many of the clips to make are made, and in percent how far the next one has
    // come; false stops the run within a second.
    std::function<bool(int done, int total, int percent)> onClip;
    // The project file the show is saved in: the output folder's record tells by it which files
    // this show wrote and which another project did. Without one, no file is noted as the show's
    // and none removed.
    std::string projectFile;
    // The page template, which, like the project file and each slide's image, is never removed.
    std::string templateFile;
    // The show's place in a site of albums; none for a show of its own.
    const SitePlace* place = nullptr;
    // Where this machine notes where projects are (see ProjectPlaces); empty to note nothing.
    std::string placesFile = {};
    // The project as the records know it, for a project whose file is not at hand; otherwise
    // made from `projectFile`.
    std::string recordKey = {};
};

inline constexpr std::string_view kOverviewPageName = "index.htm";

// Told after each row's page, whether it was written; a page that fails is also in the result.
// Answers whether the run is to go on: false stops it before the next row.
using PageDone = std::function<bool(int row, bool written)>;

// Copies every row's image into the output folder and writes one page per row beside it, each
// linked to its neighbours, rows[0] first, every tag left empty in `tags` standing for its default.
// The run goes on past every failure and counts it; an image that is already the file in the output
// folder counts as copied. Two rows may name the same image file; a second, different image of a
// name already copied is refused, not copied over the first. `outputFolder` is empty (the current
// folder) or ends with the separator; `onPage` may be empty.
//
// A second run over the same folder does only what changed: an image whose copy there has its
// size and modification time is not copied again, and a page that already holds its new text is
// not written again. What is left in the folder is the same as after a first run. With a memory
// of the last run, a page it made from the same values, untouched since, is not even built.
//
// With a web show, resized copies and thumbnails are made first, on every core, and only those
// whose source or settings changed since the run that made them; each page then shows its web
// copy. A photo that not every browser shows is made into one even without settings (see
// WebImagePlan). An overview page repeats its block for every row and links to every page, and
// every page's <<INDEX>> links to it.
//
// With a project file, the pages and made files of slides no longer in the show go once a run
// went through: those this project wrote there and no other uses, each only as it was written
// (see SettleShowFiles).
PageSetResult WritePageSet(FileOps& ops, std::span<const ImageEntry* const> rows,
                           std::string_view templateText, const TagSet& tags,
                           const std::string& outputFolder, const PageDone& onPage,
                           PageSetMemory* memory = nullptr, const WebShow* web = nullptr);

}  // namespace vistello
