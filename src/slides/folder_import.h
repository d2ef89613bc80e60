#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "files/file_ops.h"
#include "media/photo_reader.h"
#include "slides/entry_list.h"
#include "slides/image_entry.h"
#include "slides/image_kinds.h"

namespace vistello {

// A name the project picker would list: .dat in any case.
bool IsProjectFileName(std::string_view name);

// Orders names as people count: runs of digits compare by their value, so img2 comes before
// img10; letters compare without regard to case, and bytes break the ties.
bool NaturalLess(std::string_view a, std::string_view b);

// The full paths of the image files directly in folder, hidden ones left out, in natural order
// of their names. Nothing when the folder cannot be read.
std::vector<std::string> ImageFilesIn(FileOps& ops, const std::string& folder);

// The file name without its extension.
std::string TitleFromFileName(std::string_view name);

// The paths a list's rows name, each as AbsolutePath gives it, so that a file named two ways is
// listed once.
std::unordered_set<std::string> ListedPaths(const EntryList& rows);

// The image files of a folder that a list does not show yet (`listed` as ListedPaths gives it),
// how many it shows already, those left out because a project could not keep their paths (see
// FitsKeyValueLine): a row read back would name another file, or none; and those left out because
// their first bytes are not what their names say, each with why (see MediaMismatch).
struct NewImages {
    std::vector<std::string> paths;
    size_t skipped = 0;
    std::vector<std::string> unfit;
    std::vector<std::string> refused;
};
NewImages NewImagesIn(FileOps& ops, const std::string& folder,
                      const std::unordered_set<std::string>& listed);

// The new images among files and folders dropped on the window: each image file itself and the
// images directly in each folder, in natural order of their paths, each once. Anything else is
// left out.
NewImages DroppedImages(FileOps& ops, const std::vector<std::string>& paths,
                        const std::unordered_set<std::string>& listed);

// A slide for the image, its fields filled from the photo's own details where it has them (see
// FieldsFromDetails); the title is the file name without its extension where the photo names none.
// When asked, also when the photo was taken.
ImageEntry EntryFromPhoto(PhotoReader& photos, const std::string& path,
                          std::optional<TakenAt>* takenAt = nullptr);

}  // namespace vistello
