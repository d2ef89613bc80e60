#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "show/web_settings.h"
#include "slides/image_entry.h"

namespace vistello {

class EntryList;

inline constexpr const char* kDefaultProjectFile = "vistello.dat";
// The file a setting names, or the default while it names none.
std::string ProjectFileOrDefault(std::string_view setting);

// The window's state that a project file sets: the project settings and the page fields, which
// stage every entry on its way in.
struct ProjectFields {
    std::string templateFile;
    std::string outputFolder;
    WebSettings web;
    ImageEntry page;
    // What imports of folder trees brought into the project, still there when they last looked:
    // photos by their paths, folders by theirs with a separator at the end. A row the user took
    // out is not brought back while its file or folder stays named here.
    std::vector<std::string> imported;
};

// The file's text (line ends as LF) for the settings and every row, bottom row first, so that a
// reader inserting each entry at the top restores the order shown. What imports brought in is
// written only when there is some, so that other projects stay as they were.
std::string FormatProjectText(std::string_view templateFile, std::string_view outputFolder,
                              const WebSettings& web, const EntryList& rows,
                              const std::vector<std::string>& imported = {});

// True when the text is empty or holds at least one line of a project's own keys, so that a
// file of some other kind is not taken for a project and written over.
bool HoldsProject(std::string_view text);

// The paths a project's rows name and what imports brought into it, in the order the text has
// them, as views into the text: what ParseProjectText would give, without reading every row whole.
void ScanProjectPaths(std::string_view text, std::vector<std::string_view>& images,
                      std::vector<std::string_view>& imported);

// Reads a project's text into fields, which start as the window holds them, but for what imports
// brought in, which is the file's alone. Every IMAGE line ends
// the pending entry, and so does the end of the text; a pending entry with an empty image is no
// entry. A key that a block leaves out keeps the block before's value. Returns the entries in the
// order read, each already in the place a list row keeps it.
std::vector<std::unique_ptr<ImageEntry>> ParseProjectText(std::string_view text,
                                                          ProjectFields& fields);

}  // namespace vistello
