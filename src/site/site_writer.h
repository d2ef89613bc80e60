#pragma once

#include <functional>
#include <string>
#include <vector>

#include "files/file_ops.h"
#include "generator/page_set.h"
#include "media/album_cipher.h"
#include "pictures/web_clips.h"
#include "private/album_secret.h"
#include "prefs/tag_set.h"
#include "site/album_tree.h"

namespace vistello {

// What a site is made with; the window and the command line give the same.
struct SiteTools {
    ImageMaker* images = nullptr;
    PhotoReader* photos = nullptr;
    ClipMaker* clips = nullptr;
    // Told before each album is made, the top last, counting from 1, with how many slides it
    // holds; false stops the run.
    std::function<bool(int album, int albums, int slides)> onAlbum;
    ImagesDone onImage;
    ClipsDone onClip;
    PageDone onPage;
    // The top show's memory of its last run; albums are made without one.
    PageSetMemory* memory = nullptr;
    // Where this machine notes where projects are (see ProjectPlaces); empty to note nothing.
    std::string placesFile;
    // Private albums: the cipher that seals them, where their secrets come from, and who keeps
    // the secret once an album is made. A site with a private album and no cipher leaves it out.
    AlbumCipher* cipher = nullptr;
    SecretSource secretFor;
    SecretKept onSecret;
};

// The whole site: each album's counts added up, and the albums left out with why.
struct SiteResult {
    PageSetResult pages;
    int albums = 0;
    std::vector<std::string> skipped;
};

// Makes every album of the site into its folder below the output folder, one after another, each
// as a show of its own (see WritePageSet) that leads up to the one that holds it, then the top,
// whose overview shows its albums. An album is made before the one that holds it, which shows
// its cover, how many photos and clips it holds and when they were taken. Stops where an album's
// run stopped.
SiteResult WriteSite(FileOps& ops, const Site& site, const TagSet& tags,
                     const std::string& outputFolder, const SiteTools& tools);

}  // namespace vistello
