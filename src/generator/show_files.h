#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "files/file_ops.h"
#include "output/leftover_files.h"
#include "output/made_files.h"
#include "output/project_places.h"
#include "pictures/web_images.h"

namespace vistello {

// The files one run of Generate means to leave in the output folder, by their path from there.
struct RunFiles {
    // Each with how it stands now when the run wrote it or found it as it would write it; without,
    // when the run could not (it failed), so that what an earlier run wrote of it stays its own.
    std::map<std::string, std::optional<WrittenMark>> files;
    // Those that are not the show's to remove, though it shows them: a slide's own image.
    std::set<std::string> notOurs;
    // The files the show itself uses, whatever name leads to them: the slides' images, as the run
    // found them, and every file it leaves, which a folder that takes names differing only in case
    // for one may also show under the name an earlier run wrote.
    FileIds sources;

    // Notes the file as the run wrote it, if a regular file now stands there.
    void Written(FileOps& ops, const std::string& folder, const std::string& name);
    // The same for a file whose own details (not those of a link's target) are known.
    void Found(const std::string& name, const struct stat& info);
    void Meant(const std::string& name) { files.try_emplace(name); }
    // The plan's made files, each as made when it stands as the record says it was made.
    void Made(FileOps& ops, const std::string& folder, const WebImagePlan& plan,
              const MadeFiles& made);
};

// The project a show is saved in and its templates, which Generate never removes, nor any
// slide's image.
struct ShowFiles {
    // As RecordKey gives it.
    std::string project;
    std::string projectFile;
    std::string templateFile;
    std::string overviewTemplate;
};

// Notes in the record which files the run left for the project. A run that went through removes
// what the project wrote before for slides no longer in the show (see RemoveLeftovers), but for a
// file another project uses too, which is kept and said; one that stopped removes nothing, and
// forgets nothing either.
struct Settled {
    LeftoverOutcome leftovers;
    // Whether the record of the project's files changed, and so must be written.
    bool changed = false;
};
Settled SettleShowFiles(FileOps& ops, const std::string& folder, const ShowFiles& show,
                        RunFiles run, bool whole, OwnedFiles& owned, ProjectPlaces& places);

}  // namespace vistello
