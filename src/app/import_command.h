#pragma once

#include <ostream>
#include <string>

#include "files/file_ops.h"
#include "media/photo_reader.h"

namespace vistello {

// Adds the images of a folder to a project as the window's Import Directory does, without a
// window: the project file given, or the one vistello.ini in the current folder names; a project
// that does not exist yet is made. The project is written atomically. A summary line goes to
// out; a failure is a line on err. Returns the exit status: 0 when the project was written, 1
// when the folder or the project could not be read or written, or a file was left out. byDate
// adds the images in the order they were taken (see OldestFirst) rather than by name. Rows name
// their files from the root.
// With albums, every folder below the one named that holds images becomes an album (see
// ImportTree), and the exit status is 1 also when a folder or an album was left out; each row
// taken out since its file left the tree is a line on out.
int RunImportCommand(FileOps& ops, PhotoReader& photos, const std::string& folder,
                     const std::string& projectFile, bool byDate, std::ostream& out,
                     std::ostream& err, bool albums = false);

}  // namespace vistello
