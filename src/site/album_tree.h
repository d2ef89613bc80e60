#pragma once

#include <memory>
#include <set>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "files/file_ops.h"
#include "generator/generate_request.h"
#include "slides/image_entry.h"

namespace vistello {

// One show of a site, the top project or an album, with all it takes to make it.
struct SiteAlbum {
    // The project it is saved in, as its row names it.
    std::string projectFile;
    // Its row in the show that holds it; none for the top.
    const ImageEntry* row = nullptr;
    int parent = -1;
    int depth = 0;
    // Its folder from the site's output folder: empty for the top, else ending with the separator.
    std::string folder;
    // As it is made: its own template and settings, else those of the show that holds it.
    std::string templateFile;
    std::string templateText;
    std::string overviewText;
    WebSettings web;
    // Its photos and clips, top row first, and its albums by their places in the site.
    std::vector<const ImageEntry*> slides;
    std::vector<size_t> albums;
    // The rows an album's project holds; the top's rows are the request's.
    std::vector<std::unique_ptr<ImageEntry>> entries;
};

// The top project and every album below it, each after the one that holds it, and each album
// left out with why, one line each.
struct Site {
    std::vector<SiteAlbum> albums;
    std::vector<std::string> skipped;
    // The project files of the albums left out, whose folders stay as they are.
    std::vector<std::string> skippedProjects;
};

// Albums nest no deeper than this, and a site holds no more albums: a chain of projects deeper
// still, or projects that name one another over and over, are taken for a mistake.
inline constexpr int kMaxAlbumDepth = 64;
inline constexpr size_t kMaxAlbums = 20'000;

// Whether any row names a project, which makes the show a site.
bool HoldsAlbums(std::span<const ImageEntry* const> rows);

// Whether the show is made as a site (see WriteSite): one that holds albums, a private one, which
// is sealed as a private album is, or one that was private when it was last made into its output
// folder, whose seal is then taken away.
bool IsMadeAsSite(FileOps& ops, const GenerateRequest& request, const std::string& topProject);

// Whether any album of the site, the top among them, is private.
bool HoldsPrivate(const Site& site);

// The site below the top project as the request holds it. An album whose project or templates
// cannot be read, or that is no project, is left out and said; a project that holds itself,
// directly or further down, refuses the whole site with a line that names the loop. An album
// takes its parent's template and overview template when it names none, and its parent's
// settings for web copies unless it sets its own. A site's albums are shown on overview pages, so
// a top that holds albums must name an overview template.
std::variant<Site, std::string> LoadSite(FileOps& ops, const GenerateRequest& top,
                                         const std::string& topProject);

}  // namespace vistello
