#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "files/file_ops.h"
#include "generator/site_place.h"

namespace vistello {

// One album as the last run left it.
struct MadeAlbum {
    // The project it was made from, as RecordKey gives it.
    std::string project;
    // What it was made from, and how its folder stood once it was made; empty when it did not go
    // through, so that the next run makes it again.
    std::string digest;
    std::string stamp;
    // What it told the show that holds it.
    AlbumSummary summary;
    // Whether the folder is a private album's sealed folder, which holds no record of its own.
    bool sealed = false;
};

// What the runs of a site made, kept in the top output folder for the next run: which album went
// into which folder, so that the folders of albums taken out can go, and what each was made
// from, so that an album nothing of which changed is not made again.
// Sites that share an output folder each keep their own part, by their top project's RecordKey.
class SiteRecord {
public:
    static constexpr std::string_view kFileName = ".vistello-site";

    // The part of the site `site`; the other sites' parts are kept to be written back. A record
    // that cannot be read, or is damaged, holds nothing: every album is made again.
    void Read(FileOps& ops, const std::string& outputFolder, const std::string& site);
    // This site's part as `albums` has it, with the other sites' parts as the record has them now.
    [[nodiscard]] bool Write(FileOps& ops, const std::string& outputFolder) const;

    // Whether another site's album is made in the folder.
    bool OthersHold(const std::string& folder) const;
    // Makes the part of a site that `gone` says is gone this site's, when this site has none yet
    // and that part made an album into one of `folders`: a site renamed or moved keeps its albums.
    void AdoptGone(const std::function<bool(const std::string&)>& gone,
                   const std::set<std::string>& folders);

    // By folder from the top output folder; the top's is empty.
    std::map<std::string, MadeAlbum> albums;

private:
    std::string m_site;
    std::map<std::string, std::map<std::string, MadeAlbum>> m_others;
};

// How the file stands, on one line: any change to it, or another file in its place, changes it.
std::string FileState(FileOps& ops, const std::string& path);

// How the folder and its thumbnails' folder stand: any file added, removed or replaced in either
// changes it.
std::string FolderStamp(FileOps& ops, const std::string& folder);

}  // namespace vistello
