#pragma once

#include <functional>
#include <string>
#include <vector>

#include "files/file_ops.h"
#include "generator/page_set.h"
#include "media/album_cipher.h"
#include "pictures/web_clips.h"
#include "prefs/tag_set.h"
#include "private/album_secret.h"
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
    // Why there is no cipher, said of each private album left out for want of one.
    std::string cipherFailure;
    // Where private albums are made before they are sealed (see StagingFolder); empty for the
    // user's cache folder (see PrivateCacheFolder).
    std::string privateFolder;
};

// The cipher library, loaded when a site first needs it: nothing, with why in `failure`, when it
// cannot be.
using CipherLoader = std::function<AlbumCipher*(std::string& failure)>;

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
//
// A private album, and every album below it, is made into its staging folder instead, then sealed
// (see SealAlbum) into a folder named by its key beside the albums of the one that holds it, or
// into the output folder itself for a private top. Its key is the secret's, else the one the
// password opens from the album as published, else a new one; an album whose password does not
// open it as published, or that has no secret or no cipher, is left out. The overview above shows
// it as a lock, with its title only where it chose to show it, and takes nothing from it; no
// record in the output folder names anything in it.
SiteResult WriteSite(FileOps& ops, const Site& site, const TagSet& tags,
                     const std::string& outputFolder, const SiteTools& tools);

}  // namespace vistello
