#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "files/file_ops.h"
#include "media/clip_maker.h"
#include "media/image_maker.h"
#include "media/photo_reader.h"
#include "site/site_writer.h"

namespace vistello {

class Keyring;

// What the command line gives a Generate beyond its project.
struct GenerateContext {
    // Where this machine notes where projects are (see ProjectPlaces); empty to note nothing.
    std::string placesFile;
    // Asked between images, clips and pages: true once the run is to end (a signal asked it to),
    // which then stops as Cancel does in the window, with what it wrote recorded.
    std::function<bool()> stopAsked;
    // Loads the cipher of private albums when a site holds one.
    CipherLoader cipher = {};
    // Private albums: a file whose first line is the password of those the keyring holds no
    // secret for, and the desktop's keyring, read first and never written (none reads none).
    std::string albumPasswordFile = {};
    Keyring* keyring = nullptr;
};

// Writes the pages of a project as the window's Generate does, without a window: the project
// file given, or the one vistello.ini in the current folder names, read with the tags that
// vistello.ini holds. Every failure is a line on err; a summary line ends the run. Returns the
// exit status: 0 when every page was written and every image copied, 1 otherwise. With
// showProgress, err also carries a one-line count of images, then pages, that rewrites itself,
// for a terminal. A run stopped on request ends with 1 and says so. Web copies and thumbnails are
// made with images; what photos say of how they were taken is read with photos, and web versions of
// clips made with clips.
int RunGenerateCommand(FileOps& ops, ImageMaker& images, PhotoReader& photos, ClipMaker& clips,
                       const std::string& projectFile, std::ostream& out, std::ostream& err,
                       bool showProgress = false, const GenerateContext& context = {});

}  // namespace vistello
