#pragma once

#include <map>
#include <string>

#include "files/file_ops.h"

namespace vistello {

// Where this machine last saw each project that wrote into an output folder, by its RecordKey.
// Kept outside every output folder, which names projects by digest only, so that a run can tell a
// project that is gone (renamed, moved or deleted) from one that is merely elsewhere.
class ProjectPlaces {
public:
    // An empty file name keeps nothing: every project then counts as present.
    ProjectPlaces(FileOps& ops, std::string file);

    // Notes the project's file under its key, and writes the places at once when that is news.
    // False when they could not be written.
    bool Note(const std::string& projectFile);
    // The project's file as last noted here, if it was.
    const std::string* PathOf(const std::string& key) const;
    // Whether the project is known here and its file is no longer where it was.
    bool Gone(const std::string& key);

private:
    FileOps& m_ops;
    std::string m_file;
    std::map<std::string, std::string> m_places;
    std::map<std::string, bool> m_gone;
};

}  // namespace vistello
